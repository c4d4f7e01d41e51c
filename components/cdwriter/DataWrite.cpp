#include "components/cdwriter/DataWrite.h"

#include "components/cdwriter/BurnWatch.h"
#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/DataImage.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"

#include "components/cdwriter/Libraries.h"
#include "platform/files/WholeFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <cstdlib>
#include <vector>

namespace cdwriter {

namespace {

namespace Err = WriteErrorNumber;

constexpr int kCdSpeedKB = 176;
constexpr qint64 kChunk = 32 * 2048;
constexpr std::size_t kImageFileFifoBlocks = 128;

template <class Event> void Post(JobThread& job, Event event) { job.Post(std::function<void()>(std::move(event))); }

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

// Reads every source file once before the disc is touched: a file that went missing or cannot
// be read stops the job while the disc is still as it was, and the files are then in the
// system's cache for the write.
enum class Caching { Done, Cancelled, Failed };
Caching CacheSources(JobThread& job, CDWriterXP& writer, const DataImage& image)
{
    CDWriterXP* w = &writer;
    const std::vector<QString> files = image.SourceFiles();
    qint64 total = 0;
    for (const QString& file : files) total += QFile(file).size();
    Post(job, [w, total] { emit w->CachingStarted(1, total); });
    std::vector<char> buffer(kChunk);
    qint64 done = 0;
    QElapsedTimer since;
    since.start();
    int number = 0;
    for (const QString& name : files) {
        ++number;
        Post(job, [w, number] { emit w->ReadingFile(number); });
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) return Caching::Failed;
        for (;;) {
            if (job.Aborted()) return Caching::Cancelled;
            const qint64 got = file.read(buffer.data(), kChunk);
            if (got < 0) return Caching::Failed;
            if (got == 0) break;
            done += got;
            if (since.elapsed() >= 100) {
                since.restart();
                Post(job, [w, done] { emit w->CachingProgress(done); });
            }
        }
    }
    Post(job, [w, done] { emit w->CachingProgress(done); });
    return Caching::Done;
}

void ApplyWriteOptions(burn_write_opts* wo, burn_drive* drive, const DataWriteOptions& options)
{
    burn_write_opts_set_perform_opc(wo, 0);
    burn_write_opts_set_multi(wo, options.finalizeDisc ? 0 : 1);
    burn_write_opts_set_simulate(wo, options.testWrite ? 1 : 0);
    burn_write_opts_set_underrun_proof(wo, options.burnProof ? 1 : 0);
    burn_drive_set_speed(drive, 0, options.speed > 0 ? options.speed * kCdSpeedKB : 0);
}

void RecordState(const HeldDrive& held, const DataWriteOptions& options)
{
    if (!held.Which().imageRecorder || options.testWrite) return;
    if (options.finalizeDisc) WriteRecorderState(held.Which(), RecorderState::Closed);
    else if (!options.closeSession) WriteRecorderState(held.Which(), RecorderState::SessionOpen);
    else WriteRecorderState(held.Which(), RecorderState::Complete);
}

int FifoPercent(burn_drive* drive)
{
    int size = 0;
    int free = 0;
    char* text = nullptr;
    if (isoburn_get_fifo_status(drive, &size, &free, &text) < 0 || size <= 0) return 0;
    return static_cast<int>((100ll * (size - free)) / size);
}

// Checks the disc before a write and says why it cannot take one.
std::function<void()> RefuseDisc(CDWriterXP& writer, const DiscInfo& info, bool needBlank)
{
    if (!info.present) return ErrorEvent(writer, Err::NoDisc, "There is no writable disc in the drive.");
    if (info.status == 2) return ErrorEvent(writer, Err::DiscClosed, "The disc is closed; nothing more can be written to it.");
    if (needBlank && info.status != 0) return ErrorEvent(writer, Err::DiscClosed, "The disc is not blank.");
    return {};
}

} // namespace

