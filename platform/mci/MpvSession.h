#pragma once

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

class QObject;

namespace mci {

// One libmpv player core, used from the thread that made it (the user-interface thread).
// libmpv reports from its own threads; the session wakes the owning thread through the Qt event
// loop and hands each report to the listener there. Commands that must finish before they return
// (loading, seeking) wait for their report on the owning thread.
class MpvSession {
public:
    using Listener = std::function<void(const mpv_event&)>;

    // Creates the core with the given outputs ("null" for none); Ok() tells whether it started.
    MpvSession(const char* videoOutput, const char* audioOutput, Listener listener);
    ~MpvSession();
    MpvSession(const MpvSession&) = delete;
    MpvSession& operator=(const MpvSession&) = delete;

    bool Ok() const { return mpv_ != nullptr; }

    // Loads a file, paused at its start; true once it is loaded, false when it failed or did not
    // load within the time allowed.
    bool Load(const std::string& file, int timeoutMs);

    // Hands every report that has arrived to the listener, without waiting. Cheap when nothing
    // arrived: libmpv is only asked when it has signalled a report.
    void Drain();
    // Hands reports to the listener as they arrive until done() holds or the time is up; true
    // when done() held.
    bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

    double Double(const char* name, double fallback = 0) const;
    std::int64_t Int(const char* name, std::int64_t fallback = 0) const;
    bool Flag(const char* name) const;
    std::string String(const char* name) const;

    int Set(const char* name, const std::string& value);
    int SetFlag(const char* name, bool on);
    int SetDouble(const char* name, double value);
    int Run(std::initializer_list<const char*> arguments);
    void Observe(std::uint64_t id, const char* name, mpv_format format);
    void Unobserve(std::uint64_t id);
    // Asks for a report (MPV_EVENT_HOOK) at the named point of loading a file; loading waits there
    // until ContinueHook is called with the report's id.
    void AddHook(const char* name);
    void ContinueHook(std::uint64_t id);
    // Lets files of "<protocol>://..." be read through open's streams (stream_cb.h: the protocol
    // stays until the core is destroyed, and the streams' callbacks run on libmpv's threads).
    bool AddStreamProtocol(const char* protocol, mpv_stream_cb_open_ro_fn open);

private:
    static void Wakeup(void* self);
    void Handle(const mpv_event& event);

    mpv_handle* mpv_ = nullptr;
    Listener listener_;
    QObject* context_ = nullptr;
    std::atomic<bool> signalled_ {false};
};

} // namespace mci
