#pragma once

#include "platform/mci/MpvSession.h"
#include "platform/mci/VideoWindow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace mci {

// The player a video device plays its file with: one libmpv core, its outputs, and the picture
// window its video output draws into.
//
// A core leaves memory behind when it goes: its threads, and those of each start of its video
// output (the software OpenGL driver's among them), allocate from arenas of their own in the C
// library's allocator, which keeps what they freed after they end, 10 to 20 MB a core that the
// process never gets back. So a closed device hands its core on to the next device that opens,
// stopped, with its video output still running, as a player keeps its output from one file of a
// playlist to the next; the next file's picture also shows sooner. One core is kept so; a device
// that opens while it is in use gets a core of its own.
class PlaybackCore {
public:
    // The ids of the core's reports about properties. The core watches eof-reached for its device
    // from the start; a device may watch time-pos while it plays up to a position.
    enum Report : std::uint64_t { EofReached = 1, TimePos = 2 };

    // The kept core, or a new one. From now on its reports go to the listener, from the start of
    // the next file on; the listener answers the hook it is given before a file's decoders start
    // ("on_preloaded").
    static std::unique_ptr<PlaybackCore> Take(MpvSession::Listener listener);
    // The core of a closed device: kept for the next device once it is stopped and set back as it
    // was made, or destroyed when another is kept already or it does not stop.
    static void Give(std::unique_ptr<PlaybackCore> core);

    ~PlaybackCore();
    PlaybackCore(const PlaybackCore&) = delete;
    PlaybackCore& operator=(const PlaybackCore&) = delete;

    MpvSession& Session() { return session_; }
    // The window the picture is drawn into; null without a display.
    VideoWindow* Window() const { return window_.get(); }
    // The video output that draws the picture: OpenGL (or plain X11 drawing) into the picture
    // window, or "null" without one.
    const char* VideoOutput() const { return window_ ? "gpu,x11" : "null"; }

private:
    PlaybackCore();
    void Forward(const mpv_event& event);
    bool Reset();

    // Made before the player core and so destroyed after it: the core draws into it to the end.
    std::unique_ptr<VideoWindow> window_;
    MpvSession::Listener listener_;
    MpvSession session_;
    // Files started and not yet ended.
    int unfinished_ = 0;
    // Whether the device's own file has started.
    bool started_ = false;
    // The settings a device may change, with their values as the core was made.
    std::vector<std::pair<const char*, std::string>> madeWith_;
};

} // namespace mci
