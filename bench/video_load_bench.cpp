// A long session of video loads in one player process, as a playlist of two clips played one after
// the other (each row chosen plays its file, which closes the one before):
//  - resident memory after load 5 and after load 30; goal: growth under 1 MB a load between them;
//  - the time from choosing a row to its first picture on the screen, for the later loads (6 to 30,
//    median), beside libmpv's own "loadfile" of the same clips into one core that plays them in
//    turn, as the mpv player does through a playlist (no goal: for comparison).
// Both draw with the same video output (OpenGL in software into an X window) and play their sound
// to the default output. The two clips are tinted red and blue, so that a picture on the screen is
// known to be the new clip's.
//
// Usage: video_load_bench   run on a display with a window manager and a sound server, e.g.
//        tests/xvfb-openbox build-release/bin/video_load_bench
#include "engine/Media.h"
#include "platform/forms/Form.h"
#include "player/frmPlayer.h"
#include "tests/support/ResidentMemory.h"

#include <mpv/client.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Loads = 30;
constexpr int FirstCounted = 5;
constexpr int MpvLoads = 12;

enum class Tint { Red, Blue };

QString MakeClip(const QString& folder, Tint tint)
{
    const QString clip = folder + (tint == Tint::Red ? QStringLiteral("/red.mp4") : QStringLiteral("/blue.mp4"));
    const QString mixer = tint == Tint::Red ? QStringLiteral("colorchannelmixer=rr=1:gg=0:bb=0")
                                            : QStringLiteral("colorchannelmixer=rr=0:gg=0:bb=1");
    const int result = QProcess::execute(QStringLiteral("ffmpeg"),
        {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25," + mixer, "-f", "lavfi",
            "-i", "sine=frequency=440:sample_rate=48000", "-t", "10", "-c:v", "libx264", "-preset", "fast", "-pix_fmt",
            "yuv420p", "-c:a", "aac", "-shortest", clip});
    return result == 0 ? clip : QString();
}

void Run(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// True when the widget's area of the screen shows the tinted clip: many pixels strongly of its colour.
bool Shows(const QWidget& widget, Tint tint)
{
    const QPoint at = widget.mapToGlobal(QPoint(0, 0));
    const QImage shot
        = QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), widget.width(), widget.height()).toImage();
    int count = 0;
    int all = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) {
            const QRgb c = shot.pixel(x, y);
            const int own = tint == Tint::Red ? qRed(c) : qBlue(c);
            const int other = tint == Tint::Red ? std::max(qGreen(c), qBlue(c)) : std::max(qRed(c), qGreen(c));
            count += own > 150 && other < 80;
            ++all;
        }
    return all > 0 && count * 20 > all;
}

// Milliseconds from the start of the clock until the widget shows the clip; -1 after 10 seconds.
double WaitForPicture(const QWidget& widget, Tint tint, const QElapsedTimer& clock)
{
    while (clock.elapsed() < 10000) {
        if (Shows(widget, tint)) return static_cast<double>(clock.nsecsElapsed()) / 1e6;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return -1;
}

// The median of the times that ended with a picture.
double Median(std::vector<double> values)
{
    values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return v < 0; }), values.end());
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The same two clips loaded in turn with libmpv's "loadfile" into one core, with the options the
// player's playback core starts with, drawn into a window of the same size. Returns the times to
// the picture of the loads after the first.
std::vector<double> MpvLoadTimes(const QString (&clips)[2], QSize size)
{
    QWidget window;
    window.setAttribute(Qt::WA_NativeWindow);
    window.setStyleSheet(QStringLiteral("background: black;"));
    window.resize(size);
    window.move(0, 0);
    window.show();
    Run(500);

    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    const std::string wid = std::to_string(window.winId());
    const std::pair<const char*, const char*> options[] = {{"config", "no"}, {"terminal", "no"}, {"load-scripts", "no"},
        {"osc", "no"}, {"osd-level", "0"}, {"input-default-bindings", "no"}, {"idle", "yes"}, {"keep-open", "yes"},
        {"hr-seek", "yes"}, {"audio-display", "no"}, {"load-stats-overlay", "no"}, {"load-osd-console", "no"},
        {"gpu-context", "x11egl,x11"}, {"gpu-sw", "yes"}, {"vo", "gpu,x11"}, {"wid", wid.c_str()}};
    for (const auto& [name, value] : options)
        mpv_set_option_string(mpv, name, value);
    std::vector<double> times;
    if (mpv_initialize(mpv) < 0) {
        std::fprintf(stderr, "libmpv does not start\n");
        mpv_terminate_destroy(mpv);
        return times;
    }
    for (int i = 0; i < MpvLoads; ++i) {
        const Tint tint = i % 2 ? Tint::Blue : Tint::Red;
        const QByteArray file = clips[i % 2].toUtf8();
        const char* command[] = {"loadfile", file.constData(), "replace", nullptr};
        QElapsedTimer clock;
        clock.start();
        mpv_command(mpv, command);
        const double ms = WaitForPicture(window, tint, clock);
        if (ms < 0) std::fprintf(stderr, "libmpv load %d: no picture within 10 seconds\n", i + 1);
        if (i > 0) times.push_back(ms);
        Run(300);
        // The core's reports are read and dropped, so that its queue never fills.
        while (mpv_wait_event(mpv, 0)->event_id != MPV_EVENT_NONE) {}
    }
    mpv_terminate_destroy(mpv);
    return times;
}

