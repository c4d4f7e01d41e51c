#include "platform/mci/MpegVideoDevice.h"

#include "platform/mci/Errors.h"

#include <QFileInfo>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>
#include <cstdio>
#include <map>
#include <thread>

namespace mci {

namespace {

constexpr int LoadTimeoutMs = 10000;
constexpr int SeekTimeoutMs = 3000;
// A seek asked this soon after the last one is part of a wind.
constexpr int WindGapMs = 250;
constexpr std::uint64_t EofReachedId = PlaybackCore::EofReached;
constexpr std::uint64_t TimePosId = PlaybackCore::TimePos;

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string RectText(const std::array<std::int64_t, 4>& r)
{
    return Number(r[0]) + " " + Number(r[1]) + " " + Number(r[2]) + " " + Number(r[3]);
}

// Bits of one pixel of a decoded picture, by the decoder's pixel format.
std::int64_t BitsPerPixel(const std::string& format)
{
    static const std::map<std::string, std::int64_t> bits = {{"gray", 8}, {"yuv410p", 9}, {"yuv411p", 12},
        {"yuv420p", 12}, {"yuvj420p", 12}, {"nv12", 12}, {"nv21", 12}, {"yuv420p10", 15}, {"p010", 15}, {"yuv422p", 16},
        {"yuvj422p", 16}, {"yuyv422", 16}, {"uyvy422", 16}, {"nv16", 16}, {"rgb565", 16}, {"yuv422p10", 20},
        {"yuv444p", 24}, {"yuvj444p", 24}, {"rgb24", 24}, {"bgr24", 24}, {"gbrp", 24}, {"yuv444p10", 30}, {"rgba", 32},
        {"bgra", 32}, {"argb", 32}, {"abgr", 32}, {"rgb0", 32}, {"bgr0", 32}, {"0rgb", 32}, {"0bgr", 32}};
    const auto it = bits.find(format);
    return it == bits.end() ? 24 : it->second;
}

unsigned TakeOnOff(Arguments& args, bool& on)
{
    if (args.Take("on")) {
        on = true;
        return 0;
    }
    if (args.Take("off")) {
        on = false;
        return 0;
    }
    return args.AtEnd() ? Err::MissingParameter : Err::BadConstant;
}

} // namespace

DeviceFactory MpegVideoFactory()
{
    return [](const std::string& element, std::unique_ptr<Device>& device) -> unsigned {
        if (element.empty()) return Err::FilenameRequired;
        if (!QFileInfo(QString::fromStdString(element)).isFile()) return Err::FileNotFound;
        auto video = std::make_unique<MpegVideoDevice>();
        if (const unsigned error = video->Load(element)) return error;
        device = std::move(video);
        return 0;
    };
}

// The picture is drawn with OpenGL (or plain X11 drawing) into the core's own X window, which
// binding moves into the program's window. Without a display it goes to a null output.
MpegVideoDevice::MpegVideoDevice()
    : core_(PlaybackCore::Take([this](const mpv_event& event) { OnEvent(event); }))
    , mpv_(core_->Session())
    , video_(core_->Window())
{
}

MpegVideoDevice::~MpegVideoDevice()
{
    // The next device does not play up to this one's position.
    if (playTo_) mpv_.Unobserve(TimePosId);
    PlaybackCore::Give(std::move(core_));
}

unsigned MpegVideoDevice::Load(const std::string& file)
{
    if (!mpv_.Ok()) return Err::CannotLoadDriver;
    if (!mpv_.Load(file, LoadTimeoutMs)) return Err::InvalidFile;

    // The file is ready once its first pictures and sound are decoded at the start.
    seeking_ = true;
    mpv_.WaitUntil([this] { return !seeking_ || !loaded_; }, LoadTimeoutMs);
    if (!loaded_) return Err::InvalidFile;

    length_ = std::max(0.0, mpv_.Double("duration"));
    const std::int64_t tracks = mpv_.Int("track-list/count");
    for (std::int64_t i = 0; i < tracks && !hasVideo_; ++i) {
        const std::string track = "track-list/" + Number(i) + "/";
        if (mpv_.String((track + "type").c_str()) != "video" || mpv_.Flag((track + "albumart").c_str())) continue;
        hasVideo_ = true;
        videoWidth_ = mpv_.Int((track + "demux-w").c_str());
        videoHeight_ = mpv_.Int((track + "demux-h").c_str());
        frameRate_ = mpv_.Double((track + "demux-fps").c_str());
    }
    // Some containers leave the size to the decoder.
    if (hasVideo_ && videoWidth_ <= 0) videoWidth_ = mpv_.Int("width");
    if (hasVideo_ && videoHeight_ <= 0) videoHeight_ = mpv_.Int("height");
    if (hasVideo_ && frameRate_ <= 0) frameRate_ = mpv_.Double("container-fps", 25);
    return 0;
}

void MpegVideoDevice::OnEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_FILE_LOADED: loaded_ = true; break;
    case MPV_EVENT_END_FILE:
        stillPosition_.reset();
        loaded_ = false;
        seeking_ = false;
        mode_ = Mode::Stopped;
        break;
    case MPV_EVENT_HOOK: {
        const auto* hook = static_cast<const mpv_event_hook*>(event.data);
        ChooseDecoderThreads();
        mpv_.ContinueHook(hook->id);
        break;
    }
    case MPV_EVENT_PLAYBACK_RESTART:
        seeking_ = false;
        if (pendingSeek_) {
            const std::string target = std::to_string(*std::exchange(pendingSeek_, std::nullopt));
            seeking_ = mpv_.Run({"seek", target.c_str(), "absolute+exact"}) >= 0;
        }
        break;
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (event.reply_userdata == EofReachedId && property->format == MPV_FORMAT_FLAG) {
            atEnd_ = *static_cast<const int*>(property->data) != 0;
            stillPosition_.reset();
            if (!atEnd_) break;
            seeking_ = false;
            if (mode_ == Mode::Playing) mode_ = Mode::Stopped;
        } else if (event.reply_userdata == TimePosId && property->format == MPV_FORMAT_DOUBLE && playTo_
            && mode_ == Mode::Playing && *static_cast<const double*>(property->data) >= *playTo_) {
            Stop();
        }
        break;
    }
    default: break;
    }
}