std::function<void()> WriteDataSession(JobThread& job, CDWriterXP& writer, HeldDrive& held, DataImage& image,
    const DataWriteOptions& options, bool& wrote)
{
    wrote = false;
    CDWriterXP* w = &writer;
    burn_drive* drive = held.Drive();
    Post(job, [w] { emit w->PreparingToWrite(); });
    const DiscInfo info = ReadDiscInfo(held);
    if (auto refusal = RefuseDisc(writer, info, false)) return refusal;

    if (options.cacheImage) {
        const Caching cached = CacheSources(job, writer, image);
        if (cached == Caching::Cancelled) return Cancelled(writer);
        if (cached == Caching::Failed)
            return ErrorEvent(writer, Err::SourceUnreadable, "A file of the image could not be read.");
    }

    // The session grows the tree the drive read from the disc. An image imported from this disc
    // is that tree already; any other is copied into the (emptied) tree of the disc, so the new
    // session holds the image's files and nothing of the sessions before.
    IsoImage* attached = isoburn_get_attached_image(drive);
    if (attached) iso_image_unref(attached);
    if (attached != image.Image()) {
        IsoImage* disk = ReadDiscImage(held);
        if (!disk || !image.CopyInto(disk)) {
            if (disk) iso_image_unref(disk);
            return ErrorEvent(writer, Err::ImageFailed, "The image could not be laid out.");
        }
        iso_image_set_volume_id(disk, options.volumeId.left(32).toUtf8().constData());
        iso_image_unref(disk);
    } else {
        image.SetVolumeId(options.volumeId);
    }

    Post(job, [w] { emit w->CreatingDirectories(); });
    isoburn_imgen_opts* imageOptions = nullptr;
    isoburn_igopt_new(&imageOptions, 0);
    isoburn_igopt_set_level(imageOptions, options.isoLevel1 ? 1 : 2);
    isoburn_igopt_set_extensions(imageOptions, options.joliet ? isoburn_igopt_joliet : 0);
    // Joliet names are kept as given: no dot is added to a name without one.
    int relaxed = 0;
    isoburn_igopt_get_relaxed(imageOptions, &relaxed);
    isoburn_igopt_set_relaxed(imageOptions, relaxed | isoburn_igopt_no_j_force_dots);
    burn_disc* disc = nullptr;
    const int prepared = isoburn_prepare_disc(drive, &disc, imageOptions);
    isoburn_igopt_destroy(&imageOptions, 0);
    if (prepared <= 0 || !disc) return ErrorEvent(writer, Err::ImageFailed, "The image could not be laid out.");

    burn_write_opts* writeOptions = burn_write_opts_new(drive);
    ApplyWriteOptions(writeOptions, drive, options);
    const qint64 blocks = burn_disc_get_sectors(disc);
    const bool tooLarge = held.Which().imageRecorder ? info.nextAddress + blocks > kRecorderBlocks
                                                     : info.freeBlocks > 0 && blocks > info.freeBlocks;
    if (tooLarge || job.Aborted()) {
        isoburn_cancel_prepared_write(drive, nullptr, 0);
        burn_disc_free(disc);
        burn_write_opts_free(writeOptions);
        if (tooLarge) return ErrorEvent(writer, Err::NoSpace, "The image is larger than the free space on the disc.");
        return Cancelled(writer);
    }

    const BurnTracks track {{blocks * 2048}, 2048};
    const BurnEnd end = StartBurn(drive, [&] { isoburn_disc_write(writeOptions, disc); })
        ? WatchBurn(job, writer, DriveSource(drive), track, options.finalizeDisc, [drive](int) { return FifoPercent(drive); })
        : BurnEnd::Failed;
    // A write that stopped early leaves the image's producer waiting to hand on more. libisofs.h,
    // iso_image_create_burn_source: the generator thread ends by the source's cancel(); libisoburn.h,
    // isoburn_cancel_prepared_write: once it returns 0 or 1, that thread has ended.
    if (end != BurnEnd::Done) isoburn_cancel_prepared_write(drive, nullptr, 0);
    isoburn_sync_after_write(drive, nullptr, 0);
    burn_disc_free(disc);
    // The recording library's write thread may still be on its way out, using the drive and the
    // options, after the drive has said it is idle.
    job.WaitForHelpers();
    burn_write_opts_free(writeOptions);
    if (end == BurnEnd::Done && !options.testWrite && isoburn_activate_session(drive) <= 0)
        return ErrorEvent(writer, Err::WriteFailed, "The new session could not be completed.");
    if (end == BurnEnd::Cancelled) return Cancelled(writer);
    if (end == BurnEnd::Failed) return ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
    RecordState(held, options);
    wrote = !options.testWrite;
    return Complete(writer);
}

