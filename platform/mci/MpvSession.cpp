#include "platform/mci/MpvSession.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QObject>
#include <clocale>
#include <vector>

namespace mci {

MpvSession::MpvSession(const char* videoOutput, const char* audioOutput, Listener listener)
    : listener_(std::move(listener))
    , context_(new QObject)
{
    // libmpv refuses to start unless numbers are read and written the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_ = mpv_create();
    if (!mpv_) return;

    const std::pair<const char*, const char*> options[] = {
        {"config", "no"},
        {"terminal", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"cursor-autohide", "no"},
        {"idle", "yes"},
        {"keep-open", "yes"},
        {"pause", "yes"},
        {"hr-seek", "yes"},
        {"audio-display", "no"},
        // The built-in console, statistics page and automatic profiles are parts of a player's own
        // user interface: each would cost a script interpreter that nothing here uses.
        {"load-osd-console", "no"},
        {"load-stats-overlay", "no"},
        {"load-auto-profiles", "no"},
        {"force-window", "no"},
        {"gpu-context", "x11egl,x11"},
        {"gpu-sw", "yes"},
        {"vo", videoOutput},
        {"ao", audioOutput},
    };
    for (const auto& [name, value] : options)
        mpv_set_option_string(mpv_, name, value);
    if (mpv_initialize(mpv_) < 0) {
        mpv_terminate_destroy(mpv_);
        mpv_ = nullptr;
        return;
    }
    mpv_set_wakeup_callback(mpv_, &MpvSession::Wakeup, this);
}

MpvSession::~MpvSession()
{
    if (mpv_) {
        mpv_set_wakeup_callback(mpv_, nullptr, nullptr);
        mpv_terminate_destroy(mpv_);
    }
    // Deleting the context drops any wake-up still queued for this session.
    delete context_;
}

// Runs on one of libmpv's threads: only queue a call to the owning thread.
void MpvSession::Wakeup(void* self)
{
    auto* session = static_cast<MpvSession*>(self);
    session->signalled_ = true;
    QMetaObject::invokeMethod(
        session->context_, [session] { session->Drain(); }, Qt::QueuedConnection);
}

void MpvSession::Handle(const mpv_event& event)
{
    if (listener_) listener_(event);
}

void MpvSession::Drain()
{
    // Asking libmpv for reports costs a round trip through its core, even when there are none.
    if (!mpv_ || !signalled_.exchange(false)) return;
    for (;;) {
        mpv_event* event = mpv_wait_event(mpv_, 0);
        if (event->event_id == MPV_EVENT_NONE) return;
        Handle(*event);
    }
}

bool MpvSession::WaitUntil(const std::function<bool()>& done, int timeoutMs)
{
    if (!mpv_) return false;
    QElapsedTimer clock;
    clock.start();
    Drain();
    while (!done()) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0) return false;
        mpv_event* event = mpv_wait_event(mpv_, static_cast<double>(left) / 1000.0);
        if (event->event_id != MPV_EVENT_NONE) Handle(*event);
    }
    return true;
}

bool MpvSession::Load(const std::string& file, int timeoutMs)
{
    if (!mpv_) return false;
    // Reports about a file stopped earlier may still be on their way: only those after this file's
    // start count.
    enum { Waiting, Started, Loaded, Failed } state = Waiting;
    const Listener outer = listener_;
    listener_ = [&](const mpv_event& event) {
        if (event.event_id == MPV_EVENT_START_FILE && state == Waiting) state = Started;
        if (event.event_id == MPV_EVENT_FILE_LOADED && state == Started) state = Loaded;
        if (event.event_id == MPV_EVENT_END_FILE && state == Started) state = Failed;
        if (outer) outer(event);
    };
    if (Run({"loadfile", file.c_str(), "replace"}) >= 0)
        WaitUntil([&] { return state == Loaded || state == Failed; }, timeoutMs);
    listener_ = outer;
    return state == Loaded;
}

double MpvSession::Double(const char* name, double fallback) const
{
    double value = fallback;
    if (!mpv_ || mpv_get_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) < 0) return fallback;
    return value;
}

std::int64_t MpvSession::Int(const char* name, std::int64_t fallback) const
{
    std::int64_t value = fallback;
    if (!mpv_ || mpv_get_property(mpv_, name, MPV_FORMAT_INT64, &value) < 0) return fallback;
    return value;
}

bool MpvSession::Flag(const char* name) const
{
    int value = 0;
    if (!mpv_ || mpv_get_property(mpv_, name, MPV_FORMAT_FLAG, &value) < 0) return false;
    return value != 0;
}

std::string MpvSession::String(const char* name) const
{
    if (!mpv_) return {};
    char* value = mpv_get_property_string(mpv_, name);
    if (!value) return {};
    std::string text(value);
    mpv_free(value);
    return text;
}

int MpvSession::Set(const char* name, const std::string& value)
{
    return mpv_ ? mpv_set_property_string(mpv_, name, value.c_str()) : MPV_ERROR_UNINITIALIZED;
}

int MpvSession::SetFlag(const char* name, bool on)
{
    int value = on ? 1 : 0;
    return mpv_ ? mpv_set_property(mpv_, name, MPV_FORMAT_FLAG, &value) : MPV_ERROR_UNINITIALIZED;
}

int MpvSession::SetDouble(const char* name, double value)
{
    return mpv_ ? mpv_set_property(mpv_, name, MPV_FORMAT_DOUBLE, &value) : MPV_ERROR_UNINITIALIZED;
}

int MpvSession::Run(std::initializer_list<const char*> arguments)
{
    if (!mpv_) return MPV_ERROR_UNINITIALIZED;
    std::vector<const char*> list(arguments);
    list.push_back(nullptr);
    return mpv_command(mpv_, list.data());
}

void MpvSession::Observe(std::uint64_t id, const char* name, mpv_format format)
{
    if (mpv_) mpv_observe_property(mpv_, id, name, format);
}

void MpvSession::Unobserve(std::uint64_t id)
{
    if (mpv_) mpv_unobserve_property(mpv_, id);
}

void MpvSession::AddHook(const char* name)
{
    if (mpv_) mpv_hook_add(mpv_, 0, name, 0);
}

void MpvSession::ContinueHook(std::uint64_t id)
{
    if (mpv_) mpv_hook_continue(mpv_, id);
}

bool MpvSession::AddStreamProtocol(const char* protocol, mpv_stream_cb_open_ro_fn open)
{
    return mpv_ && mpv_stream_cb_add_ro(mpv_, protocol, nullptr, open) >= 0;
}

} // namespace mci
