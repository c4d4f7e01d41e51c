#include "platform/mci/CdDrive.h"

#include <QFileInfo>
#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>

namespace mci {

namespace {

struct CdioCloser {
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};
using Cdio = std::unique_ptr<CdIo_t, CdioCloser>;

Cdio Open(const QString& device)
{
    if (device.isEmpty()) return {};
    return Cdio(cdio_open(device.toLocal8Bit().constData(), DRIVER_UNKNOWN));
}

} // namespace

int DiscToc::TrackAt(int sector) const
{
    int track = firstTrack;
    for (int t = firstTrack; t <= LastTrack(); ++t)
        if (sector >= TrackStart(t)) track = t;
    return track;
}

CdDrive::CdDrive()
{
    // Probing a drive without a disc is not worth a message on the terminal.
    cdio_log_set_handler([](cdio_log_level_t, const char*) {});
    device_ = qEnvironmentVariable("TESSEL_CDROM");
    if (!device_.isEmpty()) {
        // A regular file is a disc image; anything else a device node.
        image_ = !device_.startsWith(QStringLiteral("/dev/"));
        return;
    }
    if (char* first = cdio_get_default_device(nullptr)) {
        device_ = QString::fromLocal8Bit(first);
        cdio_free(first);
    }
}

std::optional<DiscToc> CdDrive::ReadToc() const
{
    if (image_ && (imageDoorOpen_ || !QFileInfo::exists(device_))) return std::nullopt;
    Cdio cd = Open(device_);
    if (!cd) return std::nullopt;
    const track_t first = cdio_get_first_track_num(cd.get());
    const track_t count = cdio_get_num_tracks(cd.get());
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK || count == 0) return std::nullopt;
    DiscToc toc;
    toc.firstTrack = first;
    for (track_t t = first; t < first + count; ++t)
        toc.trackStarts.push_back(cdio_get_track_lsn(cd.get(), t));
    toc.leadOut = cdio_get_track_lsn(cd.get(), CDIO_CDROM_LEADOUT_TRACK);
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
    CdIo_t* cd = cdio_open(device_.toLocal8Bit().constData(), DRIVER_UNKNOWN);
    if (!cd) return false;
    const bool ejected = cdio_eject_media(&cd) == DRIVER_OP_SUCCESS;
    if (cd) cdio_destroy(cd); // freed by a successful eject only
    return ejected;
}

} // namespace mci
