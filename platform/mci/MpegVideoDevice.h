#pragma once

#include "platform/mci/Device.h"
#include "platform/mci/PlaybackCore.h"

#include <QElapsedTimer>
#include <array>
#include <memory>
#include <optional>

namespace mci {

// The factory of the "MPEGVideo" device type: plays one audio or video file through libmpv.
DeviceFactory MpegVideoFactory();

// An open "MPEGVideo" device: one file, its playback state, its time format, its sound settings
// and the window its picture is drawn into. It plays with a player core that an earlier device
// may have handed on, and hands it on in turn when it is closed.
class MpegVideoDevice : public Device {
public:
    MpegVideoDevice();
    ~MpegVideoDevice() override;
    // Loads the file; 0, or the error that kept it from opening.
    unsigned Load(const std::string& file);

    unsigned Execute(const Command& command, std::string& reply) override;

private:
    using Rect = std::array<std::int64_t, 4>;
    enum class Mode { Stopped, Playing, Paused };
    enum class TimeFormat { Milliseconds, Frames };

    unsigned Play(Arguments& args, bool wait);
    unsigned Seek(Arguments& args);
    unsigned Step(Arguments& args);
    unsigned Set(Arguments& args);
    unsigned SetAudio(Arguments& args);
    unsigned SetVideo(Arguments& args);
    unsigned Status(Arguments& args, std::string& reply);
    unsigned Info(Arguments& args, std::string& reply);
    unsigned Window(Arguments& args);
    unsigned Put(Arguments& args);
    unsigned Where(Arguments& args, std::string& reply);

    void OnEvent(const mpv_event& event);
    void ChooseDecoderThreads();
    void Stop();
    void Pause();
    void Resume();
    void SeekTo(double seconds, bool mayWind = false);
    void StopAt(double seconds);
    void ShowVideo();
    void ApplyVideo();
    void ApplyAudio();

    double Length() const { return length_; }
    double Position();
    std::int64_t ToUnits(double seconds) const;
    double ToSeconds(std::int64_t units) const;
    unsigned CheckPosition(std::int64_t units) const;
    std::string ModeText();
    Rect SourceRect() const;
    Rect WindowRect() const;

    std::unique_ptr<PlaybackCore> core_;
    MpvSession& mpv_;
    VideoWindow* const video_;
    bool loaded_ = false;
    Mode mode_ = Mode::Stopped;
    TimeFormat timeFormat_ = TimeFormat::Milliseconds;
    bool atEnd_ = false;
    bool seeking_ = false;
    double seekedTo_ = 0; // where the last seek went
    // Seeks that follow each other closely (winding) do not wait for the picture: while libmpv
    // is still busy with one, only the newest target waits for it.
    QElapsedTimer lastSeek_;
    std::optional<double> pendingSeek_;
    // While nothing plays, the position moves only through a seek: it is asked of libmpv once
    // and kept until playback or a seek moves it (each question is a round trip through its core).
    std::optional<double> stillPosition_;
    std::optional<double> playTo_;

    double length_ = 0;
    bool hasVideo_ = false;
    std::int64_t videoWidth_ = 0;
    std::int64_t videoHeight_ = 0;
    double frameRate_ = 0;

    std::int64_t speed_ = 1000;
    std::int64_t volume_ = 1000;
    std::int64_t leftVolume_ = 1000;
    std::int64_t rightVolume_ = 1000;
    bool leftOn_ = true;
    bool rightOn_ = true;
    std::string audioFilter_;

    bool videoOn_ = true;
    bool videoShown_ = false;
    std::int64_t window_ = 0;
    std::string windowState_ = "show";
    std::optional<Rect> destination_;
    std::optional<Rect> windowRect_;
};

} // namespace mci
