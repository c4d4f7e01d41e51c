#pragma once

#include <QString>
#include <memory>
#include <optional>

struct mpv_event;

namespace mci {

class MpvSession;

// Plays a drive's audio tracks with libmpv, from a stream that runs from the start of the first
// audio track to the end of the last (DiscAudioStream). Times are seconds from the start of that
// stream. All calls are synchronous and come from the user-interface thread: starting playback
// returns once the stream is open and playing from the position asked for.
class CddaPlayer {
public:
    explicit CddaPlayer(QString device);
    ~CddaPlayer();
    CddaPlayer(const CddaPlayer&) = delete;
    CddaPlayer& operator=(const CddaPlayer&) = delete;

    // The drive or image the next stream is opened from; a change unloads the current one.
    void SetDevice(const QString& device);
    bool PlayFrom(double seconds);
    void Pause();
    void Stop(); // unloads the disc stream
    // Playing and not at the end of the disc.
    bool Playing();
    // The playback time, when a stream is loaded and has one.
    std::optional<double> Time();

private:
    bool Open();
    void OnEvent(const mpv_event& event);

    std::unique_ptr<MpvSession> mpv_;
    QString device_;
    bool loaded_ = false;
    bool playing_ = false;
    bool seeking_ = false; // a seek is under way; the time reported is its target
    double target_ = 0; // where playback was last sent
};

} // namespace mci
