// The player against the mpv command-line player on the same machine, display and sound server:
//  - playing a 60-second 720p H.264 clip (a key frame every 10 seconds): processor time and peak
//    memory of each; goals: processor time at most 1.05 times mpv's, peak memory at most 1.1 times;
//  - the first picture: the time from the start of each program until the clip's picture shows on
//    the screen, the median of three starts each; goal: at most 1.3 times mpv's;
//  - paused on that clip and idle without a file, 10 seconds each: the share of one core; goal:
//    under 0.3% each. The pause is checked: the screen must not change while paused. Both samples
//    start once the program is at rest: the text caret blinks for ten seconds after the last key
//    (and after the start), as in the desktop's own toolkits.
// Both use the same video output (OpenGL drawn in software into an X window) and the default
// sound output.
//
// Usage: player_bench [clip] [seconds]   run on a display with a window manager, e.g.
//        tests/xvfb-openbox build/bin/player_bench      (a clip is made afresh with the ffmpeg tool)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

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
    std::printf("making a 60-second 720p H.264 clip with ffmpeg...\n");
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-f", "lavfi", "-i",
            "sine=frequency=440:sample_rate=48000", "-t", "60", "-c:v", "libx264", "-preset", "fast", "-g", "250",
            "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "128k", "-shortest", clip});
    ffmpeg.waitForFinished(600000);
    return ffmpeg.exitCode() == 0 ? clip : QString();
}

// The screen, read straight from the display server.
class Screen {
public:
    Screen()
        : connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_)) return;
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        root_ = screen->root;
        width_ = screen->width_in_pixels;
        height_ = screen->height_in_pixels;
    }
    ~Screen() { xcb_disconnect(connection_); }

    // The pixels of a band of rows, 32 bits each.
    QByteArray Rows(int top, int count) const
    {
        xcb_get_image_reply_t* image = xcb_get_image_reply(connection_,
            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, root_, 0, static_cast<std::int16_t>(top), width_,
                static_cast<std::uint16_t>(count), ~0u),
            nullptr);
        if (!image) return {};
        QByteArray pixels(reinterpret_cast<const char*>(xcb_get_image_data(image)), xcb_get_image_data_length(image));
        std::free(image);
        return pixels;
    }

    // True when the clip's picture shows: many strongly coloured pixels on rows across the screen
    // (the test picture's colour bars; the desktop and the windows' frames are grey, black or pale).
    bool ShowsPicture() const
    {
        for (int k = 1; k < 8; ++k) {
            const QByteArray row = Rows(height_ * k / 8, 1);
            int coloured = 0;
            for (qsizetype i = 0; i + 3 < row.size(); i += 4) {
                const auto b = static_cast<unsigned char>(row[i]);
                const auto g = static_cast<unsigned char>(row[i + 1]);
                const auto r = static_cast<unsigned char>(row[i + 2]);
                if (std::max({r, g, b}) - std::min({r, g, b}) > 150) ++coloured;
            }
            if (coloured > width_ / 20) return true;
        }
        return false;
    }

    QByteArray Whole() const { return Rows(0, height_); }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_ = 0;
    std::uint16_t width_ = 0;
    std::uint16_t height_ = 0;
};

struct Sample {
    double cpuSeconds = 0;
    double wallSeconds = 0;
    double peakMb = 0;
    bool valid = true;
    double Share() const { return wallSeconds > 0 ? cpuSeconds / wallSeconds : 0; }
};

