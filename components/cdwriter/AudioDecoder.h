#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

namespace cdwriter {

// Decodes an MP3 or WAV file to CD audio: 44.1 kHz, 16-bit, two interleaved channels, whatever
// rate and channels the file has, also where they change within the file. The decoding itself is
// done by a module loaded on first use.
class AudioDecoder {
public:
    AudioDecoder();
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // False for a file that cannot be read, or that is not an MP3 or WAV file with sound: at
    // least one CD frame of it, at a sample rate sound files are made at (1 to 768 kHz), of which
    // the start decodes.
    bool Open(const QString& path);
    // The length in CD frames, from the file's own duration.
    std::int64_t Frames() const { return frames_; }
    // Decodes up to `frames` frames into `out` (2 * frames samples); 0 at the end. A damaged part
    // of the file is skipped.
    std::size_t Read(std::int16_t* out, std::size_t frames);

private:
    void Close();
    void* decoder_ = nullptr;
    std::int64_t frames_ = 0;
};

} // namespace cdwriter
