#pragma once

#include "components/encoders/RipEncoder.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

namespace files {
class PartialFile;
}

// What the three encoders share: a WAV file encoded on a worker thread through the same stream
// the CD ripper feeds, with EncodeStatus events delivered on the user-interface thread, a cancel,
// a busy flag and the last error. Settings are taken when an encode starts; writing them later
// changes only the next encode.
class AudioEncoder : public QObject, public RipEncoder {
    Q_OBJECT
public:
    ~AudioEncoder() override;

    // Starts encoding a 44.1 kHz 16-bit stereo PCM WAV file and returns at once. False when the
    // encode was refused; the reason is then in LastError.
    bool EncodeFile(const QString& inputPath, const QString& outputPath);
    // Stops a running encode: its half-written file is removed and status 2 follows. The argument
    // makes no difference. Nothing happens when no encode runs.
    void CancelEncode(bool now = true);
    // True from a successful EncodeFile until its last status (1, 2 or 3) has been delivered.
    bool IsEncoding() const { return encoding_; }
    int LastError() const { return lastError_; }

    // How eagerly the worker thread runs: 3 (the default) normal, 2 below normal, 1 low, 0 idle.
    int Priority() const { return priority_; }
    void setPriority(int value) { priority_ = value; }

    std::unique_ptr<RipEncoderStream> BeginRipStream(const std::string& outputPath, std::uint64_t totalFrames) final;

signals:
    // Status 0 once at the start, 4 with growing percent, then 1 complete, 2 cancelled or 3
    // failed (LastError tells why).
    void EncodeStatus(int percent, int status);

protected:
    explicit AudioEncoder(QObject* parent);

    // Checks the settings held now and starts an output in `file`, or returns null with the
    // reason in `error`.
    virtual std::unique_ptr<RipEncoderStream> OpenStream(files::PartialFile file, std::uint64_t totalFrames, int& error) = 0;

    void SetLastError(int code) { lastError_ = code; }

private:
    void Post(int percent, int status);
    void Deliver(int percent, int status);
    void StopWorker();

    std::atomic<int> lastError_ {0};
    std::atomic<int> priority_ {3};
    std::atomic<bool> encoding_ {false};
    std::atomic<bool> cancel_ {false};
    std::thread worker_;
};