unsigned MpegVideoDevice::Execute(const Command& command, std::string& reply)
{
    Arguments args(command.arguments);
    const std::string& verb = command.verb;
    if (verb == "status") return Status(args, reply);
    if (verb == "info") return Info(args, reply);
    if (verb == "where") return Where(args, reply);
    if (verb == "window") return Window(args);
    if (verb == "put") return Put(args);
    if (verb == "set") return Set(args);
    if (verb == "setaudio") return SetAudio(args);
    if (verb == "setvideo") return SetVideo(args);

    const bool transport
        = verb == "play" || verb == "pause" || verb == "resume" || verb == "stop" || verb == "seek" || verb == "step";
    if (!transport) return Err::UnrecognizedCommand;
    mpv_.Drain();
    if (!loaded_) return Err::DeviceNotReady;
    if (verb == "play") return Play(args, command.wait);
    if (verb == "seek") return Seek(args);
    if (verb == "step") return Step(args);
    if (const unsigned error = args.Finish()) return error;
    if (verb == "pause") Pause();
    if (verb == "resume") Resume();
    if (verb == "stop") Stop();
    return 0;
}

// The file is open and its tracks known, but no decoder has started yet. Each decoding thread keeps
// pictures of its own, so a picture gets the threads its size and rate need, not one for every
// processor (libmpv's own choice): four for every 1920x1080 at 30 pictures a second, at least two,
// and never more than libmpv would take.
void MpegVideoDevice::ChooseDecoderThreads()
{
    const std::int64_t tracks = mpv_.Int("track-list/count");
    for (std::int64_t i = 0; i < tracks; ++i) {
        const std::string track = "track-list/" + Number(i) + "/";
        if (mpv_.String((track + "type").c_str()) != "video") continue;
        const double width = static_cast<double>(mpv_.Int((track + "demux-w").c_str()));
        const double height = static_cast<double>(mpv_.Int((track + "demux-h").c_str()));
        double rate = mpv_.Double((track + "demux-fps").c_str());
        if (rate <= 0) rate = 30;
        const int most = static_cast<int>(std::max(1u, std::thread::hardware_concurrency())) + 1;
        const int wanted = static_cast<int>(std::ceil(4.0 * width * height * rate / (1920.0 * 1080.0 * 30.0)));
        if (width > 0 && height > 0) mpv_.Set("vd-lavc-threads", Number(std::clamp(wanted, 2, most)));
        return;
    }
}

// --- Playback ---

