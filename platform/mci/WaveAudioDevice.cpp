#include "platform/mci/WaveAudioDevice.h"

#include "platform/mci/Errors.h"
#include "platform/mci/WaveFile.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstring>

namespace mci {

DeviceFactory WaveAudioFactory()
{
    return [](const std::string& element, std::unique_ptr<Device>& device) -> unsigned {
        // Only new, empty recordings are opened; files are not.
        if (!element.empty() && !SameWord(element, "new")) return Err::UnsupportedFunction;
        auto wave = std::make_unique<WaveAudioDevice>();
        if (const unsigned error = wave->Open()) return error;
        device = std::move(wave);
        return 0;
    };
}

namespace {

// A recording closed and another opened at once (the sound recorder closes every device and opens
// a new recording at each Record) takes over the closed one's connection with its capture stream
// standing by, so that the sound of the click is not lost to a new stream's start. A connection
// nobody takes over within a second is closed, and so is one the application leaves behind.
class ParkingPlace : public QObject {
public:
    explicit ParkingPlace(QObject* application)
        : QObject(application)
    {
        timer_.setSingleShot(true);
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { sound_.reset(); });
    }
    ~ParkingPlace() override;

    void Park(std::unique_ptr<SoundServer> sound)
    {
        sound_ = std::move(sound);
        place_ = Place();
        timer_.start();
    }

    std::unique_ptr<SoundServer> Take()
    {
        std::unique_ptr<SoundServer> sound = std::move(sound_);
        timer_.stop();
        if (!sound || place_ != Place() || sound->Failed() || !sound->StandingBy()) return nullptr;
        return sound;
    }

private:
    // The server and source a new connection would use, as far as the environment names them.
    static QByteArray Place()
    {
        return qgetenv("PULSE_SERVER") + '\n' + qgetenv("PULSE_SOURCE") + '\n' + qgetenv("XDG_RUNTIME_DIR");
    }

    std::unique_ptr<SoundServer> sound_;
    QByteArray place_;
    QTimer timer_;
};

ParkingPlace* parking = nullptr;

ParkingPlace::~ParkingPlace() { parking = nullptr; }

void Park(std::unique_ptr<SoundServer> sound)
{
    // Without an application (the process is ending) the connection simply closes.
    if (!QCoreApplication::instance() || sound->Failed() || !sound->StandingBy()) return;
    if (!parking) parking = new ParkingPlace(QCoreApplication::instance());
    parking->Park(std::move(sound));
}

std::unique_ptr<SoundServer> TakeParked() { return parking ? parking->Take() : nullptr; }

} // namespace

WaveAudioDevice::~WaveAudioDevice()
{
    sound_->Stop();
    Park(std::move(sound_));
}

unsigned WaveAudioDevice::Open()
{
    if (auto sound = TakeParked()) {
        sound_ = std::move(sound);
        return 0;
    }
    if (!sound_->Connect()) return Err::WaveInputsUnsuitable;
    sound_->StandBy(format_);
    return 0;
}

unsigned WaveAudioDevice::Execute(const Command& command, std::string& reply)
{
    Arguments args(command.arguments);
    const std::string& verb = command.verb;
    if (verb == "record") return Record(args);
    if (verb == "play") return Play(args);
    if (verb == "seek") return Seek(args);
    if (verb == "save") return Save(args);
    if (verb == "set") return Set(args);
    if (verb == "status") return Status(args, reply);
    if (verb == "stop") {
        if (const unsigned error = args.Finish()) return error;
        Stop();
        return 0;
    }
    return Err::UnsupportedFunction;
}

void WaveAudioDevice::Stop()
{
    sound_->Stop();
    mode_ = Mode::Stopped;
}

std::size_t WaveAudioDevice::Length() const
{
    std::lock_guard lock(mutex_);
    return data_.size();
}

std::size_t WaveAudioDevice::Position() const
{
    std::lock_guard lock(mutex_);
    return position_;
}

std::int64_t WaveAudioDevice::ToUnits(std::size_t bytes) const
{
    switch (timeFormat_) {
    case TimeFormat::Bytes: return std::int64_t(bytes);
    case TimeFormat::Samples: return std::int64_t(bytes / std::size_t(format_.BlockAlign()));
    case TimeFormat::Milliseconds: break;
    }
    return std::int64_t(bytes * 1000 / std::size_t(format_.BytesPerSecond()));
}

