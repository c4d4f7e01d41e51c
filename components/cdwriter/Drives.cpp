#include "components/cdwriter/Drives.h"

#include "components/cdwriter/BurnLibrary.h"

#include "components/cdwriter/Libraries.h"
#include "platform/files/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <chrono>
#include <climits>
#include <cstring>
#include <optional>
#include <thread>

namespace cdwriter {

namespace {

QString Trimmed(const char* text, std::size_t size)
{
    return QString::fromLatin1(text, static_cast<int>(strnlen(text, size))).trimmed();
}

std::vector<Device> ScanSystemDrives()
{
    std::vector<Device> found;
    burn_drive_info* infos = nullptr;
    unsigned int count = 0;
    // The scan runs in the background until a call finds it done. It is refused while another
    // window holds a drive; the recorders it would have found are then not offered.
    int scanned = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        while ((scanned = burn_drive_scan(&infos, &count)) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (scanned > 0) break;
        // A helper thread of an ending job still counts as a drive operation for a moment.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (scanned != 1) return found;
    for (unsigned int i = 0; i < count; ++i) {
        char address[BURN_DRIVE_ADR_LEN] = "";
        if (burn_drive_d_get_adr(infos[i].drive, address) > 0 && (infos[i].write_cdr || infos[i].write_cdrw)) {
            Device device;
            device.vendor = Trimmed(infos[i].vendor, sizeof infos[i].vendor);
            device.product = Trimmed(infos[i].product, sizeof infos[i].product);
            device.revision = Trimmed(infos[i].revision, sizeof infos[i].revision);
            device.address = address;
            found.push_back(device);
        }
        burn_drive_info_forget(&infos[i], 0);
    }
    burn_drive_info_free(infos);
    return found;
}

QString StateFile(const Device& device) { return device.imageFile + QStringLiteral(".state"); }

// The recorder's medium is its file: a missing one is a blank disc.
bool MakeRecorderFile(const Device& device)
{
    QFile file(device.imageFile);
    return file.exists() || file.open(QIODevice::WriteOnly);
}

// The layout the recording library gives a multi-session file: 64 KiB for the header that leads
// to the sessions, then the sessions, each starting on a 32-block boundary with its volume
// descriptor 16 blocks in.
constexpr qint64 kImageBlock = 2048;
constexpr qint64 kLeadBlocks = 32;
constexpr qint64 kSessionAlignment = 32;
constexpr qint64 kDescriptorOffset = 16;
constexpr int kMaxSessions = 99;

// The length in blocks that a primary volume descriptor at the block gives; none when there is none.
std::optional<qint64> VolumeBlocksAt(QIODevice& image, qint64 block)
{
    if (block < 0 || !image.seek(block * kImageBlock)) return std::nullopt;
    const QByteArray head = image.read(84);
    if (head.size() < 84 || head[0] != 1 || head.mid(1, 5) != "CD001") return std::nullopt;
    // Read as the library reads it: a signed 32-bit count.
    return qFromLittleEndian<qint32>(head.constData() + 80);
}

} // namespace

DeviceList::DeviceList()
{
    if (!BurnLibrary::Ensure()) return;
    devices_ = ScanSystemDrives();
    const QString file = qEnvironmentVariable("TESSEL_RECORDER");
    if (!file.isEmpty()) {
        Device recorder;
        recorder.vendor = QStringLiteral("Image");
        recorder.product = QStringLiteral("Recorder");
        recorder.imageFile = QFileInfo(file).absoluteFilePath();
        recorder.revision = recorder.imageFile;
        recorder.address = "stdio:" + recorder.imageFile.toStdString();
        recorder.imageRecorder = true;
        devices_.push_back(recorder);
    }
}

const Device* DeviceList::At(int index) const
{
    if (index < 0 || index >= Count()) return nullptr;
    return &devices_[static_cast<std::size_t>(index)];
}

HeldDrive::HeldDrive(const Device& device, burn_drive_info* infos)
    : device_(device)
    , infos_(infos)
    , drive_(infos[0].drive)
{
}

bool RecorderImageReadable(QIODevice& image)
{
    const qint64 readable = (image.size() + kImageBlock - 1) / kImageBlock;
    const std::optional<qint64> whole = VolumeBlocksAt(image, kDescriptorOffset);
    if (!whole) return true;
    qint64 next = kLeadBlocks;
    bool probeEarlier = false;
    for (int sessions = 1; next < *whole; ++sessions) {
        const qint64 from = next;
        // Where the previous session ended on a 16-block boundary, its successor may start there.
        std::optional<qint64> blocks = probeEarlier ? VolumeBlocksAt(image, next) : std::nullopt;
        if (blocks) next -= kDescriptorOffset;
        else blocks = VolumeBlocksAt(image, next + kDescriptorOffset);
        // The chain ends where no header follows; the library stops there too.
        if (!blocks) return true;
        // A CD holds at most 99 tracks, so no more sessions; a longer chain is damaged, and the
        // library would follow it for seconds on every look at the disc.
        if (sessions > kMaxSessions) return false;
        // Past what a 32-bit block address holds the library's own sums go astray.
        if (*blocks > INT_MAX - next) return false;
        qint64 length = *blocks;
        if (next + length > readable) length = readable - next;
        next += length;
        const qint64 sixteen = (next + 15) / 16 * 16;
        if (next % kSessionAlignment) next += kSessionAlignment - next % kSessionAlignment;
        probeEarlier = next - sixteen == kDescriptorOffset;
        if (next <= from) return false;
    }
    return true;
}

bool RecorderImageReadable(const QString& file)
{
    QFile image(file);
    if (!image.open(QIODevice::ReadOnly)) return false;
    return RecorderImageReadable(image);
}

bool DeviceOpens(const Device& device)
{
    if (device.imageRecorder) return MakeRecorderFile(device);
    return HeldDrive::Acquire(device) != nullptr;
}

std::unique_ptr<HeldDrive> HeldDrive::Acquire(const Device& device, bool loadTray)
{
    if (!BurnLibrary::Ensure()) return nullptr;
    if (device.imageRecorder && (!MakeRecorderFile(device) || !RecorderImageReadable(device.imageFile))) return nullptr;
    burn_drive_info* infos = nullptr;
    std::string address = device.address;
    // libisoburn.h, isoburn_drive_aquire: bit0 loads the tray; without it a drive whose tray is
    // out is not taken, or reports no disc.
    const int flag = loadTray && !device.imageRecorder ? 1 : 0;
    if (isoburn_drive_aquire(&infos, address.data(), flag) != 1) {
        if (infos) burn_drive_info_free(infos);
        return nullptr;
    }
    return std::unique_ptr<HeldDrive>(new HeldDrive(device, infos));
}

HeldDrive::~HeldDrive()
{
    isoburn_drive_release(drive_, eject_ ? 1 : 0);
    burn_drive_info_free(infos_);
}

bool HeldDrive::WritesRewritable() const { return device_.imageRecorder || infos_[0].write_cdrw; }

bool HeldDrive::HasBurnProof() const
{
    if (device_.imageRecorder) return false;
    burn_write_opts* options = burn_write_opts_new(drive_);
    const bool proof = burn_write_opts_set_underrun_proof(options, 1) == 1;
    burn_write_opts_free(options);
    return proof;
}

int HeldDrive::MaxSpeed() const
{
    if (device_.imageRecorder) return 0;
    return (burn_drive_get_write_speed(drive_) + 88) / 176;
}

RecorderState ReadRecorderState(const Device& device)
{
    QFile file(StateFile(device));
    if (!file.open(QIODevice::ReadOnly)) return RecorderState::Complete;
    const QByteArray word = file.readLine().trimmed();
    if (word == "closed") return RecorderState::Closed;
    if (word == "open") return RecorderState::SessionOpen;
    return RecorderState::Complete;
}

void WriteRecorderState(const Device& device, RecorderState state)
{
    if (state == RecorderState::Complete) {
        QFile::remove(StateFile(device));
        return;
    }
    files::WriteWholeFile(StateFile(device), state == RecorderState::Closed ? "closed\n" : "open\n");
}

DiscInfo ReadDiscInfo(HeldDrive& held)
{
    DiscInfo info;
    burn_drive* drive = held.Drive();
    const Device& device = held.Which();
    const burn_disc_status status = isoburn_disc_get_status(drive);
    info.present = status == BURN_DISC_BLANK || status == BURN_DISC_APPENDABLE || status == BURN_DISC_FULL;
    if (!info.present) return info;

    const RecorderState state = device.imageRecorder ? ReadRecorderState(device) : RecorderState::Complete;
    info.status = status == BURN_DISC_BLANK ? 0 : status == BURN_DISC_APPENDABLE ? 1 : 2;
    if (info.status == 1 && state == RecorderState::Closed) info.status = 2;

    int incomplete = 0;
    if (isoburn_toc_disc* toc = isoburn_toc_drive_get_disc(drive)) {
        isoburn_toc_disc_get_sessions(toc, &info.sessions);
        incomplete = isoburn_toc_disc_get_incmpl_sess(toc);
        isoburn_toc_disc_free(toc);
    }
    if (info.status == 0) info.sessions = 0;

    int lba = 0;
    int nwa = 0;
    if (info.status != 0 && isoburn_disc_track_lba_nwa(drive, nullptr, 0, &lba, &nwa) == 1) info.nextAddress = nwa;

    if (device.imageRecorder) {
        info.erasable = true;
        info.type = info.sessions > 0 ? 0 : 255;
        info.freeBlocks = info.status == 2 ? 0 : std::max(0, kRecorderBlocks - info.nextAddress);
        info.lastSession = info.sessions == 0 ? 0 : state == RecorderState::SessionOpen ? 1 : 3;
        return info;
    }
    info.erasable = isoburn_disc_erasable(drive) != 0;
    info.freeBlocks = isoburn_disc_available_space(drive, nullptr) / 2048;
    char type[80] = "";
    char barCode[9] = "";
    unsigned int discId = 0;
    int appCode = 0;
    int valid = 0;
    if (burn_disc_get_cd_info(drive, type, &discId, barCode, &appCode, &valid) == 1) {
        if (std::strcmp(type, "CD-DA or CD-ROM") == 0) info.type = 0;
        else if (std::strcmp(type, "CD-I") == 0) info.type = 16;
        else if (std::strcmp(type, "CD-ROM XA") == 0) info.type = 32;
    }
    info.lastSession = incomplete > 0 ? 1 : info.sessions > 0 ? 3 : 0;
    return info;
}

} // namespace cdwriter
