#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace cdwriter {
class AudioTrackList;
class DataImage;
class DeviceList;
class HeldDrive;
class JobThread;
struct Device;
struct DiscInfo;
struct DataWriteOptions;
} // namespace cdwriter

// The CD-writer component a writing window hosts. It keeps a data image (a tree of files and
// folders to be written), drives the recorders of the system and the disc-image recorder, and
// runs every long job (writing, erasing, closing) on a worker thread; its events always arrive
// on the user-interface thread.
//
// Paths inside the image ("ImagePath") start at the root "/" and join names with "/", like the
// paths of this system. Sizes are in bytes except the image size, which counts 2048-byte blocks
// (ConvertSize turns it into bytes).
//
// Defaults: Joliet on (64-character names), IsoLevel1 off, so the name rules of a fresh
// component are those of Joliet, and those of ISO9660 Level 2 (31 characters) once a write has
// turned Joliet off. The volume identifier starts as "New Disc".
//
// The disc-image recorder exists when the environment names a file in TESSEL_RECORDER. It
// behaves as a rewritable CD of 80 minutes in a drive that is always loaded: data sessions are
// appended to the file, a previous session can be imported, the file can be blanked, and its
// disc information is real. Whether its last session is left open or the disc is finalized is
// kept beside the file, in "<file>.state", as a real disc keeps it in its lead-in.
class CDWriterXP : public QObject {
    Q_OBJECT
public:
    explicit CDWriterXP(QObject* parent = nullptr);
    ~CDWriterXP() override;

    // Options read when a job starts.
    bool TestWrite() const { return testWrite_; }
    void setTestWrite(bool on) { testWrite_ = on; }
    bool CacheImage() const { return cacheImage_; }
    void setCacheImage(bool on) { cacheImage_ = on; }
    bool FinalizeDisc() const { return finalizeDisc_; }
    void setFinalizeDisc(bool on) { finalizeDisc_ = on; }
    bool CloseSession() const { return closeSession_; }
    void setCloseSession(bool on) { closeSession_ = on; }
    bool CacheFiles() const { return cacheFiles_; }
    void setCacheFiles(bool on) { cacheFiles_ = on; }
    bool Joliet() const { return joliet_; }
    void setJoliet(bool on) { joliet_ = on; }
    // 1 data, 0 audio.
    int WriteType() const { return writeType_; }
    void setWriteType(int type) { writeType_ = type; }
    QString VolumeIdentifier() const { return volumeIdentifier_; }
    void setVolumeIdentifier(const QString& id);
    // The windows only read it; the names of a Level 1 image are 8 + 3 characters.
    bool IsoLevel1() const { return isoLevel1_; }
    void setIsoLevel1(bool on) { isoLevel1_ = on; }

    // Drives. Texts A, B and C are the maker, the model and the revision (for the disc-image
    // recorder, "Image", "Recorder" and the file).
    int DeviceCount();
    QString DeviceTextA(int index);
    QString DeviceTextB(int index);
    QString DeviceTextC(int index);
    bool OpenDevice(int index);
    bool EjectDisc();
    bool LoadDisc();
    bool DiscPresent();
    bool SetSpeed(int speed);
    // In multiples of the CD speed (150 KiB per second); 0 when the drive does not tell.
    int MaxSpeed();
    // Feature 7: the drive writes rewritable discs.
    bool SupportsFeature(int feature);
    void UseBurnProof(bool on) { burnProof_ = on; }
    bool SupportsBurnProof();

    // Jobs. Each returns true when the job was accepted; its events follow.
    bool StartWrite();
    bool EraseDisc(bool quick);
    bool CloseDiscOrSession(bool disc);
    // Writes the image to an ISO file (under a temporary name, moved into place at the end);
    // returns when done. Progress arrives as StatusText meanwhile.
    bool CreateIsoFile(const QString& file);
    // Writes an ISO file onto a blank disc. When it is refused, LastRefusal says why.
    bool WriteIsoFile(const QString& file);
    // Reads the last session of the disc into the image; its items arrive as ItemAdded. Each call
    // reads the disc afresh: the image takes the session as the disc holds it now, and keeps the
    // items added to it since the previous import. The image keeps the disc's drive until it is
    // cleared; taking the disc away (ejecting, erasing it or opening another drive) clears the
    // image. A session written from such an image becomes the image in its turn, read from the
    // disc, so the next session is written after it.
    bool ImportSession(bool import = true);
    void AbortWrite();
    bool Busy() const;
    // Why the last call that returned false was refused, when that call says; empty otherwise.
    QString LastRefusal() const { return refusal_; }

    // The disc, with the disc-information codes of the recording command set: status 0 empty,
    // 1 open, 2 closed, 3 unknown; type 0 CD-DA/CD-ROM, 16 CD-I, 32 CD-ROM XA, 255 unknown;
    // last session 0 empty, 1 incomplete, 2 damaged, 3 complete.
    int DiscStatus();
    int DiscType();
    bool DiscErasable();
    // Unit 1: free 2048-byte blocks.
    qint64 DiscCapacity(int unit = 1);
    int SessionCount();
    int LastSessionState();

