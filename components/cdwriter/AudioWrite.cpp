#include "components/cdwriter/AudioWrite.h"

#include "components/cdwriter/AudioDecoder.h"
#include "components/cdwriter/BurnWatch.h"
#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"
#include "components/cdwriter/Libraries.h"
#include "platform/files/WholeFile.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <memory>

namespace cdwriter {

namespace {

namespace Err = WriteErrorNumber;

constexpr int SectorBytes = 2352;
constexpr int FramesPerSector = SectorBytes / 4;
constexpr int ChunkSectors = 75;
constexpr qint64 DiscSectors = 80 * 60 * 75; // an 80-minute disc
constexpr int CdSpeedKB = 176;

template <class Event> void Post(JobThread& job, Event event) { job.Post(std::function<void()>(std::move(event))); }

bool Throttle(QElapsedTimer& since)
{
    if (since.isValid() && since.elapsed() < 100) return false;
    since.restart();
    return true;
}

// Where a track's audio comes from while it is written: its cached copy, or its file decoded now.
class TrackReader {
public:
    bool Open(const AudioTrack& track, const QString& cached)
    {
        if (!cached.isEmpty()) {
            file_ = std::make_unique<QFile>(cached);
            return file_->open(QIODevice::ReadOnly);
        }
        decoder_ = std::make_unique<AudioDecoder>();
        return decoder_->Open(track.file);
    }

    // Up to `sectors` whole sectors of audio; the last ones padded with silence.
    qint64 Read(QByteArray& buffer, int sectors)
    {
        buffer.fill('\0', qsizetype(sectors) * SectorBytes);
        qint64 got = 0;
        if (file_) {
            got = file_->read(buffer.data(), buffer.size());
        } else {
            got = qint64(decoder_->Read(reinterpret_cast<std::int16_t*>(buffer.data()), std::size_t(sectors) * FramesPerSector)) * 4;
        }
        if (got <= 0) return 0;
        const qint64 whole = (got + SectorBytes - 1) / SectorBytes * SectorBytes;
        buffer.truncate(whole);
        return whole;
    }

private:
    std::unique_ptr<QFile> file_;
    std::unique_ptr<AudioDecoder> decoder_;
};

// Decodes every track to a file of CD audio in `folder`, with the caching events.
enum class Caching { Done, Cancelled, Failed };
Caching CacheTracks(JobThread& job, CDWriterXP& writer, const std::vector<AudioTrack>& tracks, const QTemporaryDir& folder,
    std::vector<QString>& cached)
{
    CDWriterXP* w = &writer;
    std::vector<std::int16_t> samples(std::size_t(ChunkSectors) * FramesPerSector * 2);
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const int number = int(i) + 1;
        const qint64 total = tracks[i].sectors * SectorBytes;
        Post(job, [w, number, total] { emit w->CachingStarted(number, total); });
        AudioDecoder decoder;
        QFile out(folder.filePath(QStringLiteral("track%1.raw").arg(number)));
        if (!decoder.Open(tracks[i].file) || !out.open(QIODevice::WriteOnly)) return Caching::Failed;
        qint64 done = 0;
        QElapsedTimer since;
        while (const std::size_t frames = decoder.Read(samples.data(), std::size_t(ChunkSectors) * FramesPerSector)) {
            if (job.Aborted()) return Caching::Cancelled;
            if (out.write(reinterpret_cast<const char*>(samples.data()), qint64(frames) * 4) != qint64(frames) * 4)
                return Caching::Failed;
            done += qint64(frames) * 4;
            if (Throttle(since)) Post(job, [w, done] { emit w->CachingProgress(done); });
        }
        Post(job, [w, total] { emit w->CachingProgress(total); });
        cached.push_back(out.fileName());
    }
    return Caching::Done;
}

std::function<void()> Cancelled(CDWriterXP& writer)
{
    CDWriterXP* w = &writer;
    return [w] { emit w->WriteCancelled(); };
}

std::function<void()> Complete(CDWriterXP& writer)
{
    CDWriterXP* w = &writer;
    return [w] { emit w->WriteComplete(); };
}

// The disc-image recorder: the audio goes into its file, the cue sheet beside it.
std::function<void()> WriteImage(JobThread& job, CDWriterXP& writer, const Device& device, const std::vector<AudioTrack>& tracks,
    const std::vector<QString>& cached, const AudioWriteOptions& options)
{
    CDWriterXP* w = &writer;
    QSaveFile bin(device.imageFile);
    if (!options.testWrite && !bin.open(QIODevice::WriteOnly))
        return ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
    QByteArray buffer;
    // A track takes as many sectors as its file decodes to; the list's length was the file's own
    // estimate (an MP3 file's header may count its encoder's padding).
    std::vector<AudioTrack> written = tracks;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const int number = int(i) + 1;
        const qint64 size = cached.empty() ? tracks[i].sectors * SectorBytes : QFileInfo(cached[i]).size();
        Post(job, [w, number, size] { emit w->PreparingTrack(number, size); });
        TrackReader reader;
        if (!reader.Open(tracks[i], cached.empty() ? QString() : cached[i]))
            return ErrorEvent(writer, Err::SourceUnreadable, "An audio file could not be read.");
        qint64 done = 0;
        QElapsedTimer since;
        while (const qint64 got = reader.Read(buffer, ChunkSectors)) {
            if (job.Aborted()) return Cancelled(writer);
            if (!options.testWrite && bin.write(buffer.constData(), got) != got)
                return ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
            done += got;
            if (Throttle(since)) {
                // A file has no drive buffer that could run dry, and the audio goes into it as soon
                // as it is read: both levels are reported full.
                const qint64 shown = std::min(done, size);
                Post(job, [w, number, shown] { emit w->WriteProgress(number, shown, 100); });
                Post(job, [w] { emit w->ReadBufferLevel(100); });
            }
        }
        if (done == 0) return ErrorEvent(writer, Err::SourceUnreadable, "An audio file could not be read.");
        written[i].sectors = done / SectorBytes;
        Post(job, [w, number, size] { emit w->WriteProgress(number, size, 100); });
        Post(job, [w, number] { emit w->ClosingTrack(number); });
    }
    Post(job, [w] { emit w->ClosingDisc(); });
    if (options.testWrite) return Complete(writer);

