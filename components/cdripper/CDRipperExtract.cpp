// The extraction worker: reads each queued track with error correction and writes it as a WAV
// file or through the attached encoder.
#include "components/cdripper/CDRipperX.h"

#include "components/encoders/RipEncoder.h"
#include "platform/files/PartialFile.h"

#include <QMetaObject>
#include <array>
#include <chrono>
#include <cdio/cdio.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <sys/stat.h>

namespace {

constexpr int FramesPerSector = CDIO_CD_FRAMESIZE_RAW / 4; // 588 stereo frames of 16 bits
constexpr int ReadRetries = 3;
constexpr auto ProgressInterval = std::chrono::milliseconds(100);

// A track written as a 44.1 kHz 16-bit stereo WAV file, under a hidden name until it is whole.
class WavStream : public RipEncoderStream {
public:
    bool Create(const std::string& path, std::uint64_t frames)
    {
        if (!file_.Create(path)) return false;
        return WriteHeader(frames);
    }

    bool Write(const std::int16_t* samples, std::size_t frames) override
    {
        written_ += frames;
        return std::fwrite(samples, 4, frames, file_.File()) == frames;
    }

    bool Finish() override
    {
        return std::fseek(file_.File(), 0, SEEK_SET) == 0 && WriteHeader(written_) && file_.Commit();
    }

private:
    bool WriteHeader(std::uint64_t frames)
    {
        const std::uint32_t data = static_cast<std::uint32_t>(std::min<std::uint64_t>(frames * 4, 0xFFFFFFFFu - 36));
        std::array<unsigned char, 44> h {};
        const auto put32 = [&h](int at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i)
                h[at + i] = static_cast<unsigned char>(v >> (8 * i));
        };
        const auto put16 = [&h](int at, std::uint16_t v) {
            h[at] = static_cast<unsigned char>(v);
            h[at + 1] = static_cast<unsigned char>(v >> 8);
        };
        std::memcpy(&h[0], "RIFF", 4);
        put32(4, 36 + data);
        std::memcpy(&h[8], "WAVEfmt ", 8);
        put32(16, 16);
        put16(20, 1); // PCM
        put16(22, 2);
        put32(24, 44100);
        put32(28, 44100 * 4);
        put16(32, 4);
        put16(34, 16);
        std::memcpy(&h[36], "data", 4);
        put32(40, data);
        return std::fwrite(h.data(), 1, h.size(), file_.File()) == h.size();
    }

    files::PartialFile file_;
    std::uint64_t written_ = 0;
};

// The correction engine reads through the drive's read_audio (paranoia/cdda.h: the drive's own
// functions sit in cdrom_drive_t); the extraction puts itself in between. A cancel then ends a read
// whatever the engine is doing: paranoia.c gives up a read at once, returning no sector, when a
// read fails with ENOMEDIUM. And it learns which sectors an image's data file does not have, which
// libcdio would report read without filling them.
struct ReadGuard {
    const std::atomic<bool>* cancel = nullptr;
    long (*read)(cdrom_drive_t*, void*, lsn_t, long) = nullptr; // the drive's own
    QByteArray data; // an image's data file; empty for a device
    lsn_t missing = -1; // the first sector the image does not have, once one was asked for
};
thread_local ReadGuard* readGuard = nullptr;

// What the correction engine reports while reading, as the ripper's status codes; each kind at
// most once a second of audio, so a scratched disc does not flood the window. That holds wherever
// the engine is, the disc's first sector included.
thread_local std::function<void(int code, int value)>* reportStatus = nullptr;
thread_local std::array<std::optional<long>, 16> lastReported {};

void ParanoiaCallback(long inpos, paranoia_cb_mode_t function)
{
    if (!reportStatus) return;
    int code = 0;
    switch (function) {
    case PARANOIA_CB_SKIP: code = CDRipperX::JitterNotCorrected; break;
    case PARANOIA_CB_BACKOFF: code = CDRipperX::SpeedAdjusted; break;
    case PARANOIA_CB_READERR: code = CDRipperX::ReadFailed; break;
    default: return;
    }
    const long sector = inpos / (CDIO_CD_FRAMESIZE_RAW / 2); // the position counts 16-bit samples
    // Sectors the image does not have are reported once, by the extraction, when it comes to them.
    if (code == CDRipperX::ReadFailed && readGuard && readGuard->missing >= 0 && sector >= readGuard->missing) return;
    std::optional<long>& last = lastReported[code];
    if (last && std::labs(sector - *last) < 75) return;
    last = sector;
    (*reportStatus)(code, static_cast<int>(sector));
}

long GuardedRead(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors)
{
    ReadGuard& guard = *readGuard;
    if (guard.cancel->load()) {
        errno = ENOMEDIUM;
        return -1;
    }
    if (!guard.data.isEmpty()) {
        struct stat st {};
        const lsn_t have = ::stat(guard.data.constData(), &st) == 0 ? lsn_t(st.st_size / CDIO_CD_FRAMESIZE_RAW) : 0;
        if (begin + sectors > have) {
            guard.missing = guard.missing < 0 ? have : std::min(guard.missing, have);
            if (begin >= have) {
                errno = ENOMEDIUM;
                return -1;
            }
            sectors = have - begin;
        }
    }
    return guard.read(drive, buffer, begin, sectors);
}

