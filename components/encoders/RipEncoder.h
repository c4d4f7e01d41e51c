#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The interface every encoder offers to the CD ripper: the ripper hands it the PCM of one track
// as it reads it, and the encoder writes the finished file. Input is always CD audio: 44.1 kHz,
// 16-bit, two interleaved channels.
class RipEncoderStream {
public:
    // A stream dropped before Finish() abandons its output: no file is left behind.
    virtual ~RipEncoderStream() = default;

    // Encodes `frames` stereo frames (2 * frames samples). False when the encoding failed.
    virtual bool Write(const std::int16_t* samples, std::size_t frames) = 0;
    // Completes the file and puts it in place. False when it could not be completed.
    virtual bool Finish() = 0;
    // After a failed Write: true when the output file could not take what was encoded (a full
    // disk, a vanished folder), false when the encoding itself failed.
    virtual bool OutputFailed() const { return false; }
};

class RipEncoder {
public:
    virtual ~RipEncoder() = default;

    // Starts a file at `outputPath` with the settings the encoder holds now. `totalFrames` is the
    // track's length when known (0 when not). Null when the output cannot be created; the
    // reason is then the encoder's LastError code.
    virtual std::unique_ptr<RipEncoderStream> BeginRipStream(const std::string& outputPath,
                                                             std::uint64_t totalFrames) = 0;
};
