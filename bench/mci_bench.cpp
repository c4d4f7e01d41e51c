// What the media command layer costs over libmpv itself:
//  - the median time of one "status music position" round trip while a file plays;
//  - the process CPU time of playing a 10-second 720p clip through the layer, against playing
//    the same clip with libmpv directly (null outputs both).
// Goals: under 50 us per status query, under 5% CPU overhead.
//
// Usage: mci_bench [clip]   (without a clip, one is made with the ffmpeg tool)
#include "platform/mci/Mci.h"

#include <mpv/client.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

double CpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

unsigned Send(const std::string& command, std::string* reply = nullptr)
{
    char buffer[128] = "";
    const unsigned error = mci::SendString(command, buffer, sizeof buffer);
    if (reply) *reply = buffer;
    return error;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Plays the clip through the command layer as the player does: play, and a timer that asks for
// the position and the mode ten times a second until playback has stopped.
double PlayThroughLayer(const std::string& clip)
{
    const double start = CpuSeconds();
    if (Send("open \"" + clip + "\" type MPEGVideo alias music")) {
        std::fprintf(stderr, "the clip does not open\n");
        return 0;
    }
    Send("play music");
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        std::string mode;
        Send("status music position");
        Send("status music mode", &mode);
        if (mode != "playing") loop.quit();
    });
    poll.start(100);
    loop.exec();
    Send("close music");
    return CpuSeconds() - start;
}

// The same clip with libmpv alone, with the same options and the same ten queries a second.
double PlayWithLibmpv(const std::string& clip)
{
    const double start = CpuSeconds();
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* mpv = mpv_create();
    for (const auto& [name, value] : {std::pair {"config", "no"}, {"terminal", "no"}, {"vo", "null"}, {"ao", "null"},
             {"keep-open", "yes"}, {"idle", "yes"}, {"hr-seek", "yes"}, {"audio-display", "no"}})
        mpv_set_option_string(mpv, name, value);
    mpv_initialize(mpv);
    const char* load[] = {"loadfile", clip.c_str(), nullptr};
    mpv_command(mpv, load);
    for (;;) {
        int eof = 0;
        double position = 0;
        mpv_get_property(mpv, "eof-reached", MPV_FORMAT_FLAG, &eof);
        mpv_get_property(mpv, "time-pos", MPV_FORMAT_DOUBLE, &position);
        if (eof) break;
        for (mpv_event* event = mpv_wait_event(mpv, 0.1); event->event_id != MPV_EVENT_NONE;
             event = mpv_wait_event(mpv, 0)) { }
    }
    mpv_terminate_destroy(mpv);
    return CpuSeconds() - start;
}

double StatusRoundTripMicroseconds(const std::string& clip)
{
    Send("open \"" + clip + "\" type MPEGVideo alias music");
    Send("play music");
    std::vector<double> times;
    times.reserve(20000);
    for (int i = 0; i < 20000; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        Send("status music position");
        const auto t1 = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    Send("close music");
    return Median(times);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("TESSEL_NULL_OUTPUTS", "1");
    QCoreApplication app(argc, argv);

    QTemporaryDir folder;
    std::string clip = argc > 1 ? argv[1] : "";
    if (clip.empty()) {
        clip = QDir(folder.path()).filePath("clip720.mp4").toStdString();
        std::printf("making a 10-second 720p clip...\n");
        const int made = QProcess::execute("ffmpeg",
            {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=30", "-f", "lavfi", "-i",
                "sine=frequency=440:sample_rate=48000", "-t", "10", "-ac", "2", "-c:v", "libx264", "-preset", "fast",
                "-pix_fmt", "yuv420p", "-c:a", "aac", QString::fromStdString(clip)});
        if (made != 0) {
            std::fprintf(stderr, "ffmpeg could not make the clip\n");
            return 1;
        }
    }

    const double roundTrip = StatusRoundTripMicroseconds(clip);
    std::printf("status music position round trip, median: %.2f us   goal < 50 us   %s\n", roundTrip,
        roundTrip < 50 ? "goal met" : "goal missed");

    // One warm-up, then the two ways in turn, twice.
    PlayWithLibmpv(clip);
    std::vector<double> layer;
    std::vector<double> plain;
    for (int round = 0; round < 2; ++round) {
        plain.push_back(PlayWithLibmpv(clip));
        layer.push_back(PlayThroughLayer(clip));
    }
    const double p = Median(plain);
    const double l = Median(layer);
    const double overhead = 100.0 * (l - p) / p;
    std::printf("CPU time of playing the clip: libmpv %.3f s, command layer %.3f s, overhead %+.1f%%   goal < 5%%   %s\n", p,
        l, overhead, overhead < 5 ? "goal met" : "goal missed");
    return 0;
}
