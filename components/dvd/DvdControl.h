#pragma once

#include "platform/forms/Extent.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class VlcDvd;

// The DVD control: plays the disc in the system's first DVD drive, or the device, ISO image or
// VIDEO_TS folder that TESSEL_DVD names, and draws its picture into its own area of the window.
// While the disc shows a menu, its buttons are chosen with a click on the picture or with the
// arrow keys and Enter.
//
// Commands that need the disc running start it first and take effect once it runs. A command
// the disc cannot carry out raises a run-time error; nothing here shows a message.
class DvdControl : public QWidget, public forms::Extent {
    Q_OBJECT
public:
    explicit DvdControl(QWidget* parent);
    // Stops playback and releases the drive.
    ~DvdControl() override;

    // The menu that ShowMenu knows: the root menu of the current title set.
    static constexpr int RootMenu = 3;

    // Finds the disc and binds the picture to the control; plays nothing yet.
    void Initialise();
    // Plays a title from its start at normal speed.
    void PlayTitle(int title);
    // Plays forwards at a speed (1.0 normal), resuming when paused.
    void PlayForwards(double speed);
    // Plays backwards at a speed: the picture steps back through the title at that many times
    // normal speed, and plays on forwards when it reaches the start.
    void PlayBackwards(double speed);
    void Pause();
    void Stop();
    // The chapter playing, from 1; an error while no title plays.
    int CurrentChapter() const;
    // Plays a chapter of the current title; a chapter the title does not have is an error.
    void PlayChapter(int chapter);
    void ShowMenu(int menu);
    // Zooms by a factor (above 1 in, below 1 out) on a point of the picture, in its own pixels.
    // Zooming out never shows less than the whole picture.
    void Zoom(int x, int y, double ratio);
    // Position in the title and length of the title, as "hh:mm:ss:ff"; an error while the disc
    // does not run.
    QString CurrentLocation() const;
    QString TitleLength() const;

    // What the control shows: the title (0 for a menu, -1 when the disc does not run), the
    // speed (negative backwards, 0 when paused or stopped) and the zoom factor.
    int CurrentTitle() const;
    double Speed() const;
    double ZoomRatio() const { return zoom_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void RequireDisc() const;
    void RequireTitle() const;
    // Runs a command now when the disc runs, else starts the disc and runs it once it does.
    void WhenRunning(std::function<void()> command);
    void OnPlaying();
    void OnStopped();
    void OnTitleChanged(int title);
    void StepBackwards();
    void EndBackwards();
    QString TimeText(std::int64_t ms) const;

    std::unique_ptr<VlcDvd> player_;
    bool running_ = false;
    std::function<void()> pending_;
    // The title the player reports it has come to; a title asked for counts only from then on.
    int title_ = -1;
    mutable double frameRate_ = 0;
    // The chapter last asked for, reported until the player reports it itself.
    mutable int askedChapter_ = 0;
    QElapsedTimer askedClock_;

    double backwardsSpeed_ = 0;
    double backwardsPosition_ = 0;
    QTimer backwardsTimer_;
    QElapsedTimer backwardsClock_;

    double zoom_ = 1;

    // Set once this run changed the title, see ShowMenu.
    bool pauseSkipArmed_ = false;

    // The last click handed on to the library, which comes back here too and is not handed on again.
    QPoint passedClick_;
    QElapsedTimer passedClock_;
};
