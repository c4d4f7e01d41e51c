#include "platform/mci/DiscAudioStream.h"

#include "platform/mci/CdDrive.h"
#include "platform/mci/CdioToc.h"
#include "platform/mci/SectorReader.h"
#include "platform/mci/WaveFile.h"

#include <QByteArray>
#include <QUrl>
#include <algorithm>
#include <cdio/cdio.h>
#include <cstring>
#include <mpv/client.h>
#include <mpv/stream_cb.h>
#include <mutex>

namespace mci {

namespace {

constexpr int SectorBytes = CDIO_CD_FRAMESIZE_RAW;
// Sectors read from the drive at once, about a third of a second: libmpv asks for a few kilobytes
// at a time.
constexpr int ChunkSectors = 27;

} // namespace

DiscAudioStream::~DiscAudioStream() = default;

std::unique_ptr<DiscAudioStream> DiscAudioStream::Open(const QString& source)
{
    if (source.isEmpty()) return nullptr;
    std::unique_ptr<DiscAudioStream> stream(new DiscAudioStream);
    std::optional<DiscToc> toc;
    {
        std::lock_guard lock(CdDrive::LibraryLock());
        CdIo_t* cd = cdio_open(source.toLocal8Bit().constData(), DRIVER_UNKNOWN);
        if (!cd) return nullptr;
        stream->reader_ = std::make_unique<SectorReader>(cd);
        toc = ReadDiscToc(cd);
    }
    if (!toc) return nullptr;
    for (int t = toc->firstTrack; t <= toc->LastTrack(); ++t) {
        if (!toc->IsAudio(t)) continue;
        const int start = toc->TrackStart(t), end = toc->TrackEnd(t);
        if (start == CDIO_INVALID_LSN || end == CDIO_INVALID_LSN || start < 0 || end <= start) continue;
        stream->audio_.emplace_back(start, end);
    }
    if (stream->audio_.empty()) return nullptr;
    stream->first_ = stream->audio_.front().first;
    stream->end_ = stream->audio_.back().second;
    stream->buffer_.resize(std::size_t(ChunkSectors) * SectorBytes);
    // A disc holds less than 4 GB of samples, as a WAVE data chunk must.
    const std::int64_t samples = std::int64_t(stream->end_ - stream->first_) * SectorBytes;
    if (samples > 0xffffffffLL - 64) return nullptr;
    stream->header_ = WaveHeader({.rate = 44100, .channels = 2, .bits = 16}, std::uint32_t(samples));
    return stream;
}

std::int64_t DiscAudioStream::Size() const { return std::int64_t(header_.size()) + std::int64_t(end_ - first_) * SectorBytes; }

bool DiscAudioStream::Seek(std::int64_t position)
{
    if (position < 0 || position > Size()) return false;
    position_ = position;
    return true;
}

bool DiscAudioStream::Fill(int first)
{
    buffered_ = first;
    bufferedCount_ = 0;
    const int count = std::min(ChunkSectors, end_ - first);
    char* out = buffer_.data();
    std::memset(out, 0, std::size_t(count) * SectorBytes);
    const int end = first + count;
    for (const auto& [trackStart, trackEnd] : audio_) {
        const int from = std::max(first, trackStart), to = std::min(end, trackEnd);
        if (from >= to) continue;
        if (!reader_->Read(out + std::size_t(from - first) * SectorBytes, from, to - from)) return false;
    }
    bufferedCount_ = count;
    return true;
}

std::int64_t DiscAudioStream::Read(char* buffer, std::int64_t bytes)
{
    if (bytes <= 0 || position_ >= Size()) return 0;
    if (position_ < header_.size()) {
        const std::int64_t n = std::min<std::int64_t>(bytes, header_.size() - position_);
        std::memcpy(buffer, header_.constData() + position_, std::size_t(n));
        position_ += n;
        return n;
    }
    const std::int64_t at = position_ - header_.size(); // in the samples
    const int sector = first_ + int(at / SectorBytes);
    if ((sector < buffered_ || sector >= buffered_ + bufferedCount_) && !Fill(sector)) return -1;
    const std::int64_t from = std::int64_t(sector - buffered_) * SectorBytes + at % SectorBytes;
    const std::int64_t n = std::min(bytes, std::int64_t(bufferedCount_) * SectorBytes - from);
    std::memcpy(buffer, buffer_.data() + from, std::size_t(n));
    position_ += n;
    return n;
}

void DiscAudioStream::Cancel() { reader_->Cancel(); }

std::string DiscAudioStream::Address(const QString& source)
{
    return std::string(Protocol) + "://" + QUrl::toPercentEncoding(source).toStdString();
}

int DiscAudioStream::OpenForMpv(void*, char* uri, mpv_stream_cb_info* info)
{
    const QByteArray address(uri);
    const QByteArray prefix = QByteArray(Protocol) + "://";
    if (!address.startsWith(prefix)) return MPV_ERROR_LOADING_FAILED;
    std::unique_ptr<DiscAudioStream> stream = Open(QString::fromUtf8(QByteArray::fromPercentEncoding(address.mid(prefix.size()))));
    if (!stream) return MPV_ERROR_LOADING_FAILED;
    info->cookie = stream.release();
    info->read_fn = [](void* s, char* buffer, std::uint64_t bytes) -> std::int64_t {
        return static_cast<DiscAudioStream*>(s)->Read(buffer, std::int64_t(std::min<std::uint64_t>(bytes, 1 << 30)));
    };
    info->seek_fn = [](void* s, std::int64_t position) -> std::int64_t {
        return static_cast<DiscAudioStream*>(s)->Seek(position) ? position : std::int64_t(MPV_ERROR_GENERIC);
    };
    info->size_fn = [](void* s) -> std::int64_t { return static_cast<DiscAudioStream*>(s)->Size(); };
    // Stopping or closing the player cancels the stream, and neither waits for a read the drive is
    // still doing: the stream's reads are made on a thread that nobody waits for.
    info->cancel_fn = [](void* s) { static_cast<DiscAudioStream*>(s)->Cancel(); };
    info->close_fn = [](void* s) { delete static_cast<DiscAudioStream*>(s); };
    return 0;
}

} // namespace mci
