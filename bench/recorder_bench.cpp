// How late a recording starts: the time from the sound recorder's Record click to its first
// captured sample, beside parecord's on the same source. A sweep plays into the default sink all
// along (the default source being that sink's monitor, as under the test runner's null sink); each
// take is placed on the sweep by its sound, and where the sweep was at the click is known from
// the clock of the player's stream (what the sound server reports as heard).
//
// Recorder takes run as a user works: the window opens, and Record is clicked a little later.
// parecord takes start the tool at the click, with no recorder window open. Takes alternate, with
// pauses of random length between them, so the two meet the source in the same states.
//
// Usage: recorder_bench [takes] [--low-latency]
//   takes          takes of each (default 5)
//   --low-latency  the sweep plays with a 20 ms buffer, as a desktop player asks; by default it
//                  plays with the sound server's default buffer, as paplay does.
#include "platform/mci/Mci.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TonePower.h"
#include "tools/frmAudioRecord.h"
#include "tools/modWave.h"

#include <pulse/pulseaudio.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// A linear sweep from F0 to F1, begun again every Period seconds.
constexpr double F0 = 150;
constexpr double F1 = 4500;
constexpr double Period = 12;

double Sweep(double t)
{
    t = std::fmod(t, Period);
    const double k = (F1 - F0) / Period;
    return 0.5 * std::sin(2 * std::numbers::pi * (F0 * t + k * t * t / 2));
}

// Plays the sweep into the default sink, as paplay plays a file (with the server's default buffer
// unless a low latency is asked for), and knows which moment of the sweep is heard at any time.
class SweepPlayer {
public:
    static constexpr int Rate = 44100;

    bool Start(bool lowLatency)
    {
        loop_ = pa_threaded_mainloop_new();
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "recorder_bench");
        pa_context_set_state_callback(context_, Signal, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
            || pa_threaded_mainloop_start(loop_) < 0)
            return false;
        pa_threaded_mainloop_lock(loop_);
        while (pa_context_get_state(context_) != PA_CONTEXT_READY && PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)))
            pa_threaded_mainloop_wait(loop_);
        bool ready = false;
        if (pa_context_get_state(context_) == PA_CONTEXT_READY) {
            const pa_sample_spec spec {PA_SAMPLE_S16LE, Rate, 1};
            stream_ = pa_stream_new(context_, "sweep", &spec, nullptr);
            pa_stream_set_state_callback(stream_, Signal, this);
            pa_stream_set_write_callback(stream_, Writable, this);
            // All left to the server, as paplay does: its default buffer (libpulse would choose a
            // short one for a stream given no attributes at all).
            pa_buffer_attr attr;
            attr.maxlength = attr.tlength = attr.prebuf = attr.minreq = attr.fragsize = std::uint32_t(-1);
            auto flags = pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE);
            if (lowLatency) {
                attr.tlength = std::uint32_t(pa_usec_to_bytes(20000, &spec));
                flags = pa_stream_flags_t(flags | PA_STREAM_ADJUST_LATENCY);
            }
            pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr);
            while (pa_stream_get_state(stream_) != PA_STREAM_READY && PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)))
                pa_threaded_mainloop_wait(loop_);
            ready = pa_stream_get_state(stream_) == PA_STREAM_READY;
        }
        pa_threaded_mainloop_unlock(loop_);
        if (!ready) std::fprintf(stderr, "no sound server to play the sweep to\n");
        return ready;
    }

    ~SweepPlayer()
    {
        if (!loop_) return;
        pa_threaded_mainloop_stop(loop_);
        if (stream_) pa_stream_unref(stream_);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        pa_threaded_mainloop_free(loop_);
    }

    // The moment of the sweep that is heard at the given time, by the sound server's own clock.
    double HeardAt(Clock::time_point at) const
    {
        pa_usec_t played = 0;
        pa_threaded_mainloop_lock(loop_);
        pa_stream_get_time(stream_, &played);
        const Clock::time_point now = Clock::now();
        pa_threaded_mainloop_unlock(loop_);
        return double(played) / 1e6 - std::chrono::duration<double>(now - at).count();
    }

private:
    static void Signal(pa_context*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<SweepPlayer*>(self)->loop_, 0);
    }
    static void Signal(pa_stream*, void* self)
    {
        pa_threaded_mainloop_signal(static_cast<SweepPlayer*>(self)->loop_, 0);
    }

    static void Writable(pa_stream* stream, std::size_t bytes, void* self)
    {
        auto* player = static_cast<SweepPlayer*>(self);
        std::vector<std::int16_t> chunk(bytes / 2);
        for (std::size_t i = 0; i < chunk.size(); ++i)
            chunk[i] = std::int16_t(std::lround(32767 * Sweep(double(player->written_ + std::int64_t(i)) / Rate)));
        player->written_ += std::int64_t(chunk.size());
        pa_stream_write(stream, chunk.data(), chunk.size() * 2, nullptr, 0, PA_SEEK_RELATIVE);
    }

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    std::int64_t written_ = 0;
};