void Goal(const char* what, double figure, const char* unit, const char* relation, double goal, bool met)
{
    std::printf("  %-36s %8.3f %s   goal %s %.3f %s   %s\n", what, figure, unit, relation, goal, unit,
        met ? "goal met" : "goal missed");
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "video_load_bench needs a display with a window manager (tests/xvfb-openbox)\n");
        return 2;
    }
    // The player's own folder, as after a first run.
    QTemporaryDir home;
    qputenv("TESSEL_HOME", home.path().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QFile first(home.path() + QStringLiteral("/First.ini"));
    if (first.open(QIODevice::WriteOnly)) first.write("\"01/01/2026 12:00:00\"\r\n");
    first.close();

    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir work;
    std::printf("making two 10-second 720p H.264 clips with ffmpeg...\n");
    const QString clips[2] = {MakeClip(work.path(), Tint::Red), MakeClip(work.path(), Tint::Blue)};
    if (clips[0].isEmpty() || clips[1].isEmpty()) {
        std::fprintf(stderr, "video_load_bench: ffmpeg could not make the clips\n");
        return 1;
    }

    auto& player = forms::Instance<frmPlayer>();
    player.Show();
    player.lstPlaylist->AddItem(clips[0]);
    player.lstPlaylist->AddItem(clips[1]);
    Run(1000);

    std::vector<double> later;
    double memoryAtFirst = 0;
    double memoryAtLast = 0;
    for (int load = 1; load <= Loads; ++load) {
        const int row = (load - 1) % 2;
        QElapsedTimer clock;
        clock.start();
        player.lstPlaylist->setListIndex(row);
        const double ms = WaitForPicture(*player.Media1, row ? Tint::Blue : Tint::Red, clock);
        if (ms < 0) std::fprintf(stderr, "load %d: no picture within 10 seconds\n", load);
        if (load > FirstCounted) later.push_back(ms);
        // Each clip plays a little, sound and all, before the next row is chosen.
        Run(300);
        if (load == FirstCounted) memoryAtFirst = ResidentMegabytes();
        if (load == Loads) memoryAtLast = ResidentMegabytes();
    }
    const QSize size = player.Media1->size();
    player.Media1->closeMovie();
    player.hide();
    Run(300);
    const std::vector<double> mpvTimes = MpvLoadTimes(clips, size);

    const double perLoad = (memoryAtLast - memoryAtFirst) / (Loads - FirstCounted);
    std::printf("resident memory after load %d: %.1f MB, after load %d: %.1f MB\n", FirstCounted, memoryAtFirst, Loads,
        memoryAtLast);
    Goal("growth a load", perLoad, "MB", "<", 1.0, perLoad < 1.0);
    std::printf("first picture of a later load (median): tessel %.0f ms (loads %d to %d) | libmpv loadfile %.0f ms\n",
        Median(later), FirstCounted + 1, Loads, Median(mpvTimes));
    std::printf("  (no goal: for comparison)\n");
    forms::Instances::Forget(&player);
    delete &player;
    return 0;
}