struct DriveHandles {
    CdIo_t* cdio = nullptr;
    cdrom_drive_t* drive = nullptr;
    cdrom_paranoia_t* paranoia = nullptr;

    ~DriveHandles()
    {
        if (paranoia) cdio_paranoia_free(paranoia);
        if (drive) cdio_cddap_close_no_free_cdio(drive);
        if (cdio) cdio_destroy(cdio);
    }
};

} // namespace

void CDRipperX::Extract(std::vector<RipItem> items, mci::DiscToc toc, QString source, int speed, RipEncoder* encoder)
{
    const auto post = [this](auto f) { QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection); };
    const auto status = [&](int code, int value) { post([this, code, value] { emit RipStatus(code, value); }); };
    const auto finish = [&] {
        post([this] {
            ripping_ = false;
            StopWorker();
            emit RipCompleted();
        });
    };
    post([this] { emit RipStarted(); });

    DriveHandles h;
    {
        std::lock_guard lock(mci::CdDrive::LibraryLock());
        h.cdio = cdio_open(source.toLocal8Bit().constData(), DRIVER_UNKNOWN);
        if (h.cdio) h.drive = cdio_cddap_identify_cdio(h.cdio, CDDA_MESSAGE_FORGETIT, nullptr);
    }
    if (!h.drive || cdio_cddap_open(h.drive) != 0) {
        status(DriveNotInitialized, 0);
        return finish();
    }
    if (speed > 0) cdio_cddap_speed_set(h.drive, speed);
    h.paranoia = cdio_paranoia_init(h.drive);
    if (!h.paranoia) {
        status(BufferNotInitialized, 0);
        return finish();
    }
    cdio_paranoia_modeset(h.paranoia, PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);

    std::function<void(int, int)> report = status;
    reportStatus = &report;
    lastReported.fill(std::nullopt);
    ReadGuard guard {&cancel_, h.drive->read_audio, mci::CdDrive::ImageData(source).toLocal8Bit(), -1};
    readGuard = &guard;
    h.drive->read_audio = GuardedRead;

    for (const RipItem& item : items) {
        if (cancel_) break;
        const int start = toc.TrackStart(item.track);
        const int end = toc.TrackEnd(item.track);
        post([this, file = item.file, start, end, track = item.track] { emit TrackStarted(file, start, end, track); });

        const std::string path = item.file.toLocal8Bit().toStdString();
        const std::uint64_t frames = static_cast<std::uint64_t>(end - start) * FramesPerSector;
        std::unique_ptr<RipEncoderStream> out;
        if (encoder) {
            out = encoder->BeginRipStream(path, frames);
        } else {
            auto wav = std::make_unique<WavStream>();
            if (wav->Create(path, frames)) out = std::move(wav);
        }
        if (!out) {
            status(CannotCreateFile, item.track);
            continue;
        }

        cdio_paranoia_seek(h.paranoia, start, SEEK_SET);
        bool whole = true;
        auto lastProgress = std::chrono::steady_clock::now();
        for (int sector = start; sector < end && whole; ++sector) {
            if (cancel_) {
                whole = false;
                break;
            }
            const auto beyondImage = [&] { return guard.missing >= 0 && sector >= guard.missing; };
            std::int16_t* samples = cdio_paranoia_read_limited(h.paranoia, ParanoiaCallback, 20);
            for (int retry = 0; !samples && retry < ReadRetries && !cancel_ && !beyondImage(); ++retry) {
                status(RetryingRead, sector);
                cdio_paranoia_seek(h.paranoia, sector, SEEK_SET);
                samples = cdio_paranoia_read_limited(h.paranoia, ParanoiaCallback, 20);
            }
            if (beyondImage()) {
                // What the image does not have is a read error, never silence.
                status(ReadFailed, sector);
                whole = false;
                break;
            }
            if (cancel_) {
                whole = false;
                break;
            }
            if (!samples) {
                status(RetryFailed, sector);
                whole = false;
                break;
            }
            if (!out->Write(samples, FramesPerSector)) {
                status(CannotWriteFile, sector);
                whole = false;
                break;
            }
            const auto now = std::chrono::steady_clock::now();
            if (now - lastProgress >= ProgressInterval || sector + 1 == end) {
                lastProgress = now;
                status(Progress, sector + 1);
            }
        }
        if (!whole) {
            out.reset(); // abandons the file
            status(FileAborted, item.track);
            if (cancel_) break;
            continue;
        }
        if (!out->Finish()) {
            status(CannotCloseFile, item.track);
            continue;
        }
        post([this] { emit TrackCompleted(); });
    }
    reportStatus = nullptr;
    readGuard = nullptr;
    if (cancel_) status(Cancelled, 0);
    finish();
}
