#include "components/cdwriter/AudioDecoder.h"

#include "components/cdwriter/DecoderModule.h"

#include <dlfcn.h>
#include <filesystem>
#include <system_error>

namespace cdwriter {

namespace {

// FFmpeg is loaded with the decoding module when the first audio file is opened: writing data
// discs never needs it, and it is the largest part of the writer's memory. The module lies beside
// the program; it is named by its full path, as a loader that stands between the program and the
// system (a sanitizer's) would search other folders for a bare name.
const DecoderEntry* Entry()
{
    static const DecoderEntry* entry = [] () -> const DecoderEntry* {
        std::error_code error;
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
        const std::string path = (error ? std::filesystem::path() : program.parent_path() / DecoderModuleFile).string();
        void* module = dlopen(path.empty() ? DecoderModuleFile : path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) return nullptr;
        using EntryFunction = const DecoderEntry* (*)();
        const auto function = reinterpret_cast<EntryFunction>(dlsym(module, DecoderEntryName));
        return function ? function() : nullptr;
    }();
    return entry;
}

} // namespace

AudioDecoder::AudioDecoder() = default;

AudioDecoder::~AudioDecoder() { Close(); }

void AudioDecoder::Close()
{
    if (decoder_) Entry()->close(decoder_);
    decoder_ = nullptr;
    frames_ = 0;
}

bool AudioDecoder::Open(const QString& path)
{
    Close();
    const DecoderEntry* entry = Entry();
    if (!entry) return false;
    decoder_ = entry->open(path.toUtf8().constData(), &frames_);
    if (!decoder_) frames_ = 0;
    return decoder_ != nullptr;
}

std::size_t AudioDecoder::Read(std::int16_t* out, std::size_t frames)
{
    return decoder_ ? Entry()->read(decoder_, out, frames) : 0;
}

} // namespace cdwriter