struct Samples {
    int rate = 0;
    std::vector<double> values; // first channel
};

std::uint32_t Le(const QByteArray& b, qsizetype at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | std::uint8_t(b[at + i]);
    return v;
}

// The first channel of a PCM WAV file (8 or 16 bits).
std::optional<Samples> ReadWave(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = file.readAll();
    if (b.size() < 44 || b.left(4) != "RIFF" || b.mid(8, 4) != "WAVE") return {};
    Samples s;
    int channels = 0;
    int bits = 0;
    for (qsizetype at = 12; at + 8 <= b.size();) {
        const QByteArray id = b.mid(at, 4);
        qsizetype size = Le(b, at + 4, 4);
        const qsizetype body = at + 8;
        // A tool stopped by a signal may leave the data size unfinished: take what is there.
        if (id == "data" && (size == 0 || body + size > b.size())) size = b.size() - body;
        if (body + size > b.size()) return {};
        if (id == "fmt ") {
            channels = int(Le(b, body + 2, 2));
            s.rate = int(Le(b, body + 4, 4));
            bits = int(Le(b, body + 14, 2));
        } else if (id == "data" && channels > 0 && (bits == 8 || bits == 16)) {
            const int frame = channels * bits / 8;
            for (qsizetype i = body; i + frame <= body + size; i += frame)
                s.values.push_back(
                    bits == 8 ? (std::uint8_t(b[i]) - 128) / 128.0 : std::int16_t(Le(b, i, 2)) / 32768.0);
            return s;
        }
        at = body + size + (size & 1);
    }
    return {};
}

// Where a take's first sound lies on the sweep, given the sweep's moment at the click: a first
// guess from the frequency of its first tenth of a second, made exact by matching up to its first
// second against the sweep. Also tells how much silence came before the sound.
struct Placement {
    double firstSound = 0; // moment of the sweep
    double silence = 0; // seconds of silence before it
};

std::optional<Placement> Place(const Samples& take, double atClick)
{
    const auto& x = take.values;
    const double r = take.rate;
    const auto loud = std::find_if(x.begin(), x.end(), [](double v) { return std::abs(v) > 0.05; });
    const std::size_t i0 = std::size_t(loud - x.begin());
    const std::size_t guessLength = std::size_t(r / 10);
    // Up to a second of sound to match; a quarter of one at least.
    if (i0 + std::size_t(r / 4) > x.size()) return {};
    const std::size_t length = std::min(std::size_t(r), x.size() - i0);

    double best = 0;
    double frequency = 0;
    for (double f = F0; f <= F1; f += 5) {
        const double power = TonePower(x, i0, guessLength, f, r);
        if (power > best) {
            best = power;
            frequency = f;
        }
    }
    const double k = (F1 - F0) / Period;
    double guess = (frequency - F0) / k - 0.05; // the frequency is that of the window's middle
    // The sweep repeats: the take begins at or after the click, give or take a second.
    guess += Period * std::ceil((atClick - 1 - guess) / Period);

    const double span = 0.2;
    std::vector<double> sweep(std::size_t(2 * span * r) + length);
    for (std::size_t j = 0; j < sweep.size(); ++j)
        sweep[j] = Sweep(guess - span + double(j) / r);
    double bestMatch = -1;
    std::size_t bestShift = 0;
    for (std::size_t shift = 0; shift + length <= sweep.size(); ++shift) {
        double match = 0;
        for (std::size_t i = 0; i < length; ++i)
            match += x[i0 + i] * sweep[shift + i];
        if (match > bestMatch) {
            bestMatch = match;
            bestShift = shift;
        }
    }
    return Placement {guess - span + double(bestShift) / r, double(i0) / r};
}