unsigned MpegVideoDevice::Play(Arguments& args, bool wait)
{
    std::optional<std::int64_t> from;
    std::optional<std::int64_t> to;
    bool fullScreen = false;
    while (!args.AtEnd()) {
        std::int64_t value = 0;
        if (args.Take("from")) {
            if (from) return Err::DuplicateFlags;
            if (const unsigned error = args.TakeInteger(value)) return error;
            from = value;
        } else if (args.Take("to")) {
            if (to) return Err::DuplicateFlags;
            if (const unsigned error = args.TakeInteger(value)) return error;
            to = value;
        } else if (args.Take("fullscreen")) {
            fullScreen = true;
        } else if (!args.Take("window")) {
            return Err::UnrecognizedKeyword;
        }
    }
    if (from)
        if (const unsigned error = CheckPosition(*from)) return error;
    if (to)
        if (const unsigned error = CheckPosition(*to)) return error;
    if (from && to && *to < *from) return Err::OutOfRange;

    ShowVideo();
    if (fullScreen) mpv_.SetFlag("fullscreen", true);
    // Playing on from place to place in quick succession, as fast forward and rewind do, winds.
    if (from) SeekTo(ToSeconds(*from), !to && !wait && mode_ == Mode::Playing);
    if (to) StopAt(ToSeconds(*to));

    mode_ = Mode::Playing;
    stillPosition_.reset();
    mpv_.SetFlag("pause", false);
    if (atEnd_ || (playTo_ && Position() >= *playTo_)) Stop();

    if (wait && mode_ == Mode::Playing) {
        const double left = (Length() - Position()) * 1000.0 / static_cast<double>(speed_);
        mpv_.WaitUntil([this] { return mode_ != Mode::Playing || !loaded_; }, static_cast<int>(left * 1000) + 5000);
    }
    return 0;
}

// Like the devices it stands in for, stop keeps the position: "seek ... to start" rewinds.
// libmpv's own stop would unload the file, so the device only pauses it.
void MpegVideoDevice::Stop()
{
    if (playTo_) {
        playTo_.reset();
        mpv_.Unobserve(TimePosId);
    }
    mpv_.SetFlag("pause", true);
    mode_ = Mode::Stopped;
}

void MpegVideoDevice::Pause()
{
    if (mode_ != Mode::Playing) return;
    mpv_.SetFlag("pause", true);
    mode_ = Mode::Paused;
}

void MpegVideoDevice::Resume()
{
    if (mode_ != Mode::Paused) return;
    mode_ = Mode::Playing;
    stillPosition_.reset();
    mpv_.SetFlag("pause", false);
    if (atEnd_) Stop();
}

void MpegVideoDevice::StopAt(double seconds)
{
    if (!playTo_) mpv_.Observe(TimePosId, "time-pos", MPV_FORMAT_DOUBLE);
    playTo_ = seconds;
}

// Moves to the position and waits until the picture and sound there are ready, so that the
// next query already reports it.
void MpegVideoDevice::SeekTo(double seconds, bool mayWind)
{
    if (playTo_) {
        playTo_.reset();
        mpv_.Unobserve(TimePosId);
    }
    const bool winding = mayWind && lastSeek_.isValid() && lastSeek_.elapsed() < WindGapMs && loaded_;
    lastSeek_.start();
    mpv_.SetFlag("pause", true);
    if (winding) {
        // The position is the newest target at once; the picture follows as fast as the file
        // can be decoded, and seeks that libmpv has not begun yet are dropped for newer ones.
        stillPosition_.reset();
        seekedTo_ = seconds;
        atEnd_ = Length() > 0 && seconds >= Length();
        mpv_.Drain();
        if (seeking_) {
            pendingSeek_ = seconds;
            return;
        }
        const std::string target = std::to_string(seconds);
        seeking_ = mpv_.Run({"seek", target.c_str(), "absolute+exact"}) >= 0;
        return;
    }
    pendingSeek_.reset();
    mpv_.Drain();
    const std::string target = std::to_string(seconds);
    stillPosition_.reset();
    seeking_ = true;
    if (mpv_.Run({"seek", target.c_str(), "absolute+exact"}) >= 0)
        mpv_.WaitUntil([this] { return !seeking_ || !loaded_; }, SeekTimeoutMs);
    seeking_ = false;
    seekedTo_ = seconds;
    atEnd_ = Length() > 0 && seconds >= Length();
    lastSeek_.start();
}