    // The cue sheet describes the audio beside it: both files are the new ones, or both the old.
    QSaveFile cue(device.imageFile + QStringLiteral(".cue"));
    const QByteArray sheet = AudioCueSheet(QFileInfo(device.imageFile).fileName(), written).toUtf8();
    if (!cue.open(QIODevice::WriteOnly) || cue.write(sheet) != sheet.size() || !files::CommitPair(bin, cue))
        return ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
    WriteRecorderState(device, RecorderState::Closed);
    return Complete(writer);
}

// A real recorder: the cached tracks become audio tracks of one session, written at once and
// closed for good.
std::function<void()> WriteDrive(JobThread& job, CDWriterXP& writer, HeldDrive& held, const std::vector<QString>& cached,
    const AudioWriteOptions& options)
{
    burn_drive* drive = held.Drive();
    auto disc = std::make_unique<const AudioBurnDisc>(cached);
    if (!disc->Valid()) return ErrorEvent(writer, Err::SourceUnreadable, "An audio file could not be read.");
    burn_write_opts* opts = burn_write_opts_new(drive);
    burn_write_opts_set_perform_opc(opts, 0);
    burn_write_opts_set_multi(opts, 0);
    burn_write_opts_set_simulate(opts, options.testWrite ? 1 : 0);
    burn_write_opts_set_underrun_proof(opts, options.burnProof ? 1 : 0);
    burn_write_opts_set_write_type(opts, BURN_WRITE_SAO, BURN_BLOCK_SAO);
    burn_drive_set_speed(drive, 0, options.speed > 0 ? options.speed * CdSpeedKB : 0);

    const BurnEnd end = StartBurn(drive, [&] { burn_disc_write(opts, disc->Disc()); })
        ? WatchBurn(job, writer, DriveSource(drive), disc->Sizes(), true, [&disc](int track) { return FifoFill(disc->Source(track - 1)); })
        : BurnEnd::Failed;
    // The fifos go first: their threads stop with them. Then the library's write thread may still
    // be on its way out, using the drive and the options, after the drive has said it is idle.
    disc.reset();
    job.WaitForHelpers();
    burn_write_opts_free(opts);
    if (end == BurnEnd::Cancelled) return Cancelled(writer);
    if (end == BurnEnd::Failed) return ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
    return Complete(writer);
}

} // namespace

void DefineTrack(burn_track* track, const TrackDefinition& definition)
{
    burn_track_define_data(track, definition.offset, definition.tail, definition.pad ? 1 : 0, definition.mode);
    burn_track_set_byte_swap(track, definition.swapBytes ? 1 : 0);
}

