#include "platform/mci/CdDrive.h"

#include "platform/mci/CdioToc.h"
#include "platform/mci/CueSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>
#include <cdio/mmc_ll_cmds.h>
#include <algorithm>
#include <sys/stat.h>

namespace mci {

namespace {

struct CdioCloser {
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};
using Cdio = std::unique_ptr<CdIo_t, CdioCloser>;

// A cue sheet is a few lines per track; anything much larger is not one.
constexpr qint64 MaxCueBytes = 1 << 20;

// What an image reports as its highest speed: a disk file reads far faster than any drive.
constexpr int ImageMaxSpeed = 48;

Cdio Open(const QString& source, driver_id_t driver = DRIVER_UNKNOWN)
{
    if (source.isEmpty()) return {};
    std::lock_guard lock(CdDrive::LibraryLock());
    return Cdio(cdio_open(source.toLocal8Bit().constData(), driver));
}

void Quiet()
{
    // Probing a drive without a disc is not worth a message on the terminal.
    cdio_log_set_handler([](cdio_log_level_t, const char*) {});
}

bool IsDeviceNode(const QString& path)
{
    struct stat st {};
    if (::stat(path.toLocal8Bit().constData(), &st) != 0) return path.startsWith(QStringLiteral("/dev/"));
    return S_ISBLK(st.st_mode) || S_ISCHR(st.st_mode);
}

bool IsCueSheet(const QString& path) { return path.endsWith(QStringLiteral(".cue"), Qt::CaseInsensitive); }

// The data file libcdio opens for a cue sheet: its name with "cue" turned into "bin".
QString ImpliedBin(const QString& cue)
{
    const bool upper = cue.endsWith(QStringLiteral("CUE"));
    return cue.chopped(3) + (upper ? QStringLiteral("BIN") : QStringLiteral("bin"));
}

const QRegularExpression& FileLine()
{
    static const QRegularExpression re(QStringLiteral(R"re(^[ \t]*FILE[ \t]+(?:"([^"]*)"|(\S+))[ \t]+(\S+)[ \t]*$)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    return re;
}

} // namespace

int DiscToc::TrackEnd(int track) const
{
    const int next = track == LastTrack() ? leadOut : TrackStart(track + 1);
    // Between two sessions lie the first one's lead-out (90 s), the next one's lead-in (60 s) and
    // the pregap of its first track (2 s), 11,400 sectors in all that belong to no track. The
    // table of contents gives the data track's start only, so the audio track before it would
    // take them in: it ends where its session does, as libcdio-paranoia's
    // cdio_cddap_track_lastsector (paranoia/cdda.h) ends it on a CD Extra disc.
    constexpr int SessionGap = (90 + 60 + 2) * CDIO_CD_FRAMES_PER_SEC;
    if (lastSession > TrackStart(firstTrack) && track < LastTrack() && IsAudio(track) && !IsAudio(track + 1)) {
        const int sessionEnd = lastSession - SessionGap;
        if (sessionEnd > TrackStart(track) && sessionEnd <= next) return sessionEnd;
    }
    return next;
}

int DiscToc::TrackAt(int sector) const
{
    int track = firstTrack;
    for (int t = firstTrack; t <= LastTrack(); ++t)
        if (sector >= TrackStart(t)) track = t;
    return track;
}

std::optional<int> DiscToc::FirstAudioTrack() const
{
    for (int t = firstTrack; t <= LastTrack(); ++t)
        if (IsAudio(t)) return t;
    return std::nullopt;
}

CdDrive::CdDrive()
    : CdDrive([] {
        Quiet();
        QString device = qEnvironmentVariable("TESSEL_CDROM");
        if (device.isEmpty()) {
            if (char* first = cdio_get_default_device(nullptr)) {
                device = QString::fromLocal8Bit(first);
                cdio_free(first);
            }
        }
        return device;
    }())
{
}

CdDrive::CdDrive(QString device)
    : device_(std::move(device))
{
    Quiet();
    image_ = !device_.isEmpty() && !IsDeviceNode(device_);
}

QStringList CdDrive::Devices()
{
    Quiet();
    QStringList devices;
    const QString named = qEnvironmentVariable("TESSEL_CDROM");
    if (!named.isEmpty()) devices << named;
    if (char** list = cdio_get_devices(DRIVER_DEVICE)) {
        for (char** d = list; *d; ++d) {
            const QString device = QString::fromLocal8Bit(*d);
            if (!devices.contains(device)) devices << device;
        }
        cdio_free_device_list(list);
    }
    return devices;
}

std::mutex& CdDrive::LibraryLock()
{
    static std::mutex lock;
    return lock;
}

CdDrive::Identity CdDrive::Identify() const
{
    if (image_) return {QStringLiteral("Disc"), QStringLiteral("Image"), QString()};
    Cdio cd = Open(device_, DRIVER_DEVICE);
    cdio_hwinfo_t hw {};
    if (!cd || !cdio_get_hwinfo(cd.get(), &hw)) return {QStringLiteral("CD drive"), device_, QString()};
    return {QString::fromLatin1(hw.psz_vendor).trimmed(), QString::fromLatin1(hw.psz_model).trimmed(),
        QString::fromLatin1(hw.psz_revision).trimmed()};
}

int CdDrive::MaxSpeed() const
{
    if (image_) return ImageMaxSpeed;
    Cdio cd = Open(device_, DRIVER_DEVICE);
    if (!cd) return 0;
    // The capabilities page gives the highest read speed in kB/s; 176.4 kB/s is normal speed.
    unsigned char page[64] = {};
    if (mmc_mode_sense_10(cd.get(), page, sizeof page, CDIO_MMC_CAPABILITIES_PAGE) != DRIVER_OP_SUCCESS) return 1;
    const int kbPerSecond = (page[8 + 8] << 8) | page[8 + 9];
    return kbPerSecond > 0 ? std::max(1, (kbPerSecond * 10 + 882) / 1764) : 1;
}

bool CdDrive::SetSpeed(int speed)
{
    if (image_) return true;
    Cdio cd = Open(device_, DRIVER_DEVICE);
    return cd && cdio_set_speed(cd.get(), speed > 0 ? speed : -1) == DRIVER_OP_SUCCESS;
}

CdDrive::~CdDrive() = default;

QString CdDrive::Source() const
{
    if (!image_ || !IsCueSheet(device_)) return device_;
    QFile cue(device_);
    if (!cue.open(QIODevice::ReadOnly) || cue.size() > MaxCueBytes) return {};
    QByteArray text = cue.readAll();
    // Sheets written on Windows often start with UTF-8's byte-order mark, which libcdio's reader
    // takes for part of the first word: the sheet it is given goes without it.
    const bool marked = text.startsWith("\xEF\xBB\xBF");
    if (marked) text.remove(0, 3);
    // libcdio's cue reader trusts the sheet: only one of the shape it reads safely goes to it, and
    // only when every track starts inside the data file.
    const std::optional<CueSheet> sheet = ReadCueSheet(text);
    if (!sheet) return {};
    const QString data = QFileInfo(QFileInfo(device_).dir(), sheet->dataFile).absoluteFilePath();
    if (!QFileInfo(data).isFile() || !sheet->FitsData(QFileInfo(data).size())) return {};
    const QString implied = ImpliedBin(device_);
    if (!marked && QFileInfo(implied).exists() && QFileInfo(implied).canonicalFilePath() == QFileInfo(data).canonicalFilePath())
        return device_;

    // libcdio would open "<cue name>.bin": give it a sheet of that shape beside a link to the data
    // (the copy is needed for a marked sheet too).
    const QString key = data + QLatin1Char('\n') + QString::fromUtf8(text);
    if (alias_ && aliasKey_ == key) return alias_->filePath(QStringLiteral("disc.cue"));
    aliasKey_.clear();
    alias_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tessel-disc-XXXXXX"));
    if (!alias_->isValid()) return {};
    QString rewritten = QString::fromUtf8(text);
    rewritten.replace(FileLine(), QStringLiteral("FILE \"disc.bin\" \\3"));
    QFile out(alias_->filePath(QStringLiteral("disc.cue")));
    if (!QFile::link(data, alias_->filePath(QStringLiteral("disc.bin"))) || !out.open(QIODevice::WriteOnly)
        || out.write(rewritten.toUtf8()) < 0)
        return {};
    aliasKey_ = key;
    return out.fileName();
}

QString CdDrive::ImageData(const QString& source) { return IsCueSheet(source) ? ImpliedBin(source) : QString(); }

std::optional<DiscToc> ReadDiscToc(CdIo_t* cd)
{
    const track_t first = cdio_get_first_track_num(cd);
    const track_t count = cdio_get_num_tracks(cd);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return std::nullopt;
    DiscToc toc;
    toc.firstTrack = first;
    for (track_t t = first; t < first + count; ++t) {
        toc.trackStarts.push_back(cdio_get_track_lsn(cd, t));
        toc.audio.push_back(cdio_get_track_format(cd, t) == TRACK_FORMAT_AUDIO);
        toc.copyPermitted.push_back(cdio_get_track_copy_permit(cd, t) == CDIO_TRACK_FLAG_TRUE);
    }
    toc.leadOut = cdio_get_track_lsn(cd, CDIO_CDROM_LEADOUT_TRACK);
    // Where the first track of the last session starts (cdio/device.h); a drive or image that
    // cannot tell has one session.
    lsn_t lastSession = 0;
    if (cdio_get_last_session(cd, &lastSession) == DRIVER_OP_SUCCESS && lastSession > 0) toc.lastSession = lastSession;
    return toc;
}

Medium CdDrive::Probe(std::optional<DiscToc>* result) const
{
    if (result) result->reset();
    if (image_ && (imageDoorOpen_ || !QFileInfo::exists(device_))) return Medium::None;
    const QString source = Source();
    if (source.isEmpty()) return image_ ? Medium::Unreadable : Medium::None;
    Cdio cd = Open(source);
    if (!cd) return image_ ? Medium::Unreadable : Medium::None;
    std::optional<DiscToc> toc = ReadDiscToc(cd.get());
    if (!toc) return image_ ? Medium::Unreadable : Medium::None;
    if (result) *result = std::move(toc);
    return Medium::Disc;
}

std::optional<DiscToc> CdDrive::ReadToc() const
{
    std::optional<DiscToc> toc;
    Probe(&toc);
    return toc;
}

bool CdDrive::DoorOpen() const
{
    if (image_) return imageDoorOpen_;
    Cdio cd = Open(device_);
    return cd && mmc_get_tray_status(cd.get()) == 1;
}

bool CdDrive::SetDoor(bool open)
{
    if (image_) {
        imageDoorOpen_ = open;
        return true;
    }
    if (device_.isEmpty()) return false;
    if (!open) {
        driver_id_t driver = DRIVER_DEVICE;
        return cdio_close_tray(device_.toLocal8Bit().constData(), &driver) == DRIVER_OP_SUCCESS;
    }
    CdIo_t* cd = Open(device_, DRIVER_DEVICE).release();
    if (!cd) return false;
    // A successful eject frees the handle and clears it; any other outcome leaves it to us.
    const bool ejected = cdio_eject_media(&cd) == DRIVER_OP_SUCCESS;
    if (cd) cdio_destroy(cd);
    return ejected;
}

} // namespace mci
