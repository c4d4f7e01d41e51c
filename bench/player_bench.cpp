// The player against the mpv command-line player on the same machine, display and sound server:
//  - playing a 60-second 720p H.264 clip (a key frame every 10 seconds): processor time and peak
//    memory of each, and their ratios (goal: both at most 1.1);
//  - paused on that clip and idle without a file, 10 seconds each: the share of one core
//    (goal: under 0.3%).
// Both use the same video output (OpenGL drawn in software into an X window) and the default
// sound output.
//
// Usage: player_bench [clip] [seconds]   run on a display with a window manager, e.g.
//        tests/xvfb-openbox build/bin/player_bench      (a clip is made with the ffmpeg tool)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

// Processor time of a process so far, all its threads, in seconds.
double CpuSeconds(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray text = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The largest resident size the process has had, in MB.
double PeakMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

QString MakeClip(const QString& folder)
{
    const QString clip = folder + QStringLiteral("/bench-720p-60s.mp4");
    if (QFile::exists(clip)) return clip;
    std::printf("making a 60-second 720p H.264 clip with ffmpeg...\n");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-f", "lavfi", "-i",
            "sine=frequency=440:sample_rate=48000", "-t", "60", "-c:v", "libx264", "-preset", "fast", "-g", "250",
            "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "128k", "-shortest", clip});
    ffmpeg.waitForFinished(600000);
    return ffmpeg.exitCode() == 0 ? clip : QString();
}

struct Sample {
    double cpuSeconds = 0;
    double wallSeconds = 0;
    double peakMb = 0;
    double Share() const { return wallSeconds > 0 ? cpuSeconds / wallSeconds : 0; }
};

// Runs the program; after `settle` seconds (and the action, if any), samples its processor time
// for `seconds`, then ends it.
Sample Measure(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
    double settle, double seconds, const std::function<void(qint64)>& action = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    Sample sample;
    if (!process.waitForStarted(10000)) {
        std::fprintf(stderr, "%s does not start\n", qPrintable(program));
        return sample;
    }
    const qint64 pid = process.processId();
    QThread::msleep(static_cast<unsigned long>(settle * 1000));
    if (action) action(pid);
    const double startCpu = CpuSeconds(pid);
    if (process.state() != QProcess::Running) std::fprintf(stderr, "%s ended early\n", qPrintable(program));
    QElapsedTimer clock;
    clock.start();
    process.waitForFinished(static_cast<int>(seconds * 1000));
    sample.cpuSeconds = CpuSeconds(pid) - startCpu;
    sample.wallSeconds = clock.elapsed() / 1000.0;
    sample.peakMb = PeakMegabytes(pid);
    process.terminate();
    if (!process.waitForFinished(10000)) process.kill();
    process.waitForFinished(5000);
    return sample;
}

// Presses the keys in the first visible window of the process.
void PressKeys(qint64 pid, const QStringList& keys)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {"search", "--sync", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished(20000);
    const QString window = QString::fromUtf8(search.readAllStandardOutput()).section('\n', 0, 0);
    if (window.isEmpty()) return;
    QProcess::execute(QStringLiteral("xdotool"), {"windowactivate", "--sync", window});
    QProcess::execute(QStringLiteral("xdotool"), QStringList {"key", "--clearmodifiers"} + keys);
}

void Report(const char* what, const Sample& tessel, const Sample& mpv)
{
    std::printf("%-8s tessel %6.2f s CPU in %5.1f s (%5.2f%% of a core), peak %6.1f MB | mpv %6.2f s CPU (%5.2f%%), "
                "peak %6.1f MB | CPU ratio %.2f, memory ratio %.2f\n",
        what, tessel.cpuSeconds, tessel.wallSeconds, 100 * tessel.Share(), tessel.peakMb, mpv.cpuSeconds,
        100 * mpv.Share(), mpv.peakMb, mpv.cpuSeconds > 0 ? tessel.cpuSeconds / mpv.cpuSeconds : 0,
        mpv.peakMb > 0 ? tessel.peakMb / mpv.peakMb : 0);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "player_bench needs a display with a window manager (tests/xvfb-openbox)\n");
        return 2;
    }
    const QString mpv = QStandardPaths::findExecutable(QStringLiteral("mpv"));
    if (mpv.isEmpty()) {
        std::fprintf(stderr, "player_bench needs the mpv player (scripts/install-deps installs it)\n");
        return 2;
    }
    const QString tessel = QCoreApplication::applicationDirPath() + QStringLiteral("/tessel");
    QTemporaryDir home;
    const QString clip = args.size() > 1 ? args[1] : MakeClip(QDir::tempPath());
    const double seconds = args.size() > 2 ? args[2].toDouble() : 60;
    if (clip.isEmpty()) return 1;

    // The player's own folder, as after a first run; a file given at start plays at once.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TESSEL_HOME"), home.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QFile first(home.path() + QStringLiteral("/First.ini"));
    if (first.open(QIODevice::WriteOnly)) first.write("\"01/01/2026 12:00:00\"\r\n");
    first.close();

    // The same outputs as the player's playback library uses (which takes the first graphics
    // context that works, as mpv does by itself).
    const QStringList mpvCommon {"--no-config", "--terminal=no", "--osc=no", "--osd-level=0", "--vo=gpu,x11",
        "--gpu-sw=yes", "--hr-seek=yes", "--keep-open=yes", "--hwdec=no", "--geometry=1280x720"};

    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("clip %s, %g seconds of play\n", qPrintable(clip), seconds);
    const Sample tesselPlaying = Measure(tessel, {clip}, environment, 0, seconds);
    const Sample mpvPlaying = Measure(mpv, mpvCommon + QStringList {clip}, environment, 0, seconds);
    Report("playing", tesselPlaying, mpvPlaying);

    const auto pause = [](qint64 pid) { PressKeys(pid, {"ctrl+u"}); QThread::msleep(1000); };
    const Sample tesselPaused = Measure(tessel, {clip}, environment, 3, 10, pause);
    const Sample mpvPaused = Measure(mpv, mpvCommon + QStringList {"--pause", clip}, environment, 3, 10);
    Report("paused", tesselPaused, mpvPaused);

    const Sample tesselIdle = Measure(tessel, {}, environment, 3, 10);
    const Sample mpvIdle = Measure(mpv, mpvCommon + QStringList {"--idle=yes", "--force-window=yes"}, environment, 3, 10);
    Report("idle", tesselIdle, mpvIdle);
    return 0;
}
