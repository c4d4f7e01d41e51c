#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"

#include <QString>
#include <cstdint>
#include <functional>

class DvdControl;

// The DVD player window: a remote control for the DVD control it hosts. Its buttons call the
// control, a status box names the last command for two seconds, and a time line shows the
// position in the title and the title's length.
class frmDVD : public forms::Form {
    Q_OBJECT
public:
    frmDVD();

    forms::TextBox* txtTime;
    forms::TextBox* txtStatus;
    forms::PictureBox* picControls;
    forms::CommandButton* cmdStartDVD;
    forms::CommandButton* cmdPlay;
    forms::CommandButton* cmdPause;
    forms::CommandButton* cmdStop;
    forms::CommandButton* cmdPrevChapter;
    forms::CommandButton* cmdNextChap;
    forms::CommandButton* cmdRewind;
    forms::CommandButton* cmdFForward;
    forms::CommandButton* cmdZoomIn;
    forms::CommandButton* cmdZoomOut;
    forms::CommandButton* cmdJumpRoot;
    forms::Timer* Timer1;
    forms::Timer* tmrStatus;
    DvdControl* DVD;

    // Shared by Rewind and Fast Forward: 1 to 8, then 1 again.
    std::int16_t ScanSpeed = 0;

    // Milliseconds as "m:ss", or "h:m:ss" from an hour on.
    QString getThisTime(int ms) const;

    // The time line.
    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void CreateControls();
    void WireHandlers();
    void ShowStatus(const QString& text);
    std::int16_t NextScanSpeed();
    // Runs a handler that has no error handling of its own: an error ends it, not the program.
    static void Guarded(const std::function<void()>& handler);
};