unsigned MpegVideoDevice::Seek(Arguments& args)
{
    if (!args.Take("to")) return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    double seconds = 0;
    if (args.Take("start")) {
        seconds = 0;
    } else if (args.Take("end")) {
        seconds = Length();
    } else {
        std::int64_t units = 0;
        if (const unsigned error = args.TakeInteger(units)) return error;
        if (const unsigned error = CheckPosition(units)) return error;
        seconds = ToSeconds(units);
    }
    if (const unsigned error = args.Finish()) return error;
    SeekTo(seconds);
    mode_ = Mode::Stopped;
    return 0;
}

unsigned MpegVideoDevice::Step(Arguments& args)
{
    std::int64_t frames = 1;
    bool reverse = false;
    while (!args.AtEnd()) {
        if (args.Take("by")) {
            if (const unsigned error = args.TakeInteger(frames)) return error;
        } else if (args.Take("reverse")) {
            reverse = true;
        } else {
            return Err::UnrecognizedKeyword;
        }
    }
    if (!hasVideo_) return Err::UnsupportedFunction;
    if (reverse) frames = -frames;
    const auto last = static_cast<std::int64_t>(std::llround(Length() * frameRate_));
    const std::int64_t now = std::llround(Position() * frameRate_);
    const std::int64_t target = std::clamp<std::int64_t>(now + frames, 0, last);
    SeekTo(static_cast<double>(target) / frameRate_);
    mode_ = Mode::Paused;
    return 0;
}

double MpegVideoDevice::Position()
{
    mpv_.Drain();
    if (atEnd_) return Length();
    // Until a wind's seek is done, the position is where it went.
    if (seeking_ || pendingSeek_) return Length() > 0 ? std::min(seekedTo_, Length()) : seekedTo_;
    const bool still = mode_ != Mode::Playing && !seeking_;
    if (still && stillPosition_) return *stillPosition_;
    // Playback only moves forward from a seek, but after one from a pause libmpv reports a moment
    // before its target until the sound has started again.
    double seconds = std::max({0.0, mpv_.Double("time-pos"), seekedTo_});
    if (Length() > 0) seconds = std::min(seconds, Length());
    if (still) stillPosition_ = seconds;
    return seconds;
}

std::int64_t MpegVideoDevice::ToUnits(double seconds) const
{
    return timeFormat_ == TimeFormat::Frames ? std::llround(seconds * frameRate_) : std::llround(seconds * 1000.0);
}

double MpegVideoDevice::ToSeconds(std::int64_t units) const
{
    return timeFormat_ == TimeFormat::Frames ? static_cast<double>(units) / frameRate_
                                             : static_cast<double>(units) / 1000.0;
}

unsigned MpegVideoDevice::CheckPosition(std::int64_t units) const
{
    return units < 0 || units > ToUnits(Length()) ? Err::OutOfRange : 0;
}

std::string MpegVideoDevice::ModeText()
{
    mpv_.Drain();
    if (!loaded_) return "not ready";
    switch (mode_) {
    case Mode::Playing: return "playing";
    case Mode::Paused: return "paused";
    case Mode::Stopped: break;
    }
    return "stopped";
}

// --- Settings ---

unsigned MpegVideoDevice::Set(Arguments& args)
{
    std::optional<TimeFormat> timeFormat;
    std::optional<std::int64_t> speed;
    std::optional<bool> video;
    struct AudioSwitch {
        bool left;
        bool right;
        bool on;
    };
    std::vector<AudioSwitch> audio;
    if (args.AtEnd()) return Err::MissingParameter;
    while (!args.AtEnd()) {
        if (args.Take({"time", "format"})) {
            if (args.Take("milliseconds") || args.Take("ms"))
                timeFormat = TimeFormat::Milliseconds;
            else if (args.Take("frames"))
                timeFormat = TimeFormat::Frames;
            else
                return args.AtEnd() ? Err::MissingParameter : Err::BadTimeFormat;
        } else if (args.Take("speed")) {
            std::int64_t value = 0;
            if (const unsigned error = args.TakeInteger(value)) return error;
            if (value < 10 || value > 100000) return Err::OutOfRange;
            speed = value;
        } else if (args.Take("audio")) {
            AudioSwitch change {true, true, true};
            if (args.Take("left"))
                change.right = false;
            else if (args.Take("right"))
                change.left = false;
            else
                args.Take("all");
            if (const unsigned error = TakeOnOff(args, change.on)) return error;
            audio.push_back(change);
        } else if (args.Take("video")) {
            bool on = true;
            if (const unsigned error = TakeOnOff(args, on)) return error;
            video = on;
        } else {
            return Err::UnrecognizedKeyword;
        }
    }
    if (timeFormat == TimeFormat::Frames && !hasVideo_) return Err::BadTimeFormat;

    if (timeFormat) timeFormat_ = *timeFormat;
    if (speed) {
        speed_ = *speed;
        mpv_.SetDouble("speed", static_cast<double>(speed_) / 1000.0);
    }
    for (const AudioSwitch& change : audio) {
        if (change.left) leftOn_ = change.on;
        if (change.right) rightOn_ = change.on;
    }
    if (!audio.empty()) ApplyAudio();
    if (video) {
        videoOn_ = *video;
        ApplyVideo();
    }
    return 0;
}

