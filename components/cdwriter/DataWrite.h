#pragma once

#include <QString>
#include <functional>

typedef struct Iso_Image IsoImage;

class CDWriterXP;

namespace cdwriter {

class DataImage;
class HeldDrive;
class JobThread;

// The settings of one data job, taken from the component when the job starts.
struct DataWriteOptions {
    bool testWrite = false;
    bool finalizeDisc = false;
    bool closeSession = true;
    bool joliet = true;
    bool isoLevel1 = false;
    bool burnProof = false;
    bool cacheImage = false;
    // Multiples of the CD speed; 0 lets the drive choose.
    int speed = 0;
    QString volumeId;
};

// These run on the job's thread and return the job's final event.

// Writes the image as a new session after those on the disc (the first one on a blank disc).
// An image read from this disc's last session keeps its imported files where they are. wrote
// tells whether the disc took a new session.
std::function<void()> WriteDataSession(JobThread& job, CDWriterXP& writer, HeldDrive& held, DataImage& image,
    const DataWriteOptions& options, bool& wrote);
// Writes an ISO file as it stands onto a blank disc.
std::function<void()> WriteIsoFileToDisc(JobThread& job, CDWriterXP& writer, HeldDrive& held, const QString& file,
    const DataWriteOptions& options);
// Writes the image into an ISO file: under a temporary name beside it, moved into place only
// when complete. Returns true when the file is in place.
bool WriteImageFile(JobThread& job, CDWriterXP& writer, DataImage& image, const DataWriteOptions& options,
    const QString& file);

// Reads the tree of the disc's last session; null for a blank or unreadable disc. The image stays
// bound to the drive, which must be held as long as the image is used.
IsoImage* ReadLastSession(HeldDrive& held);
// The tree of the disc's last session, an empty one for a blank disc; null when unreadable.
IsoImage* ReadDiscImage(HeldDrive& held);
// True when the file holds an ISO9660 volume descriptor where one belongs.
bool LooksLikeIsoFile(const QString& file);

} // namespace cdwriter
