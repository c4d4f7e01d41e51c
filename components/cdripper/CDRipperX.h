#pragma once

#include "platform/mci/CdDrive.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class RipEncoder;

namespace mci {
class CddaPlayer;
}

// The CD ripper: lists the drives, reads the open drive's table of contents, plays its tracks, and
// extracts a list of tracks on a worker thread with error correction, each written as a WAV file
// or through the attached encoder. Positions are sectors of the disc (75 to the second).
// Extraction events arrive on the user-interface thread.
class CDRipperX : public QObject {
    Q_OBJECT
public:
    // Values of PlayState.
    enum State { Playing = 0, Paused = 1, NoDisc = 2, Stopped = 4 };
    // Codes of RipStatus.
    enum Status {
        JitterNotCorrected = 2,
        SpeedAdjusted = 3,
        ReadFailed = 4,
        RetryingRead = 5,
        RetryFailed = 6,
        Progress = 7,
        FileAborted = 8,
        BufferNotInitialized = 9,
        CannotCreateFile = 10,
        CannotWriteFile = 11,
        CannotCloseFile = 12,
        DriveNotInitialized = 13,
        Cancelled = 14,
    };

    explicit CDRipperX(QObject* parent = nullptr);
    ~CDRipperX() override;

    // Drives, 0 .. DeviceCount() - 1; a drive's text is A & ": " & B & " " & C.
    int DeviceCount() const { return static_cast<int>(devices_.size()); }
    QString DeviceTextA(int index) const; // the device, or the image's file name
    QString DeviceTextB(int index) const; // the maker
    QString DeviceTextC(int index) const; // the model
    // Opens a drive for everything below. False when it can't be; LastError tells why.
    bool OpenDevice(int index);
    int LastError() const { return lastError_; }
    int MaxSpeed() const;
    // 0 lets the drive choose; otherwise a multiple of normal speed, used for playing and reading.
    void SetSpeed(int speed);
    void EjectDisc();
    void LoadDisc();

    bool DiscPresent();
    int TrackCount();
    int TrackStart(int track);
    int TrackLength(int track);
    bool IsAudioTrack(int track);
    // True when the track's copy-permitted flag is not set.
    bool IsCopyProtected(int track);
    // A position or length as "mm:ss".
    QString FormatTime(int position) const;

    // Track 0 plays from the first audio track.
    void PlayTrack(int track);
    void PausePlay();
    void ResumePlay();
    void StopPlay();
    int PlayState();
    int PlayPosition();
    int CurrentTrack();

    // The encoder every track goes through while UseEncoder is set; otherwise tracks become WAV
    // files. The encoder must outlive the extraction.
    void SetEncoder(RipEncoder* encoder) { encoder_ = encoder; }
    bool UseEncoder() const { return useEncoder_; }
    void setUseEncoder(bool use) { useEncoder_ = use; }

    void ClearRipList();
    // Queues a track for extraction to a file. False for a data track, a track the disc does not
    // have, an empty file name, or while extracting.
    bool AddRipTrack(int track, const QString& file, int trackAgain);
    // Starts extracting the queued tracks; false when nothing is queued, no disc is loaded or an
    // extraction runs already.
    bool StartRip();
    // Stops the running extraction: the file being written is abandoned, and RipCompleted follows.
    void CancelRip();
    bool IsRipping() const { return ripping_; }

signals:
    void RipStarted();
    void RipCompleted();
    void RipStatus(int code, int value);
    void TrackStarted(const QString& file, int start, int end, int track);
    void TrackCompleted();

private:
    struct RipItem {
        int track;
        QString file;
    };
    struct Extraction;

    const mci::DiscToc* Toc();
    bool ValidTrack(int track);
    void StopWorker();
    void Extract(std::vector<RipItem> items, mci::DiscToc toc, QString source, int speed, RipEncoder* encoder);

    std::vector<QString> devices_;
    std::unique_ptr<mci::CdDrive> drive_;
    std::unique_ptr<mci::CddaPlayer> player_;
    std::optional<mci::DiscToc> toc_;
    int lastError_ = 0;
    int speed_ = 0;
    int position_ = 0; // while not playing
    bool paused_ = false;

    RipEncoder* encoder_ = nullptr;
    bool useEncoder_ = false;
    std::vector<RipItem> ripList_;
    std::atomic<bool> ripping_ {false};
    std::atomic<bool> cancel_ {false};
    std::thread worker_;
};