unsigned MpegVideoDevice::SetAudio(Arguments& args)
{
    std::int64_t* target = &volume_;
    if (args.Take("left"))
        target = &leftVolume_;
    else if (args.Take("right"))
        target = &rightVolume_;
    if (!args.Take("volume")) return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    args.Take("to");
    std::int64_t value = 0;
    if (const unsigned error = args.TakeInteger(value)) return error;
    if (const unsigned error = args.Finish()) return error;
    if (value < 0 || value > 1000) return Err::OutOfRange;
    *target = value;
    ApplyAudio();
    return 0;
}

// The overall volume is libmpv's, whose scale is cubic: 0..1000 here is the share of the full
// amplitude. The two channels get their own gains in a filter that is changed while playing;
// it is left out while both play at full gain.
void MpegVideoDevice::ApplyAudio()
{
    mpv_.SetFlag("mute", !leftOn_ && !rightOn_);
    mpv_.SetDouble("volume", 100.0 * std::cbrt(static_cast<double>(volume_) / 1000.0));

    const double left = leftOn_ ? static_cast<double>(leftVolume_) / 1000.0 : 0.0;
    const double right = rightOn_ ? static_cast<double>(rightVolume_) / 1000.0 : 0.0;
    std::string filter;
    if (left != 1.0 || right != 1.0) {
        char graph[160];
        std::snprintf(graph, sizeof graph, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=%.3f*c0|c1=%.3f*c1]",
            left, right);
        filter = graph;
    }
    if (filter == audioFilter_) return;
    if (mpv_.Set("af", filter) >= 0) audioFilter_ = filter;
}

unsigned MpegVideoDevice::SetVideo(Arguments& args)
{
    bool on = true;
    if (const unsigned error = TakeOnOff(args, on)) return error;
    if (const unsigned error = args.Finish()) return error;
    videoOn_ = on;
    ApplyVideo();
    return 0;
}

// Shows the picture window, the first time the device plays or is bound to a window. A file
// without pictures never shows it.
void MpegVideoDevice::ShowVideo()
{
    if (videoShown_ || !hasVideo_) return;
    videoShown_ = true;
    if (video_) video_->Show(static_cast<int>(videoWidth_), static_cast<int>(videoHeight_));
}

// Switching the output to null hides the picture; switching it back starts the output again, into
// the same window.
void MpegVideoDevice::ApplyVideo()
{
    if (!hasVideo_) return;
    const std::string wanted = videoOn_ ? core_->VideoOutput() : "null";
    if (mpv_.String("vo") != wanted) mpv_.Set("vo", wanted);
}

// --- Queries ---

unsigned MpegVideoDevice::Status(Arguments& args, std::string& reply)
{
    if (args.AtEnd()) return Err::MissingParameter;
    std::string answer;
    const bool frames = hasVideo_ && frameRate_ > 0;
    if (args.Take("length")) {
        answer = Number(ToUnits(Length()));
    } else if (args.Take("position")) {
        answer = Number(ToUnits(Position()));
    } else if (args.Take("mode")) {
        answer = ModeText();
    } else if (args.Take("ready")) {
        mpv_.Drain();
        answer = loaded_ ? "true" : "false";
    } else if (args.Take("volume")) {
        answer = Number(volume_);
    } else if (args.Take({"left", "volume"})) {
        answer = Number(leftVolume_);
    } else if (args.Take({"right", "volume"})) {
        answer = Number(rightVolume_);
    } else if (args.Take("speed")) {
        answer = Number(speed_);
    } else if (args.Take({"time", "format"})) {
        answer = timeFormat_ == TimeFormat::Frames ? "frames" : "milliseconds";
    } else if (args.Take({"nominal", "frame", "rate"})) {
        if (!frames) return Err::UnsupportedFunction;
        answer = Number(std::llround(frameRate_ * 1000.0));
    } else if (args.Take({"frame", "rate"})) {
        if (!frames) return Err::UnsupportedFunction;
        answer = Number(std::llround(frameRate_ * static_cast<double>(speed_)));
    } else if (args.Take("bitsperpel")) {
        if (!hasVideo_) return Err::UnsupportedFunction;
        answer = Number(BitsPerPixel(mpv_.String("video-params/pixelformat")));
    } else if (args.Take("audio")) {
        answer = leftOn_ || rightOn_ ? "on" : "off";
    } else if (args.Take("video")) {
        answer = videoOn_ ? "on" : "off";
    } else if (args.Take("monitor")) {
        if (!args.Take("input")) args.Take("output");
        answer = "file";
    } else {
        return Err::UnrecognizedKeyword;
    }
    if (const unsigned error = args.Finish()) return error;
    reply = answer;
    return 0;
}

