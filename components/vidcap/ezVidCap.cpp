#include "components/vidcap/ezVidCap.h"

#include "components/avi/SaveOptionsDialog.h"
#include "components/vidcap/CaptureDialogs.h"
#include "platform/files/FileCopy.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

namespace {

const QString Source = QStringLiteral("ezVidCap");

[[noreturn]] void Fail(const QString& description)
{
    throw forms::RuntimeError(forms::Err::InvalidProcedureCall, Source, description);
}

QString NewCaptureFile()
{
    static int serial = 0;
    return QDir::temp().filePath(
        QStringLiteral("tessel-capture-%1-%2.avi").arg(QCoreApplication::applicationPid()).arg(++serial));
}

} // namespace

ezVidCap::ezVidCap(QWidget* parent)
    : QWidget(parent)
    , forms::Extent(this)
    , drivers_(vidcap::ListDrivers())
    , captureFile_(NewCaptureFile())
{
    setObjectName(QStringLiteral("ezVidCap"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    compression_.fccType = avifile::streamtypeVIDEO;
    compression_.fccHandler = "mjpeg";
    compression_.dwQuality = 7500;
    compression_.dwFlags = avifile::AVICOMPRESSF_VALID;

    vidcap::CaptureEngine::Callbacks callbacks;
    callbacks.frame = [this](const QImage& image, const vidcap::FrameHeader& header) {
        std::lock_guard lock(pendingMutex_);
        pendingImage_ = image;
        pendingHeader_ = header;
        if (pendingPosted_) return;
        pendingPosted_ = true;
        QMetaObject::invokeMethod(this, [this] { OnFrame(); }, Qt::QueuedConnection);
    };
    callbacks.recorded = [this](const vidcap::RecordingResult& result) {
        QMetaObject::invokeMethod(this, [this, result] { OnRecorded(result); }, Qt::QueuedConnection);
    };
    callbacks.lost = [this](const QString& why) {
        QMetaObject::invokeMethod(this, [this, why] { RaiseError(ErrorDevice, why); }, Qt::QueuedConnection);
    };
    engine_ = std::make_unique<vidcap::CaptureEngine>(std::move(callbacks));
    // The program may end without destroying its windows: the device and the capture file are
    // given up then.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        Disconnect();
        QFile::remove(captureFile_);
    });
    if (!drivers_.empty()) {
        try {
            Connect(0);
        } catch (const forms::RuntimeError&) {
        }
    }
}

ezVidCap::~ezVidCap()
{
    qApp->removeEventFilter(this);
    engine_.reset();
    QFile::remove(captureFile_);
}

QString ezVidCap::CapDriverName(int index) const
{
    if (index < 0 || index >= NumCapDevs()) forms::Raise(forms::Err::SubscriptOutOfRange, Source);
    return drivers_[std::size_t(index)].name;
}

void ezVidCap::setDriverIndex(int index)
{
    if (index < 0 || index >= NumCapDevs()) forms::Raise(forms::Err::InvalidPropertyValue, Source);
    if (Capturing()) Fail(QStringLiteral("A capture is running"));
    if (index == driver_ && connected_) return;
    Connect(index);
}

void ezVidCap::Connect(int index)
{
    Disconnect();
    QString why;
    ff::Input device = vidcap::OpenVideo(drivers_[std::size_t(index)], format_, &why);
    if (!device) {
        SetStatus(0, QString());
        Fail(QStringLiteral("%1 could not be connected: %2").arg(drivers_[std::size_t(index)].name, why));
    }
    driver_ = index;
    connected_ = true;
    engine_->Start(std::move(device));
    SetStatus(StatusConnected, QStringLiteral("%1 connected").arg(drivers_[std::size_t(index)].name));
}

void ezVidCap::Disconnect()
{
    engine_->Stop();
    connected_ = false;
    preRollPending_ = false;
}

