#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Extent.h"
#include "platform/forms/PointerMotion.h"
#include "platform/forms/Timer.h"

#include <QStringList>
#include <QWidget>
#include <array>

// The playback control: one media file on the device alias "music", its video bound to the
// control's surface or to Frame1. Every member sends the device's string commands and reads
// their replies; failures leave the control's state as it was.
class Media : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    explicit Media(QWidget* parent);
    ~Media() override;

    forms::PictureBox* Frame1;
    forms::Label* lblMouse;
    forms::Timer* Timer1;

    // Public members, in their declared order.
    void OpenFile(const QString& strFileName);
    void StopMovie();
    void PauseMovie();
    int getLengthInFrames();
    void playMovie();
    void stepFrames(int Value);
    void restoreSizeDefault();
    void minimizeMovie();
    void hideMovie();
    void showMovie();
    void restoreMovie();
    void extractCurrentMovieSize(int& wLeft, int& wTop, int& wWidth, int& wHeight);
    void extractDefaultMovieSize(int& wWidth, int& wHeight);
    double getBitsPerPixel();
    QString getMovieInput();
    QString getMovieOutput();
    QString getAudioStatus();
    bool isMoviePlaying();
    QString getDeviceName();
    QString getDeviceVersion();
    int getNominalFrameRate();
    int getFramePerSecRate();
    QString getCurrentSize();
    QString getDefaultSize();
    int getLengthInMS();
    void playFullScreen();
    int getLengthInSec();
    void setVideoOff();
    void setVideoOn();
    void resumeMovie();
    int getPositionInMS();
    int getRate();
    int getPositionInFrames();
    QString getStatus();
    void closeMovie();
    QString getFormatPosition();
    QString getFormatLength();
    QString getThisTime(int TimeinSec);
    int getVolume();
    QString getVideoStatus();
    QString getTimeFormat();
    int getLeftVolume();
    int getPositionInSec();
    int getRightVolume();
    void setAudioOff();
    void setAudioOn();
    void setLeftOff();
    void setRightOff();
    void setLeftOn();
    void setRightOn();
    void setDoorOpen();
    void setDoorClosed();
    void setVolume(int Value);
    void setPositionTo(double Second);
    void restartMovie();
    void rewindByMS(int numMS);
    void rewindByFrames(int numFrames);
    void rewindBySeconds(int numSec);
    void forwardByFrames(int numFrames);
    void forwardByMS(int numMS);
    void forwardBySeconds(int numSec);
    QString checkDeviceReady();
    void setSpeed(int Value);
    void setLeftVolume(int Value);
    void setRightVolume(int Value);
    QString GetFileName() const;
    void timeOut(double duration);
    void sizeLocateMovie(int left, int top, int Width, int Height);

signals:
    void Click();
    void MouseDown(int Button, int Shift, double X, double Y);
    void MouseMove();
    void MouseMove2(int Button, int Shift, double X, double Y);
    void MouseUp(int Button, int Shift, double X, double Y);
    void OLEDragDrop(const QStringList& files, int Button, int Shift, double X, double Y);
    void Resize();
    void DblClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    unsigned Send(const QString& command);
    QString Query(const QString& command, unsigned* error = nullptr);
    int NumericReply(const QString& command);
    void PlayFrom(qint64 position);
    void ForwardEvents(forms::Events* events);
    void CursorTick();
    void CursorMoved();
    void ReportCursor();

    // One reply area for every query, never cleared: a failed query leaves the last reply in it.
    std::array<char, 128> reply_ {};
    QString openName_;
    QString requestedName_;
    QString windowHandle_;
    // The display's motion reports, where it sends them: Timer1 then runs only while the pointer
    // moves, and a tick reports the cursor when it moved since the last report.
    forms::PointerMotion* pointer_;
    bool cursorMoved_ = true;
};
