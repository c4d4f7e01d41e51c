#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

class VorbisEncoderX;
class VorbisSettingsControls;

// Sets the nominal, minimum and maximum rate of the ripper's Ogg Vorbis encoder. Every opening
// starts from the defaults; Apply writes straight into the encoder it was given.
class frmVorbisSettings : public forms::Form {
    Q_OBJECT
public:
    frmVorbisSettings();

    // Shows the dialog modal for `encoder`, owned by `owner` when one is given, and returns when
    // it closes.
    void ShowForm(VorbisEncoderX& encoder, forms::Form* owner = nullptr);

    forms::Frame* fraOptions;
    VorbisSettingsControls* Settings;
    forms::CommandButton* cmdApply;
    forms::CommandButton* cmdCancel;
    VorbisEncoderX* m_objVorbis = nullptr;

    void cmdApply_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;
};
