#include "platform/mci/CdDrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>
#include <sys/stat.h>

namespace mci {

namespace {

struct CdioCloser {
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};
using Cdio = std::unique_ptr<CdIo_t, CdioCloser>;

// A cue sheet is a few lines per track; anything much larger is not one.
constexpr qint64 MaxCueBytes = 1 << 20;

Cdio Open(const QString& source)
{
    if (source.isEmpty()) return {};
    return Cdio(cdio_open(source.toLocal8Bit().constData(), DRIVER_UNKNOWN));
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
{
    // Probing a drive without a disc is not worth a message on the terminal.
    cdio_log_set_handler([](cdio_log_level_t, const char*) {});
    device_ = qEnvironmentVariable("TESSEL_CDROM");
    if (!device_.isEmpty()) {
        image_ = !IsDeviceNode(device_);
        return;
    }
    if (char* first = cdio_get_default_device(nullptr)) {
        device_ = QString::fromLocal8Bit(first);
        cdio_free(first);
    }
}

CdDrive::~CdDrive() = default;

QString CdDrive::Source() const
{
    if (!image_ || !IsCueSheet(device_)) return device_;
    QFile cue(device_);
    if (!cue.open(QIODevice::ReadOnly) || cue.size() > MaxCueBytes) return {};
    const QString sheet = QString::fromUtf8(cue.readAll());

    // The sheet names one data file, relative to the sheet's folder.
    QString data;
    auto lines = FileLine().globalMatch(sheet);
    while (lines.hasNext()) {
        const auto m = lines.next();
        const QString name = m.captured(1).isEmpty() ? m.captured(2) : m.captured(1);
        const QString path = QFileInfo(QFileInfo(device_).dir(), name).absoluteFilePath();
        if (!data.isEmpty() && data != path) return {}; // one data file per image only
        data = path;
    }
    if (data.isEmpty() || !QFileInfo(data).isFile()) return {};
    const QString implied = ImpliedBin(device_);
    if (QFileInfo(implied).exists() && QFileInfo(implied).canonicalFilePath() == QFileInfo(data).canonicalFilePath())
        return device_;

    // libcdio would open "<cue name>.bin": give it a sheet of that shape beside a link to the data.
    const QString key = data + QLatin1Char('\n') + sheet;
    if (alias_ && aliasKey_ == key) return alias_->filePath(QStringLiteral("disc.cue"));
    aliasKey_.clear();
    alias_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tessel-disc-XXXXXX"));
    if (!alias_->isValid()) return {};
    QString rewritten = sheet;
    rewritten.replace(FileLine(), QStringLiteral("FILE \"disc.bin\" \\3"));
    QFile out(alias_->filePath(QStringLiteral("disc.cue")));
    if (!QFile::link(data, alias_->filePath(QStringLiteral("disc.bin"))) || !out.open(QIODevice::WriteOnly)
        || out.write(rewritten.toUtf8()) < 0)
        return {};
    aliasKey_ = key;
    return out.fileName();
}

Medium CdDrive::Probe(std::optional<DiscToc>* result) const
{
    if (result) result->reset();
    if (image_ && (imageDoorOpen_ || !QFileInfo::exists(device_))) return Medium::None;
    const QString source = Source();
    if (source.isEmpty()) return image_ ? Medium::Unreadable : Medium::None;
    Cdio cd = Open(source);
    if (!cd) return image_ ? Medium::Unreadable : Medium::None;
    const track_t first = cdio_get_first_track_num(cd.get());
    const track_t count = cdio_get_num_tracks(cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0)
        return image_ ? Medium::Unreadable : Medium::None;
    DiscToc toc;
    toc.firstTrack = first;
    for (track_t t = first; t < first + count; ++t) {
        toc.trackStarts.push_back(cdio_get_track_lsn(cd.get(), t));
        toc.audio.push_back(cdio_get_track_format(cd.get(), t) == TRACK_FORMAT_AUDIO);
    }
    toc.leadOut = cdio_get_track_lsn(cd.get(), CDIO_CDROM_LEADOUT_TRACK);
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
    CdIo_t* cd = cdio_open(device_.toLocal8Bit().constData(), DRIVER_DEVICE);
    if (!cd) return false;
    // A successful eject frees the handle and clears it; any other outcome leaves it to us.
    const bool ejected = cdio_eject_media(&cd) == DRIVER_OP_SUCCESS;
    if (cd) cdio_destroy(cd);
    return ejected;
}

} // namespace mci
