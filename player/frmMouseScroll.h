#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

class SkinLabel;

// The mouse-wheel settings: what the wheel over the player drives and by how much. The player's
// wheel procedure reads these controls directly on every turn of the wheel.
class frmMouseScroll : public forms::Form {
    Q_OBJECT
public:
    frmMouseScroll();

    // The settings file in the program folder.
    static const QString SettingsFile;

    forms::Frame* Frame1;
    forms::OptionButton* Option1;
    forms::OptionButton* Option2;
    forms::OptionButton* Option3;
    forms::OptionButton* Option4;
    SkinLabel* SkinLabel1;
    forms::TextBox* txtSec;

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
