#pragma once

#include <cstddef>
#include <cstdint>

namespace cdwriter {

// The decoding module's entry points, plain functions so that it can be loaded at run time.
struct DecoderEntry {
    // A decoder for an MP3 or WAV file (path in UTF-8) and its length in CD frames; null for a file
    // that cannot be read or is not an MP3 or WAV file with sound.
    void* (*open)(const char* path, std::int64_t* frames);
    // Up to `frames` frames of CD audio into `out`; 0 at the end.
    std::size_t (*read)(void* decoder, std::int16_t* out, std::size_t frames);
    void (*close)(void* decoder);
};

// The module's file, found beside the program, and its one exported function.
constexpr const char* DecoderModuleFile = "libtessel_audiodecoder.so";
constexpr const char* DecoderEntryName = "tessel_audio_decoder_entry";

} // namespace cdwriter
