#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"

class SkinLabel;

// Moves the playing file to a typed time: hours, minutes and seconds, each a number that may
// have a fraction and may exceed 59. It works the player's position bar and playback control.
class frmGoTo : public forms::Form {
    Q_OBJECT
public:
    frmGoTo();

    forms::TextBox* txtHour;
    forms::Label* lblSep01;
    forms::TextBox* txtMin;
    forms::Label* Label1;
    forms::TextBox* txtSec;
    forms::CommandButton* cmdGoTo;
    SkinLabel* lblTime;
    forms::Timer* Timer1;

    // Seeks to the typed time; a box that holds no number leaves the bar where it is.
    void cmdGoTo_Click();
    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