    // The data image.
    void ClearImage();
    qint64 ImageSize();
    // Unit 1 turns blocks into bytes; any other unit leaves blocks.
    qint64 ConvertSize(qint64 size, int unit);
    int FileCount();
    int DirectoryCount();
    bool AddFile(const QString& imagePath, const QString& source);
    // A source ending in "/*.*" (or "\*.*") names the whole folder before it: every name, with or
    // without a dot. Each item inside that cannot be added raises ItemNotAdded; the rest of the
    // folder goes in all the same. While a folder is being added (its ItemAdded handlers may let
    // the user act), the image is neither written nor changed otherwise: jobs, imports, removing,
    // renaming and clearing are refused.
    bool AddDirectory(const QString& imagePath, const QString& source);
    bool Adding() const { return adding_ > 0; }
    bool RemoveItem(const QString& imagePath);
    bool RenameFile(const QString& imagePath, const QString& name);
    bool RenameDirectory(const QString& imagePath, const QString& name);
    bool ListDirectory(const QString& imagePath);

    // The audio track list: MP3 and WAV files in disc order, counted from 1, their lengths in CD
    // sectors (75 to the second). A write with WriteType 0 writes them as an audio disc.
    void ClearTracks();
    int TrackCount();
    qint64 TotalBlocks();
    QString SizeToTime(qint64 size);
    bool RemoveTrack(int index);
    bool AddTrack(const QString& file, int position);
    bool ListTracks();

signals:
    void ClosingDisc();
    void ClosingSession();
    void EraseStarted();
    void EraseComplete();
    void WriteCancelled();
    void WriteComplete();
    void PreparingToWrite();
    void CreatingDirectories();
    void PreparingTrack(int track, qint64 size);
    void WriteProgress(int track, qint64 written, int buffer);
    void WriteError(const QString& description, int number);
    void ClosingTrack(int track);
    void ReadBufferLevel(int percent);
    void CachingStarted(int track, qint64 total);
    void CachingProgress(qint64 done);
    void ReadingFile(int number);
    void TrackEnumerated(const QString& file, const QString& name, qint64 length, int type, int track);
    void ItemAdded(const QString& parent, const QString& imagePath, const QString& name, const QString& source,
        bool isDirectory, const QDateTime& date, qint64 size);
    // A file or folder that could not be added to the image, by AddFile or inside AddDirectory.
    void ItemNotAdded(const QString& imagePath, const QString& source);
    void ItemRemoved(const QString& imagePath, const QString& name, bool isDirectory);
    void ItemRenamed(const QString& oldPath, const QString& newPath, bool isDirectory);
    void ItemEnumerated(const QString& parent, const QString& imagePath, const QString& name, const QString& source,
        bool isDirectory, const QDateTime& date, qint64 size);
    void StatusText(int kind, const QString& text);
    void ImageCleared();
    // Asked when an added file would take the place of one imported from the disc; replace
    // starts false.
    void ReplaceImportedFile(const QString& imported, const QString& added, qint64 size, bool& replace);

private:
    const cdwriter::Device* CurrentDevice();
    // Runs use with the open drive: the one an imported session holds, or one taken for the call.
    bool WithDrive(const std::function<void(cdwriter::HeldDrive&)>& use);
    // A job writes to the disc: it loads a system drive's tray.
    std::shared_ptr<cdwriter::HeldDrive> DriveForJob();
    cdwriter::DiscInfo CurrentDisc();
    cdwriter::DataWriteOptions JobOptions() const;
    bool AddFolderTree(const QString& imagePath, const QString& folder, int depth);
    bool ImageLocked() const { return Busy() || Adding(); }
    // Reads the disc's last session into the image through a drive taken afresh (the one held
    // knows the disc as it was when it was taken). keepOwn keeps the items added to the image
    // that are not on the disc; ask lets the user choose, for each that meets a file of the disc,
    // which one stays. Items that come or go are reported.
    bool ReadSession(bool keepOwn, bool ask);
    bool KeepImported(const QString& imported, const QString& added, qint64 size);
    cdwriter::AudioTrackList& Tracks();
    bool StartAudioWrite();

    bool testWrite_ = false;
    bool cacheImage_ = true;
    bool finalizeDisc_ = false;
    bool closeSession_ = true;
    bool cacheFiles_ = true;
    bool joliet_ = true;
    bool isoLevel1_ = false;
    bool burnProof_ = false;
    int writeType_ = 1;
    int speed_ = 0;
    int adding_ = 0;
    QString refusal_;
    QString volumeIdentifier_ = QStringLiteral("New Disc");

    std::unique_ptr<cdwriter::DeviceList> devices_;
    int device_ = -1;
    std::unique_ptr<cdwriter::DataImage> image_;
    // The drive a session was imported from, held until the image no longer needs it.
    std::shared_ptr<cdwriter::HeldDrive> imported_;
    std::unique_ptr<cdwriter::JobThread> job_;
    std::unique_ptr<cdwriter::AudioTrackList> tracks_;
};
