// Extraction speed of the CD ripper: every track of a ten-minute disc image to WAV and to MP3, as a
// multiple of real time, beside the MP3 encoder alone on the same audio and, where it can read the
// image, the command-line paranoia reader. There is no goal: the figures are for comparison
// between versions and with the tools.
#include "components/cdripper/CDRipperX.h"
#include "components/encoders/MP3EncoderX.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int Tracks = 10;
constexpr int TrackSeconds = 60;

bool MakeImage(const QString& folder)
{
    QFile bin(folder + "/disc.bin");
    QFile cue(folder + "/disc.cue");
    if (!bin.open(QIODevice::WriteOnly) || !cue.open(QIODevice::WriteOnly)) return false;
    QString sheet = "FILE \"disc.bin\" BINARY\n";
    for (int t = 0; t < Tracks; ++t) {
        const QString raw = folder + "/t.raw";
        if (QProcess::execute("sox", {"-n", "-r", "44100", "-b", "16", "-c", "2", "-e", "signed-integer", "-L", "-t", "raw", raw,
                "synth", QString::number(TrackSeconds), "pinknoise", "vol", "0.3"}) != 0)
            return false;
        QFile part(raw);
        if (!part.open(QIODevice::ReadOnly)) return false;
        bin.write(part.readAll());
        const int start = t * TrackSeconds;
        sheet += QString("  TRACK %1 AUDIO\n    INDEX 01 %2:%3:00\n")
                     .arg(t + 1, 2, 10, QChar('0'))
                     .arg(start / 60, 2, 10, QChar('0'))
                     .arg(start % 60, 2, 10, QChar('0'));
    }
    cue.write(sheet.toUtf8());
    return true;
}

double Rip(CDRipperX& ripper, const QString& folder, const QString& ext)
{
    ripper.ClearRipList();
    for (int t = 1; t <= ripper.TrackCount(); ++t)
        ripper.AddRipTrack(t, QString("%1/rip%2%3").arg(folder).arg(t).arg(ext), t);
    QEventLoop loop;
    QObject::connect(&ripper, &CDRipperX::RipCompleted, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    if (!ripper.StartRip()) return 0;
    loop.exec();
    return clock.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!MakeImage(dir.path())) {
        std::fprintf(stderr, "rip_bench: sox could not make the disc image\n");
        return 1;
    }
    qputenv("TESSEL_CDROM", (dir.path() + "/disc.cue").toLocal8Bit());
    const double audio = Tracks * TrackSeconds;
    std::printf("disc image: %d tracks, %.0f s of audio\n", Tracks, audio);

    CDRipperX ripper;
    ripper.OpenDevice(0);
    const double wav = Rip(ripper, dir.path(), ".wav");
    std::printf("extract to WAV:          %6.2f s  %6.1fx real time\n", wav, audio / wav);

    MP3EncoderX mp3;
    ripper.SetEncoder(&mp3);
    ripper.setUseEncoder(true);
    const double ripMp3 = Rip(ripper, dir.path(), ".mp3");
    std::printf("extract to MP3:          %6.2f s  %6.1fx real time\n", ripMp3, audio / ripMp3);

    // The encoder alone on the same audio: the WAV files just written, one after the other.
    QElapsedTimer clock;
    clock.start();
    for (int t = 1; t <= Tracks; ++t) {
        QEventLoop loop;
        QObject::connect(&mp3, &MP3EncoderX::EncodeStatus, &loop, [&loop](int, int status) {
            if (status != 0 && status != 4) loop.quit();
        });
        if (!mp3.EncodeFile(QString("%1/rip%2.wav").arg(dir.path()).arg(t), QString("%1/enc%2.mp3").arg(dir.path()).arg(t)))
            break;
        loop.exec();
    }
    const double encodeOnly = clock.elapsed() / 1000.0;
    std::printf("MP3 encoder alone:       %6.2f s  %6.1fx real time  (ripping to MP3 takes %.2fx its time)\n", encodeOnly,
        audio / encodeOnly, ripMp3 / encodeOnly);

    // The command-line reader, where it reads images (libcdio's cd-paranoia does; cdparanoia itself
    // only reads drives).
    for (const QString& tool : {QString("cd-paranoia"), QString("cdparanoia")}) {
        clock.restart();
        const int rc = QProcess::execute(tool, {"-q", "-d", dir.path() + "/disc.cue", "1-", dir.path() + "/ref.wav"});
        if (rc == 0)
            std::printf("%-24s %6.2f s  %6.1fx real time\n", (tool + ":").toUtf8().constData(), clock.elapsed() / 1000.0,
                audio / (clock.elapsed() / 1000.0));
        else
            std::printf("%-24s cannot read a disc image here\n", (tool + ":").toUtf8().constData());
    }
    std::printf("(no goal set: figures for comparison between versions and with the tools)\n");
    return 0;
}
