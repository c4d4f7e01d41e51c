#include "platform/mci/PlaybackCore.h"

#include "platform/mci/Device.h"

#include <QCoreApplication>
#include <malloc.h>

namespace mci {

namespace {

// How long a core given back may take to stop its file before it is destroyed instead.
constexpr int StopTimeoutMs = 3000;

// The settings a device changes, and those a file's playback could leave changed: the next device
// finds each as a new core has it. The video output comes last, once the core is idle, so that a
// device that had switched it off does not start it again for nothing.
constexpr const char* ResetSettings[] = {"pause", "speed", "volume", "mute", "af", "vf", "fullscreen",
    "vd-lavc-threads", "video-aspect-override", "video-zoom", "panscan", "loop-file", "keep-open", "vo"};

// The window the picture is drawn into; none without a display.
std::unique_ptr<VideoWindow> PictureWindow()
{
    if (NullOutputs()) return nullptr;
    auto window = std::make_unique<VideoWindow>();
    return window->Ok() ? std::move(window) : nullptr;
}

// glibc's allocator raises its threshold for giving a large block a mapping of its own to the size
// of each such block freed, up to 32 MB, and lets each arena keep twice that threshold free at its
// top (mallopt(3), M_MMAP_THRESHOLD). The playback library's threads free large blocks with every
// file they play, and a file's new threads often get arenas that earlier files did not use: each
// such arena then keeps another 10 MB or so, also with the core kept. A threshold that is set
// (to glibc's own starting value) is never adjusted: large blocks are mapped and given back when
// freed, and arenas are trimmed as they empty.
void FixAllocatorThreshold()
{
    [[maybe_unused]] static const bool fixed = mallopt(M_MMAP_THRESHOLD, 128 * 1024) == 1;
}

std::unique_ptr<PlaybackCore>& Kept()
{
    static std::unique_ptr<PlaybackCore> core;
    return core;
}

bool dropAdded = false;

// The kept core goes while the application object is being destroyed, with the display connection
// still open: its output leaves the picture window before the window goes.
void DropKept()
{
    dropAdded = false;
    Kept().reset();
}

} // namespace

PlaybackCore::PlaybackCore()
    : window_(PictureWindow())
    , session_(VideoOutput(), NullOutputs() ? "null" : "", [this](const mpv_event& event) { Forward(event); })
{
    // The output starts once, with the first file, into the picture window.
    if (window_) session_.Set("wid", std::to_string(window_->Id()));
    session_.Observe(EofReached, "eof-reached", MPV_FORMAT_FLAG);
    // A hook cannot be taken back (client.h, mpv_hook_add): one for the core's whole life.
    session_.AddHook("on_preloaded");
    for (const char* name : ResetSettings)
        madeWith_.emplace_back(name, session_.String(name));
}

PlaybackCore::~PlaybackCore() = default;

std::unique_ptr<PlaybackCore> PlaybackCore::Take(MpvSession::Listener listener)
{
    std::unique_ptr<PlaybackCore> core = QCoreApplication::instance() ? std::move(Kept()) : nullptr;
    if (!core) {
        FixAllocatorThreshold();
        core.reset(new PlaybackCore);
    }
    core->started_ = false;
    core->listener_ = std::move(listener);
    return core;
}

void PlaybackCore::Give(std::unique_ptr<PlaybackCore> core)
{
    if (!core) return;
    core->listener_ = nullptr;
    // Without an application object (or after it) there is no safe moment to destroy a kept core.
    if (!QCoreApplication::instance() || Kept() || !core->session_.Ok() || !core->Reset()) return;
    Kept() = std::move(core);
    if (!dropAdded) qAddPostRoutine(&DropKept);
    dropAdded = true;
}

void PlaybackCore::Forward(const mpv_event& event)
{
    if (event.event_id == MPV_EVENT_START_FILE) {
        ++unfinished_;
        started_ = true;
    }
    if (event.event_id == MPV_EVENT_END_FILE) --unfinished_;
    // Until its own file starts, a device hears only the values of the properties it watches: the
    // reports the file before left behind (its end, its outputs' ends) go unheard.
    if (listener_ && (started_ || event.event_id == MPV_EVENT_PROPERTY_CHANGE)) {
        listener_(event);
        return;
    }
    // Loading goes on only once a hook is answered, heard or not.
    if (event.event_id == MPV_EVENT_HOOK)
        session_.ContinueHook(static_cast<const mpv_event_hook*>(event.data)->id);
}

// Stops the file and sets the core back as it was made; false when it does not stop in time.
bool PlaybackCore::Reset()
{
    // libmpv ends the video output when it goes idle, unless a window is forced: a running output
    // is kept, and from then on it stays also through files without pictures.
    const bool outputOn = session_.String("vo") == VideoOutput() && !session_.String("current-vo").empty();
    session_.SetFlag("force-window", outputOn);

    // A started file's end is reported once it is unloaded (client.h, MPV_EVENT_END_FILE).
    session_.Run({"stop"});
    if (!session_.WaitUntil([this] { return unfinished_ <= 0; }, StopTimeoutMs)) return false;

    for (const auto& [name, value] : madeWith_)
        if (session_.String(name) != value) session_.Set(name, value);
    if (window_) window_->Hide();
    return true;
}

} // namespace mci
