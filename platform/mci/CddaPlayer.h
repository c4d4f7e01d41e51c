#pragma once

#include <QString>
#include <optional>

struct mpv_handle;

namespace mci {

// Plays a drive's audio tracks with libmpv's cdda:// stream, which runs from the start of the first
// track to the end of the disc. Times are seconds from the start of that stream. All calls are
// synchronous and come from the user-interface thread; mpv's events are read when asked.
class CddaPlayer {
public:
    explicit CddaPlayer(QString device);
    ~CddaPlayer();
    CddaPlayer(const CddaPlayer&) = delete;
    CddaPlayer& operator=(const CddaPlayer&) = delete;

    bool PlayFrom(double seconds);
    void Pause();
    void Stop(); // unloads the disc stream
    // Playing and not at the end of the disc.
    bool Playing();
    // The playback time, when a stream is loaded and has one.
    std::optional<double> Time();

private:
    void DrainEvents();
    mpv_handle* mpv_ = nullptr;
    QString device_;
    bool loaded_ = false;
    bool playing_ = false;
};

} // namespace mci
