#include "tests/cdaudio/DiscImage.h"

#include <QFile>
#include <QProcess>

QString MakeDiscImage(const QString& folder, const QString& name, const std::vector<int>& trackSeconds)
{
    const QString bin = folder + QLatin1Char('/') + name + QStringLiteral(".bin");
    const QString cue = folder + QLatin1Char('/') + name + QStringLiteral(".cue");
    QFile binFile(bin);
    if (!binFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    QString sheet = QStringLiteral("FILE \"%1.bin\" BINARY\n").arg(name);
    int startSeconds = 0;
    for (std::size_t i = 0; i < trackSeconds.size(); ++i) {
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
        sheet += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2:%3:00\n")
                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                     .arg(startSeconds / 60, 2, 10, QLatin1Char('0'))
                     .arg(startSeconds % 60, 2, 10, QLatin1Char('0'));
        startSeconds += trackSeconds[i];
        track.remove();
    }
    binFile.close();
    QFile cueFile(cue);
    if (!cueFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    cueFile.write(sheet.toUtf8());
    return cue;
}
