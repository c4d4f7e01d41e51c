#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct mpv_stream_cb_info;

namespace mci {

class SectorReader;

// The audio of the disc in a drive as one WAVE stream of 16-bit stereo samples at 44.1 kHz, from
// the first sector of its first audio track to the last sector of its last, read through libcdio
// for libmpv to play. Every sample handed out is the disc's or silence: the sectors of data
// tracks, and sectors the drive cannot read, are silence, and nothing lies beyond the last audio
// sector (on a CD Extra disc, the end of the audio session). (Handed to libmpv as bare samples,
// the stream would end in whatever memory its raw audio reader left unfilled in its last packet: a
// WAVE stream is read by libavformat, whose packets end where the samples do.)
class DiscAudioStream {
public:
    // Nothing when the drive or image cannot be opened or holds no audio track.
    static std::unique_ptr<DiscAudioStream> Open(const QString& source);
    ~DiscAudioStream();
    DiscAudioStream(const DiscAudioStream&) = delete;
    DiscAudioStream& operator=(const DiscAudioStream&) = delete;

    std::int64_t Size() const;
    // Up to the bytes asked for from the position on, 0 at the end of the disc's audio, -1 once
    // cancelled. It waits for the drive.
    std::int64_t Read(char* buffer, std::int64_t bytes);
    // From any thread: a read waiting for the drive, and every later one, returns -1 at once.
    void Cancel();
    // Moves to a byte position; false beyond the end.
    bool Seek(std::int64_t position);

    // The protocol libmpv opens these streams by, once MpvSession::AddStreamProtocol has added it
    // with OpenForMpv; Address names a source's stream.
    static constexpr const char* Protocol = "tesselcd";
    static std::string Address(const QString& source);
    // stream_cb.h's open callback: the stream an address names. It and the stream's callbacks run
    // on libmpv's threads.
    static int OpenForMpv(void* userData, char* uri, mpv_stream_cb_info* info);

private:
    DiscAudioStream() = default;
    // Reads the sectors from first on into the buffer, as many as it holds or the stream has;
    // false when cancelled.
    bool Fill(int first);

    std::unique_ptr<SectorReader> reader_;
    int first_ = 0; // the stream's first sector
    int end_ = 0; // the sector after its last
    std::vector<std::pair<int, int>> audio_; // the audio tracks' sectors, [first, end)
    QByteArray header_; // the WAVE header before the samples
    std::int64_t position_ = 0; // in bytes from the start of the header
    std::vector<char> buffer_; // sectors read, from buffered_ on
    int buffered_ = 0;
    int bufferedCount_ = 0;
};

} // namespace mci
