#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QTemporaryDir;

namespace mci {

// A disc's table of contents in sectors (75 to the second), counted from the start of the
// program area as libcdio reports them.
struct DiscToc {
    int firstTrack = 1;
    std::vector<int> trackStarts; // start sector of each track, first track first
    std::vector<bool> audio; // whether each track holds audio, first track first
    std::vector<bool> copyPermitted; // whether each track's copy-permitted flag is set
    int leadOut = 0; // first sector after the last track
    int lastSession = 0; // where the disc's last session starts: 0 on a disc of one session

    int TrackCount() const { return static_cast<int>(trackStarts.size()); }
    int LastTrack() const { return firstTrack + TrackCount() - 1; }
    int TrackStart(int track) const { return trackStarts.at(track - firstTrack); }
    // The sector after a track's last: the next track's start, except for the last audio track of
    // an audio session that a data session follows (CD Extra), which ends with its session.
    int TrackEnd(int track) const;
    bool IsAudio(int track) const { return audio.at(track - firstTrack); }
    // The track that holds a sector (the last one for the lead-out).
    int TrackAt(int sector) const;
    // The first audio track, or none on a disc without audio.
    std::optional<int> FirstAudioTrack() const;
};

// What the drive holds.
enum class Medium { None, Unreadable, Disc };

// A CD drive: a device, or a cue/bin disc image. Anything that is not a device node is a disc
// image; an image drive has a door of its own: while it is open there is no medium.
class CdDrive {
public:
    // The drive the audio device plays: the one named by TESSEL_CDROM, else the system's first.
    CdDrive();
    explicit CdDrive(QString device);
    ~CdDrive();

    // Every drive: the one named by TESSEL_CDROM first, then the system's CD drives.
    static QStringList Devices();
    // libcdio's image reader is not safe on two threads at once: every opening takes this lock.
    static std::mutex& LibraryLock();

    // The drive's maker, model and revision as it reports them (an image is "Disc" "Image").
    struct Identity {
        QString vendor, model, revision;
    };
    Identity Identify() const;
    // The highest read speed as a multiple of normal speed (an image reads as fast as the disk).
    int MaxSpeed() const;
    // 0 lets the drive choose.
    bool SetSpeed(int speed);

    const QString& Device() const { return device_; }
    bool IsImage() const { return image_; }
    // What libcdio and the players open for this drive. For an image whose cue sheet names its
    // data file differently from the cue (libcdio only ever opens "<cue name>.bin") or starts
    // with a byte-order mark, a private copy of the sheet, without the mark, beside a link to the
    // data file; otherwise the device itself. Empty when the cue sheet cannot be read, has a shape
    // libcdio's reader does not handle safely (ReadCueSheet), or has a track that does not start
    // inside its data file.
    QString Source() const;
    // The data file libcdio reads for a source Source() gave: for a cue sheet, "<name>.bin" beside
    // it; empty for a device.
    static QString ImageData(const QString& source);

    // The table of contents of the medium in the drive, or nothing when there is none.
    std::optional<DiscToc> ReadToc() const;
    // What the drive holds; an image whose cue sheet cannot be read is Unreadable.
    Medium Probe(std::optional<DiscToc>* toc = nullptr) const;
    bool DoorOpen() const;
    bool SetDoor(bool open);

private:
    QString device_;
    bool image_ = false;
    bool imageDoorOpen_ = false;
    mutable std::unique_ptr<QTemporaryDir> alias_; // the private copy of a cue sheet, if needed
    mutable QString aliasKey_; // the data file and sheet the copy was made for
};

} // namespace mci
