#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

class MP3EncoderX;
class Mp3SettingsControls;

// Sets the ripper's MP3 encoder before extraction. Every opening starts from the defaults; Apply
// writes straight into the encoder it was given.
class frmMp3Settings : public forms::Form {
    Q_OBJECT
public:
    frmMp3Settings();

    // Shows the dialog modal for `encoder`, owned by `owner` when one is given, and returns when
    // it closes.
    void ShowForm(MP3EncoderX& encoder, forms::Form* owner = nullptr);

    Mp3SettingsControls* Settings;
    forms::CommandButton* cmdApply;
    forms::CommandButton* cmdCancel;
    MP3EncoderX* m_objEncoder = nullptr;

    void cmdApply_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
