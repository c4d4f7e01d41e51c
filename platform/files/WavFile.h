#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace files {

// The format of a WAV file's samples, from its "fmt " chunk. The extensible format with a PCM
// sub-format counts as PCM.
struct WavFormat {
    bool pcm = false;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int blockAlign = 0;
    std::uint32_t bytesPerSecond = 0;

    // 44.1 kHz, 16-bit, two channels of PCM, with the frame size and data rate that go with them.
    bool IsCdAudio() const
    {
        return pcm && channels == 2 && sampleRate == 44100 && bitsPerSample == 16 && blockAlign == 4
            && bytesPerSecond == 176400;
    }
};

// Reads the samples of a RIFF WAVE file. A data chunk that claims more than the file holds (a
// recording that was cut short, or a stream written without knowing its length) is read as far
// as the file goes.
class WavReader {
public:
    enum class OpenResult { Ok, CannotOpen, NotWav };

    WavReader() = default;
    ~WavReader();
    WavReader(const WavReader&) = delete;
    WavReader& operator=(const WavReader&) = delete;

    OpenResult Open(const std::string& path);
    void Close();

    const WavFormat& Format() const { return format_; }
    // Whole frames (one sample of every channel) in the data chunk, and those not read yet.
    std::uint64_t TotalFrames() const { return totalFrames_; }
    std::uint64_t FramesLeft() const { return totalFrames_ - framesRead_; }

    // Reads as many whole frames (blockAlign bytes each) as fit in the `bufferBytes` bytes of
    // `buffer`, whatever the header says. Returns the frames read: 0 at the end of the data or
    // when not one frame fits, fewer than fit at the end or on a read error.
    std::size_t Read(void* buffer, std::size_t bufferBytes);
    bool Failed() const { return failed_; }

private:
    std::FILE* file_ = nullptr;
    WavFormat format_;
    std::uint64_t totalFrames_ = 0;
    std::uint64_t framesRead_ = 0;
    bool failed_ = false;
};

} // namespace files