unsigned MpegVideoDevice::Info(Arguments& args, std::string& reply)
{
    std::string answer;
    if (args.Take("product")) {
        answer = "MPEGVideo (libmpv)";
    } else if (args.Take("version")) {
        const unsigned long version = mpv_client_api_version();
        answer = Number(static_cast<std::int64_t>(version >> 16)) + "."
            + Number(static_cast<std::int64_t>(version & 0xffff));
    } else {
        return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    }
    if (const unsigned error = args.Finish()) return error;
    reply = answer;
    return 0;
}

// --- Window ---

unsigned MpegVideoDevice::Window(Arguments& args)
{
    std::optional<std::int64_t> handle;
    std::optional<std::string> state;
    if (args.AtEnd()) return Err::MissingParameter;
    while (!args.AtEnd()) {
        if (args.Take("handle")) {
            std::int64_t value = 0;
            if (!args.Take("default"))
                if (const unsigned error = args.TakeInteger(value, 0, INT64_MAX)) return error;
            handle = value;
        } else if (args.Take("state")) {
            static const char* const states[]
                = {"hide", "show", "minimize", "minimized", "maximized", "restore", "normal", "iconic"};
            std::string word;
            if (const unsigned error = args.TakeString(word)) return error;
            bool known = false;
            for (const char* s : states)
                known = known || SameWord(word, s);
            if (!known) return Err::BadConstant;
            state = Lower(word);
        } else {
            return Err::UnrecognizedKeyword;
        }
    }
    if (state) windowState_ = *state;
    if (handle) {
        window_ = *handle;
        if (video_) video_->BindTo(window_);
        ShowVideo();
    }
    return 0;
}

unsigned MpegVideoDevice::Put(Arguments& args)
{
    std::optional<Rect>* target = nullptr;
    if (args.Take("destination"))
        target = &destination_;
    else if (args.Take("window"))
        target = &windowRect_;
    else
        return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    std::optional<Rect> rect;
    if (args.Take("at")) {
        Rect r {};
        for (std::int64_t& v : r)
            if (const unsigned error = args.TakeInteger(v)) return error;
        if (r[2] < 0 || r[3] < 0) return Err::OutOfRange;
        rect = r;
    }
    if (const unsigned error = args.Finish()) return error;
    *target = rect;
    return 0;
}

MpegVideoDevice::Rect MpegVideoDevice::SourceRect() const { return {0, 0, videoWidth_, videoHeight_}; }

// The window the picture is drawn into: the bound window's size when it belongs to this
// process, else the size put for the device's own window, else the picture's own size.
MpegVideoDevice::Rect MpegVideoDevice::WindowRect() const
{
    if (window_ != 0)
        if (const QWidget* widget = QWidget::find(static_cast<WId>(window_)))
            return {0, 0, widget->width(), widget->height()};
    if (windowRect_) return *windowRect_;
    return SourceRect();
}

unsigned MpegVideoDevice::Where(Arguments& args, std::string& reply)
{
    Rect rect {};
    if (args.Take("source")) {
        args.Take("max");
        rect = SourceRect();
    } else if (args.Take("destination")) {
        const bool max = args.Take("max");
        const Rect window = WindowRect();
        rect = !max && destination_ ? *destination_ : Rect {0, 0, window[2], window[3]};
    } else if (args.Take("window")) {
        args.Take("max");
        rect = WindowRect();
    } else {
        return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    }
    if (const unsigned error = args.Finish()) return error;
    reply = RectText(rect);
    return 0;
}

} // namespace mci