std::function<void()> WriteIsoFileToDisc(JobThread& job, CDWriterXP& writer, HeldDrive& held, const QString& file,
    const DataWriteOptions& options)
{
    CDWriterXP* w = &writer;
    burn_drive* drive = held.Drive();
    Post(job, [w] { emit w->PreparingToWrite(); });
    if (auto refusal = RefuseDisc(writer, ReadDiscInfo(held), true)) return refusal;

    burn::burn_source* source = burn_file_source_new(file.toUtf8().constData(), nullptr);
    if (!source) return ErrorEvent(writer, Err::SourceUnreadable, "The ISO file could not be read.");
    burn::burn_source* fifo = burn_fifo_source_new(source, 2048, 1024, 0);
    burn_disc* disc = burn_disc_create();
    burn_session* session = burn_session_create();
    burn_disc_add_session(disc, session, BURN_POS_END);
    burn_track* track = burn_track_create();
    burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
    burn_track_set_source(track, fifo ? fifo : source);
    burn_session_add_track(session, track, BURN_POS_END);

    burn_write_opts* writeOptions = burn_write_opts_new(drive);
    ApplyWriteOptions(writeOptions, drive, options);
    // The recorder's file takes the image as it stands; whether more may follow is its own record.
    if (held.Which().imageRecorder) burn_write_opts_set_multi(writeOptions, 0);
    std::vector<char> reasons(BURN_REASONS_LEN);
    const bool writable = burn_write_opts_auto_write_type(writeOptions, disc, reasons.data(), 0) != BURN_WRITE_NONE;
    const qint64 bytes = QFile(file).size();
    const bool tooLarge = held.Which().imageRecorder && bytes / 2048 > kRecorderBlocks;
    std::function<void()> result;
    if (!writable || tooLarge) {
        result = tooLarge ? ErrorEvent(writer, Err::NoSpace, "The ISO file is larger than the disc.")
                          : ErrorEvent(writer, Err::WriteFailed, "The disc cannot take this ISO file.");
    } else {
        const BurnTracks track {{bytes}, 2048};
        const BurnEnd end = !StartBurn(drive, [&] { burn_disc_write(writeOptions, disc); })
            ? BurnEnd::Failed
            : WatchBurn(job, writer, DriveSource(drive), track, options.finalizeDisc, [fifo](int) { return FifoFill(fifo); });
        if (end == BurnEnd::Cancelled) result = Cancelled(writer);
        else if (end == BurnEnd::Failed) result = ErrorEvent(writer, Err::WriteFailed, "The disc could not be written.");
        else {
            RecordState(held, options);
            result = Complete(writer);
        }
    }
    burn_track_free(track);
    burn_session_free(session);
    burn_disc_free(disc);
    // libburn.h, burn_fifo_source_new: the fifo is disposed by burn_source_free; its worker thread,
    // which a write that ended early leaves waiting for a reader, is stopped with it.
    if (fifo) burn_source_free(fifo);
    burn_source_free(source);
    job.WaitForHelpers();
    burn_write_opts_free(writeOptions);
    return result;
}

