#include "ripping/frmVorbisSettings.h"

#include "components/encoders/VorbisEncoderX.h"
#include "ripping/SettingsDialog.h"
#include "ripping/VorbisSettingsControls.h"
#include "tools/ToolWindowSetup.h"

frmVorbisSettings::frmVorbisSettings()
{
    setObjectName(QStringLiteral("frmVorbisSettings"));
    setCaption(QStringLiteral("Vorbis Encoder Settings"));
    fraOptions = new forms::Frame(Client(), QStringLiteral("Encoding Options"));
    fraOptions->Move(120, 120, VorbisSettingsControls::Width, VorbisSettingsControls::Height);
    Settings = new VorbisSettingsControls(fraOptions);
    const double top = 120 + VorbisSettingsControls::Height + 120;
    cmdApply = new forms::CommandButton(Client(), QStringLiteral("Apply"));
    cmdApply->Move(2520, top, 1215, 375);
    cmdCancel = new forms::CommandButton(Client(), QStringLiteral("Cancel"));
    cmdCancel->Move(3840, top, 1215, 375);
    Move(Left(), Top(), 5175 + (Width() - ScaleWidth()), top + 495 + (Height() - ScaleHeight()));

    connect(cmdApply, &forms::CommandButton::Click, this, &frmVorbisSettings::cmdApply_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmVorbisSettings::ShowForm(VorbisEncoderX& encoder, forms::Form* owner)
{
    m_objVorbis = &encoder;
    Settings->Preset();
    ShowOwnedModal(*this, owner);
}

void frmVorbisSettings::cmdApply_Click()
{
    if (!Settings->CheckRates()) return;
    if (m_objVorbis) {
        m_objVorbis->setNominalBitrate(Settings->Nominal());
        m_objVorbis->setMaxBitrate(Settings->Maximum());
        m_objVorbis->setMinBitrate(Settings->Minimum());
    }
    Unload();
}

void frmVorbisSettings::Form_Load() { ToolWindowSetup(*this); }

void frmVorbisSettings::Form_Unload(int& /*cancel*/) { m_objVorbis = nullptr; }