// Reads a time in the time format as a byte offset on a whole sample; beyond the end is refused.
unsigned WaveAudioDevice::TakeTime(Arguments& args, std::size_t& bytes) const
{
    std::int64_t units = 0;
    if (const unsigned error = args.TakeInteger(units, 0, INT32_MAX)) return error;
    const auto align = std::size_t(format_.BlockAlign());
    std::size_t offset = std::size_t(units);
    if (timeFormat_ == TimeFormat::Milliseconds)
        offset = std::size_t(units) * std::size_t(format_.BytesPerSecond()) / 1000;
    else if (timeFormat_ == TimeFormat::Samples)
        offset = std::size_t(units) * align;
    offset -= offset % align;
    if (offset > Length()) return Err::OutOfRange;
    bytes = offset;
    return 0;
}

unsigned WaveAudioDevice::Record(Arguments& args)
{
    if (const unsigned error = args.Finish()) return error;
    if (mode_ == Mode::Recording) return 0;
    Stop();
    const bool started = sound_->Record(format_, [this](const char* data, std::size_t bytes) {
        std::lock_guard lock(mutex_);
        data_.insert(position_, data, bytes);
        position_ += bytes;
    });
    if (!started) return Err::WaveInputsUnsuitable;
    mode_ = Mode::Recording;
    return 0;
}

unsigned WaveAudioDevice::Play(Arguments& args)
{
    std::size_t from = Position();
    std::size_t to = Length();
    while (!args.AtEnd()) {
        if (args.Take("from")) {
            if (const unsigned error = TakeTime(args, from)) return error;
        } else if (args.Take("to")) {
            if (const unsigned error = TakeTime(args, to)) return error;
        } else {
            return Err::UnrecognizedKeyword;
        }
    }
    if (to < from) return Err::OutOfRange;
    Stop();
    {
        std::lock_guard lock(mutex_);
        position_ = from;
        playEnd_ = to;
    }
    if (from == to) return 0;

    const std::size_t align = std::size_t(format_.BlockAlign());
    const bool started = sound_->Play(
        format_,
        [this, align](char* buffer, std::size_t bytes) {
            std::lock_guard lock(mutex_);
            std::size_t n = std::min(bytes, playEnd_ - std::min(playEnd_, position_));
            n -= n % align;
            std::memcpy(buffer, data_.data() + position_, n);
            position_ += n;
            return n;
        },
        [this] { mode_ = Mode::Stopped; });
    if (!started) return Err::WaveOutputsUnsuitable;
    mode_ = Mode::Playing;
    return 0;
}

unsigned WaveAudioDevice::Seek(Arguments& args)
{
    if (!args.Take("to")) return args.AtEnd() ? Err::MissingParameter : Err::UnrecognizedKeyword;
    std::size_t target = 0;
    if (args.Take("start")) {
        target = 0;
    } else if (args.Take("end")) {
        target = Length();
    } else if (const unsigned error = TakeTime(args, target)) {
        return error;
    }
    if (const unsigned error = args.Finish()) return error;
    Stop();
    std::lock_guard lock(mutex_);
    position_ = target;
    return 0;
}

unsigned WaveAudioDevice::Save(Arguments& args)
{
    std::string file;
    if (args.AtEnd()) return Err::UnnamedResource;
    args.TakeString(file);
    if (const unsigned error = args.Finish()) return error;
    if (file.empty()) return Err::FilenameRequired;

    std::string copy;
    {
        std::lock_guard lock(mutex_);
        copy = data_;
    }
    return WriteWaveFile(file, format_, copy) ? 0 : Err::FileNotSaved;
}

unsigned WaveAudioDevice::Set(Arguments& args)
{
    if (args.Take({"time", "format"})) {
        if (args.Take("ms") || args.Take("milliseconds"))
            timeFormat_ = TimeFormat::Milliseconds;
        else if (args.Take("bytes"))
            timeFormat_ = TimeFormat::Bytes;
        else if (args.Take("samples"))
            timeFormat_ = TimeFormat::Samples;
        else
            return Err::BadTimeFormat;
        return args.Finish();
    }
    return SetFormat(args);
}