void Wait(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

struct Take {
    double delay = 0; // seconds of sound lost after the click
    double length = 0; // seconds recorded
    double silence = 0; // silence at the start of the file
    double handler = 0; // time the click itself took
};

constexpr double TakeSeconds = 3;

std::optional<Take> Measure(const QString& file, double atClick, double handler)
{
    const auto samples = ReadWave(file);
    if (!samples) return {};
    const auto placed = Place(*samples, atClick);
    if (!placed) return {};
    return Take {
        placed->firstSound - atClick, double(samples->values.size()) / samples->rate, placed->silence, handler};
}

std::optional<Take> RecorderTake(const SweepPlayer& player, const QString& file, double openBeforeClick)
{
    auto& w = forms::Instance<frmAudioRecord>();
    w.Show();
    Wait(openBeforeClick);
    const Clock::time_point click = Clock::now();
    w.cmdRecord->click();
    const double handler = std::chrono::duration<double>(Clock::now() - click).count();
    const double atClick = player.HeardAt(click);
    Wait(TakeSeconds);
    w.cmdStop->click();
    modWave::SaveRecording(file);
    w.Unload();
    QApplication::processEvents();
    mci::SendString("close all");
    return Measure(file, atClick, handler);
}

std::optional<Take> ParecordTake(const SweepPlayer& player, const QString& file)
{
    QProcess tool;
    const Clock::time_point click = Clock::now();
    tool.start(QStringLiteral("parecord"),
        {QStringLiteral("--rate=11025"), QStringLiteral("--channels=1"), QStringLiteral("--format=s16le"),
            QStringLiteral("--file-format=wav"), file});
    tool.waitForStarted();
    const double handler = std::chrono::duration<double>(Clock::now() - click).count();
    const double atClick = player.HeardAt(click);
    Wait(TakeSeconds);
    tool.terminate();
    tool.waitForFinished(10000);
    return Measure(file, atClick, handler);
}

// Prints the takes' losses and gives their median; nothing when no take was placed.
std::optional<double> Report(const char* who, const std::vector<Take>& takes)
{
    if (takes.empty()) {
        std::printf("%-10s no take could be placed on the sweep\n", who);
        return std::nullopt;
    }
    std::vector<double> delays;
    for (const Take& t : takes)
        delays.push_back(t.delay);
    std::sort(delays.begin(), delays.end());
    std::printf("%-10s lost after the click: median %6.3f s, best %6.3f s, worst %6.3f s  (%zu takes)\n", who,
        delays[delays.size() / 2], delays.front(), delays.back(), takes.size());
    return delays[delays.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/recorder-bench-XXXXXX"));
    qputenv("TESSEL_HOME", QDir(home.path()).filePath(QStringLiteral("program")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", QDir(home.path()).filePath(QStringLiteral("config")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ScriptedUser user;

    int count = 5;
    bool lowLatency = false;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QStringLiteral("--low-latency"))
            lowLatency = true;
        else
            count = std::max(1, a.toInt());
    }

    SweepPlayer player;
    if (!player.Start(lowLatency)) return 1;
    std::printf("sweep played with %s; %d takes of each, %.0f s long, the recorder window open 2.5 to 4.5 s "
                "before the click\n",
        lowLatency ? "a 20 ms buffer" : "the server's default buffer", count, TakeSeconds);
    Wait(3);

    // A source may hand out its sound in blocks (a null sink's monitor in blocks of up to two
    // seconds): clicks at random moments meet it at every point of its cycle.
    std::mt19937 random(std::random_device {}());
    std::uniform_real_distribution<double> pause(2.5, 4.5);
    std::vector<Take> recorder;
    std::vector<Take> tool;
    for (int i = 0; i < count; ++i) {
        const QString file = QDir(home.path()).filePath(QStringLiteral("take%1.wav").arg(i));
        if (auto t = RecorderTake(player, file, pause(random))) {
            recorder.push_back(*t);
            std::printf("recorder   take %d: lost %6.3f s, %5.3f s recorded (silence at its start %5.3f s, the click "
                        "took %5.3f s)\n",
                i + 1, t->delay, t->length, t->silence, t->handler);
        } else {
            std::printf("recorder   take %d: not placed on the sweep\n", i + 1);
        }
        Wait(pause(random));
        const QString toolFile = QDir(home.path()).filePath(QStringLiteral("parecord%1.wav").arg(i));
        if (auto t = ParecordTake(player, toolFile)) {
            tool.push_back(*t);
            std::printf("parecord   take %d: lost %6.3f s, %5.3f s recorded (silence at its start %5.3f s, starting "
                        "it took %5.3f s)\n",
                i + 1, t->delay, t->length, t->silence, t->handler);
        } else {
            std::printf("parecord   take %d: not placed on the sweep\n", i + 1);
        }
        Wait(pause(random));
        std::fflush(stdout);
    }
    const std::optional<double> ours = Report("recorder", recorder);
    const std::optional<double> theirs = Report("parecord", tool);
    // The accuracy of placing a take on the sweep is some 30 ms either way.
    if (ours && theirs)
        std::printf("goal: the recorder loses no more than parecord (median %.3f s against %.3f s): %s\n", *ours, *theirs,
            *ours <= *theirs + 0.03 ? "goal met" : "goal missed");
    for (const auto& box : user.Boxes())
        std::printf("box shown: %s\n", qPrintable(box.prompt));
    return 0;
}
