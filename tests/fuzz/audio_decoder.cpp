// MP3 and WAV files added to an audio disc: the track list measures the file, and the writer
// decodes it to CD audio to its end, in the chunks it writes.
#include "components/cdwriter/AudioDecoder.h"
#include "components/cdwriter/AudioWrite.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstring>
#include <vector>

extern "C" {
#include <libavutil/log.h>
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A damaged file makes the decoder talk on the terminal; a million of them drown the report.
    [[maybe_unused]] static const bool quiet = [] {
        av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    // The track list takes files by their ending; the decoder looks at their content.
    const bool wav = size >= 4 && std::memcmp(data, "RIFF", 4) == 0;
    const QString file = fuzz::WriteInput(wav ? QStringLiteral("track.wav") : QStringLiteral("track.mp3"), data, size);
    cdwriter::AudioTrackList tracks;
    if (!tracks.Add(file, 1)) return 0;

    constexpr std::size_t SectorFrames = 588;
    constexpr std::size_t ChunkFrames = 75 * SectorFrames;
    std::vector<std::int16_t> samples(ChunkFrames * 2);
    cdwriter::AudioDecoder decoder;
    if (!decoder.Open(file)) fuzz::Broken("a file the track list took cannot be opened again");
    while (decoder.Read(samples.data(), ChunkFrames) > 0) { }
    return 0;
}