AudioBurnDisc::AudioBurnDisc(const std::vector<QString>& files)
    : disc_(burn_disc_create())
    , session_(burn_session_create())
{
    burn_disc_add_session(disc_, session_, BURN_POS_END);
    for (const QString& file : files) {
        burn::burn_source* source = burn_file_source_new(file.toUtf8().constData(), nullptr);
        if (!source) {
            valid_ = false;
            continue;
        }
        // The fifo keeps its own hold on the file's source; bit0: a file source reads any amount.
        burn::burn_source* fifo = burn_fifo_source_new(source, SectorBytes, 512, 1);
        burn_source_free(source);
        burn_track* track = burn_track_create();
        // libburn.h, BURN_AUDIO: audio data is 44.1 kHz 16-bit stereo in little-endian byte order,
        // as the decoder writes it, so the bytes go to the library as they are, unswapped.
        TrackDefinition definition;
        definition.mode = BURN_AUDIO;
        DefineTrack(track, definition);
        definitions_.push_back(definition);
        if (fifo) burn_track_set_source(track, fifo);
        else valid_ = false;
        burn_session_add_track(session_, track, BURN_POS_END);
        tracks_.push_back(track);
        fifos_.push_back(fifo);
        bytes_.push_back((QFileInfo(file).size() + SectorBytes - 1) / SectorBytes * SectorBytes);
    }
}

AudioBurnDisc::~AudioBurnDisc()
{
    for (burn_track* track : tracks_) burn_track_free(track);
    for (burn::burn_source* fifo : fifos_)
        if (fifo) burn_source_free(fifo);
    burn_session_free(session_);
    burn_disc_free(disc_);
}

BurnTracks AudioBurnDisc::Sizes() const { return {bytes_, SectorBytes}; }

bool AudioTrackList::Add(const QString& file, int position)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("mp3") && suffix != QLatin1String("wav")) return false;
    AudioDecoder decoder;
    if (!decoder.Open(file)) return false;
    const qint64 sectors = (decoder.Frames() + FramesPerSector - 1) / FramesPerSector;
    const std::size_t at = position < 1 ? 0 : std::min<std::size_t>(std::size_t(position) - 1, tracks_.size());
    tracks_.insert(tracks_.begin() + std::ptrdiff_t(at), AudioTrack {file, sectors});
    return true;
}

bool AudioTrackList::Remove(int index)
{
    if (index < 1 || index > Count()) return false;
    tracks_.erase(tracks_.begin() + (index - 1));
    return true;
}

qint64 AudioTrackList::TotalSectors() const
{
    qint64 total = 0;
    for (const AudioTrack& t : tracks_)
        total += t.sectors;
    return total;
}

QString AudioCueSheet(const QString& binName, const std::vector<AudioTrack>& tracks)
{
    QString sheet = QStringLiteral("FILE \"%1\" BINARY\n").arg(binName);
    qint64 start = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        sheet += QStringLiteral("  TRACK %1 AUDIO\n    INDEX 01 %2:%3:%4\n")
                     .arg(i + 1, 2, 10, QLatin1Char('0'))
                     .arg(start / (75 * 60), 2, 10, QLatin1Char('0'))
                     .arg(start / 75 % 60, 2, 10, QLatin1Char('0'))
                     .arg(start % 75, 2, 10, QLatin1Char('0'));
        start += tracks[i].sectors;
    }
    return sheet;
}

std::function<void()> WriteAudioDisc(JobThread& job, CDWriterXP& writer, HeldDrive& held, std::vector<AudioTrack> tracks,
    const AudioWriteOptions& options)
{
    CDWriterXP* w = &writer;
    Post(job, [w] { emit w->PreparingToWrite(); });
    const DiscInfo info = ReadDiscInfo(held);
    if (!info.present) return ErrorEvent(writer, Err::NoDisc, "There is no disc in the drive.");
    if (info.status != 0) return ErrorEvent(writer, Err::DiscClosed, "The disc is not empty.");
    if (tracks.empty()) return ErrorEvent(writer, Err::SourceUnreadable, "There are no tracks to write.");
    qint64 sectors = 0;
    for (const AudioTrack& t : tracks)
        sectors += t.sectors;
    if (sectors > DiscSectors) return ErrorEvent(writer, Err::NoSpace, "The tracks are longer than the disc.");

    const bool image = held.Which().imageRecorder;
    QTemporaryDir folder;
    std::vector<QString> cached;
    if (options.cacheFiles || !image) {
        if (!folder.isValid()) return ErrorEvent(writer, Err::SourceUnreadable, "The audio files could not be cached.");
        switch (CacheTracks(job, writer, tracks, folder, cached)) {
        case Caching::Done: break;
        case Caching::Cancelled: return Cancelled(writer);
        case Caching::Failed: return ErrorEvent(writer, Err::SourceUnreadable, "An audio file could not be read.");
        }
    }
    return image ? WriteImage(job, writer, held.Which(), tracks, cached, options) : WriteDrive(job, writer, held, cached, options);
}

} // namespace cdwriter
