// Re-compresses a 60-second 640x480 AVI to MPEG-4 Part 2 with the AVI file services, and the same
// file with the ffmpeg tool at the same settings, and compares the times. The goal: within 1.2
// times the tool's time.
#include "components/avi/AviFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace avifile;

namespace {

bool Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

HRESULT Progress(int) { return 0; }

// Seconds the AVI file services take, or a negative number when they fail.
double Services(const QString& source, const QString& target)
{
    QElapsedTimer clock;
    clock.start();
    PAVIFILE file = nullptr;
    PAVISTREAM stream = nullptr;
    PAVISTREAM compressed = nullptr;
    AVICOMPRESSOPTIONS options;
    options.fccType = streamtypeVIDEO;
    options.fccHandler = "mpeg4";
    options.dwFlags = AVICOMPRESSF_VALID | AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_DATARATE;
    options.dwKeyFrameEvery = 12;
    options.dwBytesPerSecond = 250000;
    AVICOMPRESSOPTIONS* array[1] = {&options};
    HRESULT r = AVIFileOpen(&file, source, OF_SHARE_DENY_WRITE);
    if (r == AVIERR_OK) r = AVIFileGetStream(file, &stream, streamtypeVIDEO, 0);
    if (r == AVIERR_OK) r = AVIMakeCompressedStream(&compressed, stream, &options);
    if (r == AVIERR_OK) r = AVISaveV(target, nullptr, &Progress, 1, &compressed, array);
    AVIStreamRelease(compressed);
    AVIStreamRelease(stream);
    AVIFileRelease(file);
    return r == AVIERR_OK ? clock.elapsed() / 1000.0 : -1;
}

double Tool(const QString& source, const QString& target)
{
    QElapsedTimer clock;
    clock.start();
    const bool ok = Run("ffmpeg", {"-v", "error", "-y", "-i", source, "-an", "-c:v", "mpeg4", "-b:v", "2000k", "-g", "12",
                                      "-f", "avi", target});
    return ok ? clock.elapsed() / 1000.0 : -1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    AVIFileInit();
    QTemporaryDir dir;
    const QString source = dir.filePath("source.avi");
    std::printf("Making a 60-second 640x480 AVI (Motion JPEG, 25 frames per second)...\n");
    if (!Run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=640x480:rate=25", "-t", "60", "-c:v",
                           "mjpeg", "-q:v", "4", source})) {
        std::printf("ffmpeg could not make the source\n");
        return 2;
    }
    // Each is run twice, alternating, and the better time counts: the first run warms the caches.
    double services = 1e9;
    double tool = 1e9;
    for (int round = 0; round < 2; ++round) {
        const double t = Tool(source, dir.filePath("tool.avi"));
        const double s = Services(source, dir.filePath("services.avi"));
        if (t < 0 || s < 0) {
            std::printf("a re-compression failed (tool %.2f, services %.2f)\n", t, s);
            return 2;
        }
        tool = std::min(tool, t);
        services = std::min(services, s);
    }
    const double ratio = services / tool;
    std::printf("ffmpeg -c:v mpeg4: %.2f s\nAVI file services: %.2f s\nratio: %.2f   goal <= 1.20   %s\n", tool,
        services, ratio, ratio <= 1.2 ? "goal met" : "goal missed");
    AVIFileExit();
    return ratio <= 1.2 ? 0 : 1;
}
