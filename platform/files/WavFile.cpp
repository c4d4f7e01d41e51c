#include "platform/files/WavFile.h"

#include <array>
#include <cstring>
#include <sys/stat.h>

namespace files {

namespace {

std::uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }
std::uint16_t Le16(const unsigned char* p) { return std::uint16_t(p[0] | (p[1] << 8)); }

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatExtensible = 0xFFFE;

} // namespace

WavReader::~WavReader() { Close(); }

void WavReader::Close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    format_ = {};
    totalFrames_ = framesRead_ = 0;
    failed_ = false;
}

WavReader::OpenResult WavReader::Open(const std::string& path)
{
    Close();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return OpenResult::CannotOpen;
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return OpenResult::CannotOpen;
    const auto notWav = [this] {
        Close();
        return OpenResult::NotWav;
    };

    unsigned char header[12];
    if (std::fread(header, 1, 12, file_) != 12 || std::memcmp(header, "RIFF", 4) != 0
        || std::memcmp(header + 8, "WAVE", 4) != 0)
        return notWav();

    bool haveFormat = false;
    for (;;) {
        unsigned char chunk[8];
        if (std::fread(chunk, 1, 8, file_) != 8) return notWav();
        const std::uint32_t size = Le32(chunk + 4);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > 1024) return notWav();
            std::array<unsigned char, 1024> fmt {};
            if (std::fread(fmt.data(), 1, size, file_) != size) return notWav();
            if (size % 2 && std::fseek(file_, 1, SEEK_CUR) != 0) return notWav();
            std::uint16_t tag = Le16(&fmt[0]);
            // The extensible form names its real format in the first two bytes of its GUID.
            if (tag == FormatExtensible && size >= 40) tag = Le16(&fmt[24]);
            format_.pcm = tag == FormatPcm;
            format_.channels = Le16(&fmt[2]);
            format_.sampleRate = static_cast<int>(Le32(&fmt[4]));
            format_.bytesPerSecond = Le32(&fmt[8]);
            format_.blockAlign = Le16(&fmt[12]);
            format_.bitsPerSample = Le16(&fmt[14]);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || format_.blockAlign <= 0) return notWav();
            const long start = std::ftell(file_);
            std::uint64_t bytes = size;
            if (::fstat(fileno(file_), &info) == 0 && start >= 0) {
                const std::uint64_t available = info.st_size > start ? std::uint64_t(info.st_size - start) : 0;
                if (bytes > available) bytes = available;
            }
            totalFrames_ = bytes / std::uint64_t(format_.blockAlign);
            return OpenResult::Ok;
        } else {
            const long skip = long(size) + long(size % 2);
            if (std::fseek(file_, skip, SEEK_CUR) != 0) return notWav();
        }
    }
}

std::size_t WavReader::Read(void* buffer, std::size_t bufferBytes)
{
    if (!file_) return 0;
    const std::size_t align = static_cast<std::size_t>(format_.blockAlign);
    std::size_t frames = bufferBytes / align;
    if (frames > FramesLeft()) frames = static_cast<std::size_t>(FramesLeft());
    if (frames == 0) return 0;
    const std::size_t bytes = std::fread(buffer, 1, frames * align, file_);
    if (bytes < frames * align) failed_ = std::ferror(file_) != 0;
    const std::size_t got = bytes / align;
    framesRead_ += got;
    if (got < frames) totalFrames_ = framesRead_;
    return got;
}

} // namespace files