unsigned WaveAudioDevice::SetFormat(Arguments& args)
{
    std::int64_t alignment = -1;
    std::int64_t bytesPerSecond = -1;
    PcmFormat format = format_;
    bool any = false;
    while (!args.AtEnd()) {
        std::int64_t value = 0;
        unsigned error = 0;
        if (args.Take({"format", "tag"})) {
            if (!args.Take("pcm")) {
                error = args.TakeInteger(value);
                if (!error && value != 1) return Err::WaveSetInputUnsuitable;
            }
        } else if (args.Take("alignment")) {
            error = args.TakeInteger(alignment, 0, 65535);
        } else if (args.Take("bytespersec")) {
            error = args.TakeInteger(bytesPerSecond, 0);
        } else if (args.Take("bitspersample")) {
            error = args.TakeInteger(value, 0, 65535);
            format.bits = int(value);
        } else if (args.Take("samplespersec")) {
            error = args.TakeInteger(value, 0);
            format.rate = int(value);
        } else if (args.Take("channels")) {
            error = args.TakeInteger(value, 0, 65535);
            format.channels = int(value);
        } else {
            return Err::UnrecognizedKeyword;
        }
        if (error) return error;
        any = true;
    }
    if (!any) return Err::MissingParameter;

    if (format.bits != 8 && format.bits != 16) return Err::WaveSetInputUnsuitable;
    if (format.channels != 1 && format.channels != 2) return Err::WaveSetInputUnsuitable;
    if (format.rate < 1000 || format.rate > 192000) return Err::WaveSetInputUnsuitable;
    if (alignment >= 0 && alignment != format.BlockAlign()) return Err::OutOfRange;
    if (bytesPerSecond >= 0 && bytesPerSecond != format.BytesPerSecond()) return Err::OutOfRange;

    if (format.rate == format_.rate && format.channels == format_.channels && format.bits == format_.bits) return 0;
    // Sound already recorded keeps the format it was recorded in.
    if (mode_ != Mode::Stopped || Length() > 0) return Err::NonapplicableFunction;
    format_ = format;
    sound_->StandBy(format_);
    return 0;
}

unsigned WaveAudioDevice::Status(Arguments& args, std::string& reply)
{
    const auto number = [&](std::int64_t v) {
        reply = std::to_string(v);
        return 0u;
    };
    unsigned error = 0;
    if (args.Take("mode")) {
        Mode mode = mode_;
        if (sound_->Failed()) mode = Mode::Stopped; // the server went away under the stream
        reply = mode == Mode::Recording ? "recording" : mode == Mode::Playing ? "playing" : "stopped";
    } else if (args.Take("length")) {
        error = number(ToUnits(Length()));
    } else if (args.Take("position")) {
        error = number(ToUnits(Position()));
    } else if (args.Take({"start", "position"})) {
        error = number(0);
    } else if (args.Take("channels")) {
        error = number(format_.channels);
    } else if (args.Take("bitspersample")) {
        error = number(format_.bits);
    } else if (args.Take("samplespersec")) {
        error = number(format_.rate);
    } else if (args.Take("bytespersec")) {
        error = number(format_.BytesPerSecond());
    } else if (args.Take("alignment")) {
        error = number(format_.BlockAlign());
    } else if (args.Take({"format", "tag"})) {
        reply = "pcm";
    } else if (args.Take({"time", "format"})) {
        reply = timeFormat_ == TimeFormat::Bytes ? "bytes"
            : timeFormat_ == TimeFormat::Samples ? "samples"
                                                 : "milliseconds";
    } else if (args.Take("ready")) {
        reply = sound_->Failed() ? "false" : "true";
    } else if (args.Take({"media", "present"})) {
        reply = "true";
    } else if (args.Take({"number", "of", "tracks"}) || args.Take({"current", "track"})) {
        error = number(1);
    } else {
        return args.AtEnd() ? Err::MissingParameter : Err::UnsupportedFunction;
    }
    if (!error) error = args.Finish();
    if (error) reply.clear();
    return error;
}

} // namespace mci