void ezVidCap::ShowDlgVideoSource()
{
    if (!connected_) Fail(QStringLiteral("No capture device is connected"));
    if (Capturing()) Fail(QStringLiteral("A capture is running"));
    vidcap::CaptureFormat chosen = format_;
    if (!vidcap::SourceDialog(window(), drivers_[std::size_t(driver_)], chosen)) return;
    const vidcap::CaptureFormat previous = std::exchange(format_, chosen);
    const int driver = driver_;
    try {
        Connect(driver);
    } catch (const forms::RuntimeError&) {
        format_ = previous;
        Connect(driver);
        throw;
    }
}

void ezVidCap::ShowDlgVideoFormat()
{
    if (!connected_) Fail(QStringLiteral("No capture device is connected"));
    if (Capturing()) Fail(QStringLiteral("A capture is running"));
    vidcap::CaptureFormat chosen = format_;
    if (!vidcap::FormatDialog(window(), chosen)) return;
    const vidcap::CaptureFormat previous = std::exchange(format_, chosen);
    const int driver = driver_;
    try {
        Connect(driver);
    } catch (const forms::RuntimeError&) {
        format_ = previous;
        Connect(driver);
        throw;
    }
}

void ezVidCap::ShowDlgVideoDisplay() { Fail(QStringLiteral("The device has no display dialog")); }

void ezVidCap::ShowDlgCompression()
{
    avifile::SaveOptionsDialog dialog(
        window(), avifile::ICMF_CHOOSE_KEYFRAME | avifile::ICMF_CHOOSE_DATARATE, nullptr, compression_);
    if (dialog.exec() == QDialog::Accepted) compression_ = dialog.Options();
}

void ezVidCap::ShowDlgAudioFormat() { vidcap::AudioFormatDialog(window(), audioFormat_); }

bool ezVidCap::Capturing() const { return capturing_ || preRollPending_; }

void ezVidCap::CaptureVideo()
{
    if (!connected_) Fail(QStringLiteral("No capture device is connected"));
    if (Capturing()) Fail(QStringLiteral("A capture is running"));
    if (confirm_
        && forms::MsgBox(QStringLiteral("Click OK to start capturing.\nPress Esc or click the picture to stop."),
               forms::MsgBoxStyle::OKCancel | forms::MsgBoxStyle::Information, QStringLiteral("Capture Video"))
            != forms::MsgBoxResult::OK)
        return;
    if (preRoll_) {
        preRollPending_ = true;
        SetStatus(StatusPreRoll, QStringLiteral("Ready to capture"));
        QMetaObject::invokeMethod(
            this, [this] { if (preRollPending_) emit PreRollComplete(); }, Qt::QueuedConnection);
        return;
    }
    Begin();
}

void ezVidCap::CaptureStart()
{
    if (!preRollPending_) return;
    preRollPending_ = false;
    Begin();
}

void ezVidCap::CaptureCancel()
{
    if (!preRollPending_) return;
    preRollPending_ = false;
    SetStatus(StatusCancelled, QStringLiteral("Capture cancelled"));
}

void ezVidCap::StopCapture()
{
    if (engine_->Recording()) engine_->StopRecording();
}

void ezVidCap::Begin()
{
    const QString error = engine_->StartRecording(captureFile_, compression_, audio_, audioFormat_, timeLimit_);
    if (!error.isEmpty()) {
        RaiseError(ErrorCapture, error);
        return;
    }
    captured_ = false;
    capturing_ = true;
    qApp->installEventFilter(this);
    SetStatus(StatusCapturing, QStringLiteral("Capturing: press Esc or click the picture to stop"));
}

void ezVidCap::OnRecorded(const vidcap::RecordingResult& result)
{
    qApp->removeEventFilter(this);
    capturing_ = false;
    emit VideoStreamEvent(result.frames);
    if (!result.error.isEmpty()) {
        RaiseError(ErrorCapture, result.error);
        return;
    }
    captured_ = true;
    SetStatus(StatusCaptured,
        QStringLiteral("Captured %1 frames in %2 seconds").arg(result.frames).arg(result.seconds, 0, 'f', 1));
}

