// The three encoders against the reference command-line encoders at equal settings, on one
// minute of 44.1 kHz stereo sound: the wall time of each, best of three, and their ratio.
// Goal: every ratio (ours / reference) at most 1.1.
// Neither side counts its start-up: ours is timed from the call that starts the encoding, with
// the encoder already made; each tool's time is less its own start-up, taken as the best time of
// the same command on a WAV file of a hundredth of a second.
//
// Usage: encoder_bench [wav]   (without a file, one is made with the ffmpeg tool)
#include "components/encoders/MP3EncoderX.h"
#include "components/encoders/VorbisEncoderX.h"
#include "components/encoders/WMAEncoderX.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int Runs = 3;

double Best(const std::function<double()>& run)
{
    double best = 1e9;
    for (int i = 0; i < Runs; ++i)
        best = std::min(best, run());
    return best;
}

// Seconds from EncodeFile until the encoder reports the file complete; negative on failure.
double Ours(AudioEncoder& encoder, const QString& input, const QString& output)
{
    QEventLoop loop;
    bool complete = false;
    QObject::connect(&encoder, &AudioEncoder::EncodeStatus, &loop, [&](int, int status) {
        if (status == 1 || status == 2 || status == 3) {
            complete = status == 1;
            loop.quit();
        }
    });
    QElapsedTimer clock;
    clock.start();
    if (!encoder.EncodeFile(input, output)) return -1;
    loop.exec();
    return complete ? clock.nsecsElapsed() / 1e9 : -1;
}

double Tool(const QString& program, const QStringList& arguments)
{
    QElapsedTimer clock;
    clock.start();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), process.readAllStandardError().constData());
        return -1;
    }
    return clock.nsecsElapsed() / 1e9;
}

void Report(const char* name, double ours, double reference, double startUp, const char* tool)
{
    const double ratio = ours / reference;
    std::printf("%-7s ours %6.3f s   %-28s %6.3f s (start-up %.3f s left out)   ratio %.2f   goal <= 1.10   %s\n",
        name, ours, tool, reference, startUp, ratio, ratio <= 1.1 ? "goal met" : "goal missed");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString wav = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath("minute.wav");
    if (argc <= 1) {
        // Two drifting tones over soft noise, a different mix on each side: enough detail that the
        // encoders have real work to do.
        const QString left = "0.3*sin(2*PI*440*t)+0.2*sin(2*PI*(1000+500*sin(t))*t)+0.05*(random(0)-0.5)";
        const QString right = "0.3*sin(2*PI*660*t)+0.2*sin(2*PI*(3000+800*sin(2*t))*t)+0.05*(random(1)-0.5)";
        if (Tool("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                "aevalsrc=" + left + "|" + right + ":s=44100:d=60", "-c:a", "pcm_s16le", wav})
            < 0)
            return 1;
    }
    const QString out = dir.filePath("out");
    // A hundredth of a second of the same format: what each tool takes to start and finish.
    const QString blip = dir.filePath("blip.wav");
    if (Tool("ffmpeg", {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "anullsrc=r=44100:cl=stereo", "-t", "0.01",
            "-c:a", "pcm_s16le", blip})
        < 0)
        return 1;

    MP3EncoderX mp3; // 128 kb/s constant, joint stereo, normal quality
    const double mp3Ours = Best([&] { return Ours(mp3, wav, out + ".mp3"); });
    const auto lame = [&](const QString& input, const QString& output) {
        return Tool("lame", {"--quiet", "-b", "128", "-m", "j", "-q", "5", input, output});
    };
    const double mp3Start = Best([&] { return lame(blip, out + "-blip.mp3"); });
    const double mp3Ref = Best([&] { return lame(wav, out + "-ref.mp3"); }) - mp3Start;

    VorbisEncoderX vorbis;
    vorbis.setNominalBitrate(128);
    const double oggOurs = Best([&] { return Ours(vorbis, wav, out + ".ogg"); });
    const auto oggenc = [&](const QString& input, const QString& output) {
        return Tool("oggenc", {"--quiet", "-b", "128", "-o", output, input});
    };
    const double oggStart = Best([&] { return oggenc(blip, out + "-blip.ogg"); });
    const double oggRef = Best([&] { return oggenc(wav, out + "-ref.ogg"); }) - oggStart;

    WMAEncoderX wma; // 128 kb/s, 44100 Hz, stereo
    const double wmaOurs = Best([&] { return Ours(wma, wav, out + ".wma"); });
    const auto ffmpeg = [&](const QString& input, const QString& output) {
        return Tool("ffmpeg", {"-nostdin", "-v", "error", "-y", "-i", input, "-c:a", "wmav2", "-b:a", "128k", output});
    };
    const double wmaStart = Best([&] { return ffmpeg(blip, out + "-blip.wma"); });
    const double wmaRef = Best([&] { return ffmpeg(wav, out + "-ref.wma"); }) - wmaStart;

    if (std::min({mp3Ours, mp3Start, mp3Ref, oggOurs, oggStart, oggRef, wmaOurs, wmaStart, wmaRef}) <= 0) return 1;
    std::printf("60 s of 44.1 kHz stereo, best of %d runs each (sizes ours / reference)\n", Runs);
    for (const char* ext : {".mp3", ".ogg", ".wma"})
        std::printf("  %s %lld / %lld bytes\n", ext, QFileInfo(out + ext).size(), QFileInfo(out + "-ref" + ext).size());
    Report("MP3", mp3Ours, mp3Ref, mp3Start, "lame -b 128 -m j -q 5");
    Report("Vorbis", oggOurs, oggRef, oggStart, "oggenc -b 128");
    Report("WMA", wmaOurs, wmaRef, wmaStart, "ffmpeg -c:a wmav2 -b:a 128k");
    return 0;
}
