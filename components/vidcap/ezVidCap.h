#pragma once

#include "components/avi/AviFile.h"
#include "components/vidcap/CaptureDevice.h"
#include "components/vidcap/CaptureEngine.h"
#include "platform/forms/Extent.h"

#include <QImage>
#include <QWidget>
#include <memory>
#include <mutex>
#include <vector>

// The video capture component: it lists the capture drivers, connects to one, shows its live
// picture in its own area, opens the device's dialogs, captures to a temporary AVI file (with
// sound when asked) and saves that file or the current frame. The device is read and the capture
// written on a worker thread; every event is raised on the user-interface thread.
//
// A capture ends at its time limit, with StopCapture, or when the user presses Esc or clicks the
// picture.
//
// The component never reaches past the container it is hosted in: a width or height beyond it,
// asked for or taken from the device's picture with AutoSize, gives the room there is.
class ezVidCap : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    // Status codes of the status event.
    static constexpr int StatusConnected = 1;
    static constexpr int StatusPreRoll = 2;
    static constexpr int StatusCancelled = 3;
    static constexpr int StatusCapturing = 300;
    static constexpr int StatusCaptured = 301;
    static constexpr int StatusSaved = 302;
    // Error codes of the error event.
    static constexpr int ErrorDevice = 1;
    static constexpr int ErrorCapture = 2;

    explicit ezVidCap(QWidget* parent);
    ~ezVidCap() override;

    int NumCapDevs() const { return int(drivers_.size()); }
    // The driver's name; error 9 for an index outside the list.
    QString CapDriverName(int index) const;
    // The driver in use (0 before any was chosen). Setting connects to it; a driver that cannot
    // be connected raises an error and leaves no device connected, the index unchanged.
    int DriverIndex() const { return driver_; }
    bool Connected() const { return connected_; }
    void setDriverIndex(int index);
    QString GetStatusText() const { return status_; }

    bool HasDlgVideoSource() const { return connected_; }
    bool HasDlgVideoFormat() const { return connected_; }
    bool HasDlgVideoDisplay() const { return false; }
    bool HasDlgAudioFormat() const { return true; }
    void ShowDlgVideoSource();
    void ShowDlgVideoFormat();
    void ShowDlgVideoDisplay();
    void ShowDlgCompression();
    void ShowDlgAudioFormat();

    // Starts a capture into the capture file: after the confirmation box when ConfirmCapture,
    // after the pre-roll event when PreRoll.
    void CaptureVideo();
    // After the pre-roll event: start the capture now, or give it up.
    void CaptureStart();
    void CaptureCancel();
    void StopCapture();
    bool Capturing() const;
    // Seconds a capture lasts at most; 0 for no limit.
    double CaptureTimeLimit() const { return timeLimit_; }
    void setCaptureTimeLimit(double seconds) { timeLimit_ = seconds; }

    // Saves the captured video to an AVI file; errors when nothing was captured or the file
    // cannot be written.
    void SaveAs(QString& path);
    // Saves the current frame as a bitmap file; errors when there is no frame.
    void SaveDIB(QString& path);

    bool CaptureAudio() const { return audio_; }
    void setCaptureAudio(bool on) { audio_ = on; }
    bool PreRoll() const { return preRoll_; }
    void setPreRoll(bool on) { preRoll_ = on; }
    bool ConfirmCapture() const { return confirm_; }
    void setConfirmCapture(bool on) { confirm_ = on; }
    bool Preview() const { return preview_; }
    void setPreview(bool on);
    bool FrameCallback() const { return frameEvents_; }
    void setFrameCallback(bool on) { frameEvents_ = on; }
    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool AutoCenter() const { return autoCenter_; }
    void setAutoCenter(bool on);
    bool StretchPreview() const { return stretch_; }
    void setStretchPreview(bool on);

    // The last frame the device gave.
    QImage CurrentFrame() const { return frame_; }

signals:
    void StatusEvent(int code, const QString& text);
    void ErrorEvent(int code, const QString& text);
    void YieldEvent();
    void FrameEvent(const vidcap::FrameHeader* header);
    void PreRollComplete();
    void VideoStreamEvent(int frames);
    void WaveStreamEvent(int bytes);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void ApplyGeometry(const QRectF& twips) override;

private:
    // The size at a place of the container, cut to the room the container has there.
    QSize Fitted(const QPoint& at, const QSize& size) const;
    void Connect(int index);
    void Disconnect();
    void Begin();
    void SetStatus(int code, const QString& text);
    void RaiseError(int code, const QString& text);
    void OnFrame();
    void OnRecorded(const vidcap::RecordingResult& result);

    std::vector<vidcap::CaptureDriver> drivers_;
    int driver_ = 0;
    bool connected_ = false;
    vidcap::CaptureFormat format_;
    vidcap::AudioFormat audioFormat_;
    avifile::AVICOMPRESSOPTIONS compression_;
    std::unique_ptr<vidcap::CaptureEngine> engine_;
    QString status_;
    QString captureFile_;
    bool captured_ = false;
    bool preRollPending_ = false;
    bool capturing_ = false; // from the start of a recording until its end is reported
    double timeLimit_ = 0;
    bool audio_ = false;
    bool preRoll_ = false;
    bool confirm_ = false;
    bool preview_ = true;
    bool frameEvents_ = false;
    bool autoSize_ = false;
    bool autoCenter_ = true;
    bool stretch_ = false;

    // The newest frame from the worker, waiting for the user-interface thread.
    std::mutex pendingMutex_;
    QImage pendingImage_;
    vidcap::FrameHeader pendingHeader_;
    bool pendingPosted_ = false;
    QImage frame_;
    vidcap::FrameHeader header_;
};
