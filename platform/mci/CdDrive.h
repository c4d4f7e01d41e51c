#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace mci {

// A disc's table of contents in sectors (75 to the second), counted from the start of the
// program area as libcdio reports them.
struct DiscToc {
    int firstTrack = 1;
    std::vector<int> trackStarts; // start sector of each track, first track first
    int leadOut = 0; // first sector after the last track

    int TrackCount() const { return static_cast<int>(trackStarts.size()); }
    int LastTrack() const { return firstTrack + TrackCount() - 1; }
    int TrackStart(int track) const { return trackStarts.at(track - firstTrack); }
    int TrackEnd(int track) const { return track == LastTrack() ? leadOut : TrackStart(track + 1); }
    // The track that holds a sector (the last one for the lead-out).
    int TrackAt(int sector) const;
};

// The CD drive the audio device plays: the device or cue/bin image named by TESSEL_CDROM, else the
// system's first CD drive. An image drive has a door of its own: while it is open there is no medium.
class CdDrive {
public:
    CdDrive();

    const QString& Device() const { return device_; }
    bool IsImage() const { return image_; }

    // The table of contents of the medium in the drive, or nothing when there is none.
    std::optional<DiscToc> ReadToc() const;
    bool DoorOpen() const;
    bool SetDoor(bool open);

private:
    QString device_;
    bool image_ = false;
    bool imageDoorOpen_ = false;
};

} // namespace mci
