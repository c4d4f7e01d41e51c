#include "platform/mci/SoundServer.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace mci {

struct SoundServer::State {
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr; // the stream recording or playing
    bool recording = false;
    pa_stream* standby = nullptr; // a capture stream connected but corked
    PcmFormat streamFormat;
    PcmFormat standbyFormat;
    DataSink onData;
    DataSource pull;
    std::function<void()> onEnd;
    bool draining = false;
    char silence = 0;
    std::vector<char> hole;
    std::atomic<bool> failed {false};
};

namespace {

using State = SoundServer::State;

// Holds the server thread's lock: while it is held, none of the stream's functions runs.
class Locked {
public:
    explicit Locked(pa_threaded_mainloop* loop)
        : loop_(loop)
    {
        pa_threaded_mainloop_lock(loop_);
    }
    ~Locked() { pa_threaded_mainloop_unlock(loop_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

void ContextState(pa_context* context, void* userdata)
{
    auto* state = static_cast<State*>(userdata);
    if (!PA_CONTEXT_IS_GOOD(pa_context_get_state(context))) state->failed = true;
    pa_threaded_mainloop_signal(state->loop, 0);
}

void StreamState(pa_stream* stream, void* userdata)
{
    (void)stream;
    pa_threaded_mainloop_signal(static_cast<State*>(userdata)->loop, 0);
}

void Answered(pa_stream* stream, int, void* userdata)
{
    (void)stream;
    pa_threaded_mainloop_signal(static_cast<State*>(userdata)->loop, 0);
}

void Readable(pa_stream* stream, std::size_t, void* userdata)
{
    auto* state = static_cast<State*>(userdata);
    while (pa_stream_readable_size(stream) > 0) {
        const void* data = nullptr;
        std::size_t bytes = 0;
        if (pa_stream_peek(stream, &data, &bytes) < 0 || bytes == 0) return;
        // Sound that reaches a stream standing by, or one being stopped, is nobody's.
        if (stream == state->stream && state->onData) {
            if (data) {
                state->onData(static_cast<const char*>(data), bytes);
            } else {
                // A gap in the recording: it is heard as silence.
                state->hole.assign(bytes, state->silence);
                state->onData(state->hole.data(), bytes);
            }
        }
        pa_stream_drop(stream);
    }
}

void Drained(pa_stream* stream, int, void* userdata)
{
    auto* state = static_cast<State*>(userdata);
    if (stream != state->stream || !state->onEnd) return;
    state->onEnd();
}

void Writable(pa_stream* stream, std::size_t bytes, void* userdata)
{
    auto* state = static_cast<State*>(userdata);
    if (state->draining) return;
    void* buffer = nullptr;
    if (pa_stream_begin_write(stream, &buffer, &bytes) < 0 || !buffer) return;
    const std::size_t written = state->pull(static_cast<char*>(buffer), bytes);
    if (written > 0)
        pa_stream_write(stream, buffer, written, nullptr, 0, PA_SEEK_RELATIVE);
    else
        pa_stream_cancel_write(stream);
    if (written < bytes) {
        state->draining = true;
        if (pa_operation* drain = pa_stream_drain(stream, Drained, state)) pa_operation_unref(drain);
    }
}

// The caller holds the lock for these.

void Disconnect(pa_stream*& stream)
{
    if (!stream) return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_read_callback(stream, nullptr, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
}

// Waits for the server to answer an operation.
void Wait(State* state, pa_operation* operation)
{
    if (!operation) return;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
        pa_threaded_mainloop_wait(state->loop);
    pa_operation_unref(operation);
}

// Connects a stream into the given place (set before the stream can call anything, so that its
// functions know it) and waits until it is ready; on failure the place is left empty.
bool Connect(State* state, pa_stream*& place, const PcmFormat& format, bool record, bool corked)
{
    if (pa_context_get_state(state->context) != PA_CONTEXT_READY) return false;

    pa_sample_spec spec;
    spec.format = format.bits == 8 ? PA_SAMPLE_U8 : PA_SAMPLE_S16LE;
    spec.rate = static_cast<std::uint32_t>(format.rate);
    spec.channels = static_cast<std::uint8_t>(format.channels);
    if (!pa_sample_spec_valid(&spec)) return false;

    pa_stream* stream = pa_stream_new(state->context, record ? "Recording" : "Playback", &spec, nullptr);
    if (!stream) return false;
    place = stream;
    pa_stream_set_state_callback(stream, StreamState, state);

    // Short buffers: a stop loses at most a few hundredths of a second, and the position played
    // runs only a little ahead of what is heard.
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | (corked ? PA_STREAM_START_CORKED : 0));
    int result = 0;
    if (record) {
        attr.fragsize = static_cast<std::uint32_t>(pa_usec_to_bytes(25000, &spec));
        pa_stream_set_read_callback(stream, Readable, state);
        result = pa_stream_connect_record(stream, nullptr, &attr, flags);
    } else {
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(100000, &spec));
        pa_stream_set_write_callback(stream, Writable, state);
        result = pa_stream_connect_playback(stream, nullptr, &attr, flags, nullptr, nullptr);
    }
    if (result >= 0) {
        for (;;) {
            const pa_stream_state_t s = pa_stream_get_state(stream);
            if (s == PA_STREAM_READY) return true;
            if (!PA_STREAM_IS_GOOD(s)) break;
            pa_threaded_mainloop_wait(state->loop);
        }
    }
    Disconnect(place);
    return false;
}

bool SameFormat(const PcmFormat& a, const PcmFormat& b)
{
    return a.rate == b.rate && a.channels == b.channels && a.bits == b.bits;
}

} // namespace

SoundServer::SoundServer()
    : state_(std::make_unique<State>())
{
}

SoundServer::~SoundServer()
{
    Stop();
    if (!state_->loop) return;
    {
        Locked lock(state_->loop);
        Disconnect(state_->standby);
    }
    pa_threaded_mainloop_stop(state_->loop);
    if (state_->context) {
        pa_context_set_state_callback(state_->context, nullptr, nullptr);
        pa_context_disconnect(state_->context);
        pa_context_unref(state_->context);
    }
    pa_threaded_mainloop_free(state_->loop);
}

bool SoundServer::Connect()
{
    if (state_->loop) return !Failed();
    state_->loop = pa_threaded_mainloop_new();
    if (!state_->loop) return false;
    state_->context = pa_context_new(pa_threaded_mainloop_get_api(state_->loop), "tessel");
    if (!state_->context) return false;
    pa_context_set_state_callback(state_->context, ContextState, state_.get());
    if (pa_context_connect(state_->context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        state_->failed = true;
        return false;
    }
    if (pa_threaded_mainloop_start(state_->loop) < 0) {
        state_->failed = true;
        return false;
    }
    Locked lock(state_->loop);
    for (;;) {
        const pa_context_state_t s = pa_context_get_state(state_->context);
        if (s == PA_CONTEXT_READY) return true;
        if (!PA_CONTEXT_IS_GOOD(s)) {
            state_->failed = true;
            return false;
        }
        pa_threaded_mainloop_wait(state_->loop);
    }
}

bool SoundServer::Failed() const { return state_->failed; }

bool SoundServer::StandBy(const PcmFormat& format)
{
    if (!state_->loop) return false;
    Locked lock(state_->loop);
    if (state_->standby && SameFormat(state_->standbyFormat, format)
        && pa_stream_get_state(state_->standby) == PA_STREAM_READY)
        return true;
    // The new stream is ready before the old one goes: the source never lacks a listener.
    pa_stream* previous = state_->standby;
    state_->standby = nullptr;
    const bool ready = ::mci::Connect(state_.get(), state_->standby, format, true, true);
    if (ready) state_->standbyFormat = format;
    Disconnect(previous);
    return ready;
}

bool SoundServer::StandingBy() const
{
    if (!state_->loop) return false;
    Locked lock(state_->loop);
    return state_->standby && pa_stream_get_state(state_->standby) == PA_STREAM_READY;
}

bool SoundServer::Record(const PcmFormat& format, DataSink onData)
{
    Stop();
    if (!state_->loop) return false;
    Locked lock(state_->loop);
    state_->onData = std::move(onData);
    state_->silence = format.bits == 8 ? char(0x80) : 0;
    state_->streamFormat = format;
    state_->recording = true;
    if (state_->standby && SameFormat(state_->standbyFormat, format)
        && pa_stream_get_state(state_->standby) == PA_STREAM_READY) {
        // The stream standing by records from now on: nothing waits for a new one.
        state_->stream = state_->standby;
        state_->standby = nullptr;
        Wait(state_.get(), pa_stream_cork(state_->stream, 0, Answered, state_.get()));
        return true;
    }
    if (::mci::Connect(state_.get(), state_->stream, format, true, false)) return true;
    state_->onData = {};
    return false;
}

bool SoundServer::Play(const PcmFormat& format, DataSource pull, std::function<void()> onEnd)
{
    Stop();
    if (!state_->loop) return false;
    Locked lock(state_->loop);
    state_->pull = std::move(pull);
    state_->onEnd = std::move(onEnd);
    state_->draining = false;
    state_->recording = false;
    if (::mci::Connect(state_.get(), state_->stream, format, false, false)) return true;
    state_->pull = {};
    state_->onEnd = {};
    return false;
}

void SoundServer::Stop()
{
    if (!state_->loop) return;
    Locked lock(state_->loop);
    if (pa_stream* stream = state_->stream) {
        state_->stream = nullptr;
        if (state_->recording && pa_stream_get_state(stream) == PA_STREAM_READY) {
            // A recording stream stands by again; what it still hands over is dropped.
            Wait(state_.get(), pa_stream_cork(stream, 1, Answered, state_.get()));
            Disconnect(state_->standby);
            state_->standby = stream;
            state_->standbyFormat = state_->streamFormat;
        } else {
            Disconnect(stream);
        }
    }
    state_->onData = {};
    state_->pull = {};
    state_->onEnd = {};
    state_->draining = false;
}

} // namespace mci
