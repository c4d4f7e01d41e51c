#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace mci {

// Linear PCM as the sound devices keep it: 8-bit samples unsigned, 16-bit signed little-endian,
// channels interleaved.
struct PcmFormat {
    int rate = 11025;
    int channels = 1;
    int bits = 8;

    int BlockAlign() const { return channels * bits / 8; }
    int BytesPerSecond() const { return BlockAlign() * rate; }
};

// One connection to the desktop's sound server (PulseAudio) with at most one stream at a time
// recording from the default source or playing to the default sink, and beside it a capture
// stream that may stand by. The server's own thread runs the streams and calls the caller's
// functions; Stop returns only when none of them runs any more, and none is called after it.
class SoundServer {
public:
    SoundServer();
    ~SoundServer();
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // Connects; false when no sound server answers (one is never started for us).
    bool Connect();

    // Keeps a capture stream in the format connected but corked, replacing one in another format.
    // While it stands by, the source keeps handing out sound in short blocks, and a Record in that
    // format starts with the sound of its own moment. Without it, a new stream may wait for the
    // source's whole latency (a null sink's monitor hands out two-second blocks when nobody asks
    // for less) and loses what is heard meanwhile. False when the server refuses the stream.
    bool StandBy(const PcmFormat& format);
    bool StandingBy() const;

    // Records: every block of sound that arrives is handed to onData on the server's thread. The
    // stream standing by in the format records, or a new one. False when the server refuses the
    // stream.
    using DataSink = std::function<void(const char* data, std::size_t bytes)>;
    bool Record(const PcmFormat& format, DataSink onData);

    // Plays: pull fills up to the given number of bytes (whole frames) and returns how many it
    // wrote; fewer than asked mark the end, and once all of it has been heard, onEnd is called.
    // Both run on the server's thread.
    using DataSource = std::function<std::size_t(char* buffer, std::size_t bytes)>;
    bool Play(const PcmFormat& format, DataSource pull, std::function<void()> onEnd);

    // Ends the running stream, if any; a recording one goes back to standing by.
    void Stop();

    // True once the connection broke: the server went away.
    bool Failed() const;

    struct State; // shared with the server's thread

private:
    std::unique_ptr<State> state_;
};

} // namespace mci
