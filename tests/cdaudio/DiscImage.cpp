#include "tests/cdaudio/DiscImage.h"

#include <QFile>
#include <QProcess>

namespace {

QString Msf(int seconds)
{
    return QStringLiteral("%1:%2:00").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds)
{
    return MakeDiscImage(folder, name, trackSeconds, {});
}

QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds,
    const DiscImageLayout& layout)
{
    const QString binName = layout.binName.isEmpty() ? name + QStringLiteral(".bin") : layout.binName;
    const QString bin = folder + QLatin1Char('/') + binName;
    const QString cue = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    QFile binFile(bin);
    if (!binFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    QString sheet = QStringLiteral("FILE \"%1\" BINARY\n").arg(binName);
    int startSeconds = 0;
    int trackNumber = 1;
    if (layout.dataSeconds > 0) {
        binFile.write(QByteArray(layout.dataSeconds * 75 * 2352, '\x5a'));
        sheet += QStringLiteral("  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n");
        startSeconds = layout.dataSeconds;
        trackNumber = 2;
    }
    for (std::size_t i = 0; i < trackSeconds.size(); ++i, ++trackNumber) {
        const QString raw = folder + QStringLiteral("/track.raw");
        const int rc = QProcess::execute(QStringLiteral("sox"),
            {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-b"),
                QStringLiteral("16"), QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-e"),
                QStringLiteral("signed-integer"), QStringLiteral("-L"), QStringLiteral("-t"), QStringLiteral("raw"),
                raw, QStringLiteral("synth"), QString::number(trackSeconds[i]), QStringLiteral("sine"),
                QString::number(300 + 100 * i), QStringLiteral("vol"), QStringLiteral("0.2")});
        QFile track(raw);
        if (rc != 0 || !track.open(QIODevice::ReadOnly)) return {};
        QByteArray data = track.readAll();
        data.resize(trackSeconds[i] * 44100 * 4, '\0'); // whole sectors: 75 of 2352 bytes a second
        binFile.write(data);
        sheet += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2\n")
                     .arg(trackNumber, 2, 10, QLatin1Char('0'))
                     .arg(Msf(startSeconds));
        startSeconds += trackSeconds[i];
        track.remove();
    }
    binFile.close();
    QFile cueFile(cue);
    if (!cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    cueFile.write(sheet.toUtf8());
    return cue;
}

std::vector<QByteArray> UntrustworthySheets(const QString& binName)
{
    const QByteArray file = "FILE \"" + binName.toUtf8() + "\" BINARY\n";
    return {
        file + "  TRACK 01 AUDIO\n",
        file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:03:00\n",
        file + "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n"
               "  TRACK 03 AUDIO\n    INDEX 01 20:00:00\n",
        file + "  TRACK 73 AUDIO\n",
        file + "  TRACK 99 AUDIO\n",
        file + "  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n",
    };
}

double ToneFrequency(const QByteArray& pcm, int sampleRate)
{
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype frames = pcm.size() / 4;
    if (frames < 2) return 0;
    int crossings = 0;
    for (qsizetype i = 1; i < frames; ++i)
        if ((samples[2 * (i - 1)] < 0) != (samples[2 * i] < 0)) ++crossings;
    return crossings / 2.0 * sampleRate / static_cast<double>(frames);
}