// Runs the program; after `settle` seconds (and the action, if any, which may find the run
// invalid), samples its processor time for `seconds`, then ends it.
Sample Measure(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
    double settle, double seconds, const std::function<bool(qint64)>& action = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    Sample sample;
    if (!process.waitForStarted(10000)) {
        std::fprintf(stderr, "%s does not start\n", qPrintable(program));
        sample.valid = false;
        return sample;
    }
    const qint64 pid = process.processId();
    QThread::msleep(static_cast<unsigned long>(settle * 1000));
    if (action) sample.valid = action(pid);
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

// Seconds from the start of the program until the clip's picture shows; negative when it did
// not show within 20 seconds.
double FirstPicture(const Screen& screen, const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment)
{
    // The screen shows no picture before the start.
    for (int i = 0; i < 100 && screen.ShowsPicture(); ++i)
        QThread::msleep(50);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    double seconds = -1;
    while (clock.elapsed() < 20000) {
        if (screen.ShowsPicture()) {
            seconds = clock.elapsed() / 1000.0;
            break;
        }
        QThread::msleep(5);
    }
    process.terminate();
    if (!process.waitForFinished(10000)) process.kill();
    process.waitForFinished(5000);
    return seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
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

// A paused player shows the same screen from one second to the next; a playing one never does.
// A window still opening may change the screen once or twice, so five seconds are allowed.
bool ScreenStill(const Screen& screen)
{
    QByteArray before = screen.Whole();
    for (int i = 0; i < 5 && !before.isEmpty(); ++i) {
        QThread::msleep(1000);
        const QByteArray after = screen.Whole();
        if (after == before) return true;
        before = after;
    }
    return false;
}

// One figure beside its goal.
void Goal(const char* what, double figure, const char* unit, const char* relation, double goal, bool met)
{
    std::printf("  %-30s %8.3f%s   goal %s %.3f%s   %s\n", what, figure, unit, relation, goal, unit,
        met ? "goal met" : "goal missed");
}

void Describe(const char* what, const Sample& tessel, const Sample& mpv)
{
    std::printf("%s: tessel %.2f s CPU in %.1f s (%.2f%% of a core), peak %.1f MB | mpv %.2f s CPU (%.2f%% of a core), "
                "peak %.1f MB\n",
        what, tessel.cpuSeconds, tessel.wallSeconds, 100 * tessel.Share(), tessel.peakMb, mpv.cpuSeconds,
        100 * mpv.Share(), mpv.peakMb);
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
    const Screen screen;
    const QString tessel = QCoreApplication::applicationDirPath() + QStringLiteral("/tessel");
    QTemporaryDir home;
    QTemporaryDir work;
    const QString clip = args.size() > 1 ? args[1] : MakeClip(work.path());
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
    Describe("playing", tesselPlaying, mpvPlaying);
    const double cpuRatio = mpvPlaying.cpuSeconds > 0 ? tesselPlaying.cpuSeconds / mpvPlaying.cpuSeconds : 0;
    const double memoryRatio = mpvPlaying.peakMb > 0 ? tesselPlaying.peakMb / mpvPlaying.peakMb : 0;
    Goal("processor time, x mpv's", cpuRatio, "", "<=", 1.05, cpuRatio > 0 && cpuRatio <= 1.05);
    Goal("peak memory, x mpv's", memoryRatio, "", "<=", 1.10, memoryRatio > 0 && memoryRatio <= 1.10);

    std::vector<double> tesselFirst;
    std::vector<double> mpvFirst;
    for (int round = 0; round < 3; ++round) {
        tesselFirst.push_back(FirstPicture(screen, tessel, {clip}, environment));
        mpvFirst.push_back(FirstPicture(screen, mpv, mpvCommon + QStringList {clip}, environment));
    }
    const double tesselPicture = Median(tesselFirst);
    const double mpvPicture = Median(mpvFirst);
    std::printf("first picture (median of 3 starts): tessel %.2f s (%.2f, %.2f, %.2f) | mpv %.2f s (%.2f, %.2f, %.2f)\n",
        tesselPicture, tesselFirst[0], tesselFirst[1], tesselFirst[2], mpvPicture, mpvFirst[0], mpvFirst[1],
        mpvFirst[2]);
    const double pictureRatio = tesselPicture > 0 && mpvPicture > 0 ? tesselPicture / mpvPicture : 0;
    Goal("first picture, x mpv's", pictureRatio, "", "<=", 1.30, pictureRatio > 0 && pictureRatio <= 1.30);

    const auto pause = [&](qint64 pid) {
        PressKeys(pid, {"ctrl+u"});
        QThread::msleep(1000);
        const bool paused = ScreenStill(screen);
        QThread::msleep(10000);
        return paused;
    };
    const auto still = [&](qint64) { return ScreenStill(screen); };
    const Sample tesselPaused = Measure(tessel, {clip}, environment, 3, 10, pause);
    const Sample mpvPaused = Measure(mpv, mpvCommon + QStringList {"--pause", clip}, environment, 3, 10, still);
    Describe("paused", tesselPaused, mpvPaused);
    if (!tesselPaused.valid) std::printf("  the player's pause did not take effect: the picture kept moving\n");
    if (!mpvPaused.valid) std::printf("  mpv's picture kept moving while paused\n");
    Goal("paused, % of a core", 100 * tesselPaused.Share(), "%", "<", 0.3,
        tesselPaused.valid && 100 * tesselPaused.Share() < 0.3);

    const Sample tesselIdle = Measure(tessel, {}, environment, 11, 10);
    const Sample mpvIdle = Measure(mpv, mpvCommon + QStringList {"--idle=yes", "--force-window=yes"}, environment, 11, 10);
    Describe("idle", tesselIdle, mpvIdle);
    Goal("idle, % of a core", 100 * tesselIdle.Share(), "%", "<", 0.3, 100 * tesselIdle.Share() < 0.3);
    return 0;
}
