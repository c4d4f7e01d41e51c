#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

namespace burn {
struct burn_drive;
struct burn_drive_info;
} // namespace burn

namespace cdwriter {

// A recorder the component can open: one of the system's drives, or the disc-image recorder.
struct Device {
    QString vendor;
    QString product;
    QString revision;
    // The recording library's address ("stdio:" + file for the disc-image recorder).
    std::string address;
    bool imageRecorder = false;
    QString imageFile;
};

// The recorders of the system, found once, followed by the disc-image recorder when the
// environment names its file in TESSEL_RECORDER.
class DeviceList {
public:
    DeviceList();
    int Count() const { return static_cast<int>(devices_.size()); }
    const Device* At(int index) const;

private:
    std::vector<Device> devices_;
};

// Whether the drive can be opened: a system drive can be taken, the disc-image recorder's file
// exists or can be made.
bool DeviceOpens(const Device& device);

// A recorder taken for the caller's use, let go at destruction.
class HeldDrive {
public:
    // Only a write, and the user's Close Tray, load a system drive's tray; any other use takes the
    // drive as it stands, so an ejected disc stays out. The disc-image recorder is refused while
    // its file is one the recording library cannot take (see RecorderImageReadable).
    static std::unique_ptr<HeldDrive> Acquire(const Device& device, bool loadTray = false);
    ~HeldDrive();
    HeldDrive(const HeldDrive&) = delete;
    HeldDrive& operator=(const HeldDrive&) = delete;

    burn::burn_drive* Drive() const { return drive_; }
    const Device& Which() const { return device_; }
    // Lets the tray out when the drive is let go.
    void EjectOnRelease() { eject_ = true; }
    // What the drive says of itself; the disc-image recorder writes rewritable discs, at any speed.
    bool WritesRewritable() const;
    bool HasBurnProof() const;
    // In multiples of the CD speed; 0 when the drive does not tell.
    int MaxSpeed() const;

private:
    HeldDrive(const Device& device, burn::burn_drive_info* infos);
    Device device_;
    burn::burn_drive_info* infos_;
    burn::burn_drive* drive_;
    bool eject_ = false;
};

// Whether the recording library can take a disc-image recorder's file without running away.
// Taking such a drive, the library follows the chain of session headers from the one at the start
// of the file, each header giving the length of its session; a session that claims no length (or
// one that leads backwards) keeps it reading the same header for ever, on the thread that asked.
// This walks the chain as the library does and refuses one that does not lead forward, or that
// holds more than the 99 sessions a CD can. A file without the header at its start is no chain and
// is taken as it is.
bool RecorderImageReadable(QIODevice& image);
bool RecorderImageReadable(const QString& file);

// How a write or a close left the medium of the disc-image recorder.
enum class RecorderState { Complete, SessionOpen, Closed };
RecorderState ReadRecorderState(const Device& device);
void WriteRecorderState(const Device& device, RecorderState state);

// An 80-minute CD, in 2048-byte blocks.
constexpr int kRecorderBlocks = 360000;

// The disc in a drive, with the disc-information codes of the recording command set.
struct DiscInfo {
    bool present = false;
    int status = 3;
    int type = 255;
    bool erasable = false;
    qint64 freeBlocks = 0;
    int sessions = 0;
    int lastSession = 2;
    // Where the next session starts, in blocks.
    int nextAddress = 0;
};
DiscInfo ReadDiscInfo(HeldDrive& held);

} // namespace cdwriter
