#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

class WMAEncoderX;
class WmaSettingsControls;

// Sets bit rate, sample rate, channels and DRM of the ripper's WMA encoder, offering what that
// encoder supports at the chosen bit rate. Every opening starts from the defaults; Apply writes
// straight into the encoder it was given.
class frmWMASettings : public forms::Form {
    Q_OBJECT
public:
    frmWMASettings();

    // Shows the dialog modal for `encoder`, owned by `owner` when one is given, and returns when
    // it closes.
    void ShowForm(WMAEncoderX& encoder, forms::Form* owner = nullptr);

    forms::Frame* fraOptions;
    WmaSettingsControls* Settings;
    forms::CommandButton* cmdApply;
    forms::CommandButton* cmdCancel;
    WMAEncoderX* m_objEncoder = nullptr;

    void cmdApply_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
