#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Timer.h"

class SkinLabel;

// The properties of the playlist's current entry and of the file playing: name, folder, size,
// length, picture size, type, date and position, refreshed on every tick of its timer.
class frmProperties : public forms::Form {
    Q_OBJECT
public:
    frmProperties();

    SkinLabel* lblFileName;
    SkinLabel* SkinLabel1;
    SkinLabel* SkinLabel2;
    SkinLabel* SkinLabel3;
    SkinLabel* SkinLabel4;
    SkinLabel* SkinLabel6;
    SkinLabel* SkinLabel7;
    SkinLabel* SkinLabel8;
    forms::TextBox* txtFileName;
    forms::TextBox* txtPath;
    forms::TextBox* txtSize;
    forms::TextBox* txtPlayLength;
    forms::TextBox* txtType;
    forms::TextBox* txtVidSize;
    forms::TextBox* txtDate;
    forms::TextBox* txtPosition;
    forms::Timer* Timer1;

    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    QString openFile_;
    QString lengthText_;
};