bool WriteImageFile(JobThread& job, CDWriterXP& writer, DataImage& image, const DataWriteOptions& options,
    const QString& file)
{
    CDWriterXP* w = &writer;
    image.SetVolumeId(options.volumeId);
    IsoWriteOpts* writeOptions = nullptr;
    if (iso_write_opts_new(&writeOptions, 0) < 0) return false;
    iso_write_opts_set_iso_level(writeOptions, options.isoLevel1 ? 1 : 2);
    iso_write_opts_set_joliet(writeOptions, options.joliet ? 1 : 0);
    iso_write_opts_set_no_force_dots(writeOptions, 2);
    // The ring buffer between libisofs's writer thread and the reader below smooths the supply of
    // a recorder that must never run dry; a file takes what comes at its own pace, so a small one
    // (256 KB; libisofs.h asks for at least 32 blocks and gives 2 MB by default) does as well and
    // keeps the memory low.
    iso_write_opts_set_fifo_size(writeOptions, kImageFileFifoBlocks);
    ::burn_source* created = nullptr;
    const int made = iso_image_create_burn_source(image.Image(), writeOptions, &created);
    iso_write_opts_free(writeOptions);
    if (made < 0 || !created) return false;
    // Both libraries declare the same C structure; the recording library's declaration is the
    // complete one.
    auto* source = reinterpret_cast<burn::burn_source*>(created);

    const qint64 total = source->get_size(source);
    QSaveFile out(file);
    bool ok = out.open(QIODevice::WriteOnly);
    std::vector<unsigned char> buffer(kChunk);
    qint64 written = 0;
    QElapsedTimer since;
    since.start();
    while (ok) {
        if (job.Aborted()) {
            ok = false;
            break;
        }
        // The image's reader hands out only whole requests, so the last one asks for what is left.
        const int want = int(std::min<qint64>(kChunk, total - written));
        if (want <= 0) break;
        const int got = source->read_xt ? source->read_xt(source, buffer.data(), want) : source->read(source, buffer.data(), want);
        if (got < 0) ok = false;
        if (got <= 0) break;
        if (out.write(reinterpret_cast<const char*>(buffer.data()), got) != got) ok = false;
        written += got;
        if (since.elapsed() >= 250 && total > 0) {
            since.restart();
            const QString text = QStringLiteral("Creating ISO File... %1 %").arg(int(written * 100 / total));
            Post(job, [w, text] { emit w->StatusText(0, text); });
        }
    }
    ok = ok && written == total;
    if (!ok) source->cancel(source);
    source->free_data(source);
    std::free(source);
    if (!ok) {
        out.cancelWriting();
        return false;
    }
    return files::CommitWhole(out);
}

IsoImage* ReadLastSession(HeldDrive& held)
{
    const DiscInfo info = ReadDiscInfo(held);
    if (info.status != 1 && info.status != 2) return nullptr;
    return ReadDiscImage(held);
}

IsoImage* ReadDiscImage(HeldDrive& held)
{
    isoburn_read_opts* readOptions = nullptr;
    if (isoburn_ropt_new(&readOptions, 0) <= 0) return nullptr;
    isoburn_ropt_set_extensions(readOptions, isoburn_ropt_noiso1999 | isoburn_ropt_noaaip | isoburn_ropt_noacl
            | isoburn_ropt_noea | isoburn_ropt_noino | isoburn_ropt_nomd5);
    isoburn_ropt_set_input_charset(readOptions, nullptr);
    IsoImage* image = nullptr;
    const int read = isoburn_read_image(held.Drive(), readOptions, &image);
    isoburn_ropt_destroy(&readOptions, 0);
    if (read <= 0) {
        if (image) iso_image_unref(image);
        return nullptr;
    }
    return image;
}

bool LooksLikeIsoFile(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly) || !in.seek(16 * 2048)) return false;
    const QByteArray head = in.read(6);
    return head.size() == 6 && head.mid(1, 5) == "CD001";
}

} // namespace cdwriter