bool ezVidCap::eventFilter(QObject* watched, QEvent* event)
{
    if (engine_->Recording()) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            StopCapture();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress && watched == this) {
            StopCapture();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ezVidCap::SaveAs(QString& path)
{
    if (Capturing()) Fail(QStringLiteral("A capture is running"));
    if (!captured_) Fail(QStringLiteral("No video has been captured"));
    if (!files::CopyFile(captureFile_, path)) Fail(QStringLiteral("The video could not be saved to %1").arg(path));
    SetStatus(StatusSaved, QStringLiteral("Saved %1").arg(path));
}

void ezVidCap::SaveDIB(QString& path)
{
    if (frame_.isNull()) Fail(QStringLiteral("There is no picture to save"));
    const QString partial = path + QStringLiteral(".part");
    QImageWriter writer(partial, "bmp");
    const bool written = writer.write(frame_.convertToFormat(QImage::Format_RGB888));
    QFile::remove(path);
    if (!written || !QFile::rename(partial, path)) {
        QFile::remove(partial);
        Fail(QStringLiteral("The picture could not be saved to %1").arg(path));
    }
    SetStatus(StatusSaved, QStringLiteral("Saved %1").arg(path));
}

void ezVidCap::setPreview(bool on)
{
    preview_ = on;
    update();
}

void ezVidCap::setAutoSize(bool on)
{
    autoSize_ = on;
    if (on && !frame_.isNull()) resize(Fitted(pos(), frame_.size()));
}

QSize ezVidCap::Fitted(const QPoint& at, const QSize& size) const
{
    const QWidget* container = parentWidget();
    if (!container) return size;
    return size.boundedTo(QSize(std::max(0, container->width() - at.x()), std::max(0, container->height() - at.y())));
}

void ezVidCap::ApplyGeometry(const QRectF& twips)
{
    const QPoint at(forms::ToPixels(twips.left()), forms::ToPixels(twips.top()));
    const QSize asked(forms::ToPixels(std::min(twips.width(), 1e9)), forms::ToPixels(std::min(twips.height(), 1e9)));
    const QSize room = Fitted(at, asked);
    QRectF fitted = twips;
    if (room.width() < asked.width()) fitted.setWidth(forms::ToTwips(room.width()));
    if (room.height() < asked.height()) fitted.setHeight(forms::ToTwips(room.height()));
    Extent::ApplyGeometry(fitted);
}

void ezVidCap::setAutoCenter(bool on)
{
    autoCenter_ = on;
    update();
}

void ezVidCap::setStretchPreview(bool on)
{
    stretch_ = on;
    update();
}

void ezVidCap::SetStatus(int code, const QString& text)
{
    status_ = text;
    emit StatusEvent(code, text);
}

void ezVidCap::RaiseError(int code, const QString& text)
{
    status_ = text;
    emit ErrorEvent(code, text);
}

void ezVidCap::OnFrame()
{
    {
        std::lock_guard lock(pendingMutex_);
        frame_ = std::move(pendingImage_);
        header_ = pendingHeader_;
        pendingImage_ = QImage();
        pendingPosted_ = false;
    }
    if (autoSize_ && Fitted(pos(), frame_.size()) != size()) resize(Fitted(pos(), frame_.size()));
    if (preview_) update();
    if (frameEvents_) emit FrameEvent(&header_);
    if (capturing_) emit YieldEvent();
}

void ezVidCap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!preview_ || frame_.isNull()) return;
    QRect target(QPoint(0, 0), frame_.size());
    if (stretch_)
        target = rect();
    else if (autoCenter_)
        target.moveCenter(rect().center());
    painter.drawImage(target, frame_);
}
