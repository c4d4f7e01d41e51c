#include "ripping/frmMp3Settings.h"

#include "ripping/Mp3SettingsControls.h"
#include "ripping/SettingsDialog.h"
#include "tools/ToolWindowSetup.h"

frmMp3Settings::frmMp3Settings()
{
    setObjectName(QStringLiteral("frmMp3Settings"));
    setCaption(QStringLiteral("MP3 Encoder Settings"));
    Settings = new Mp3SettingsControls(Client(), 120);
    const double top = 120 + Mp3SettingsControls::Height + 120;
    cmdApply = new forms::CommandButton(Client(), QStringLiteral("Apply"));
    cmdApply->Move(3720, top, 1215, 375);
    cmdCancel = new forms::CommandButton(Client(), QStringLiteral("Cancel"));
    cmdCancel->Move(5040, top, 1215, 375);
    Move(Left(), Top(), 6435 + (Width() - ScaleWidth()), top + 495 + (Height() - ScaleHeight()));

    connect(cmdApply, &forms::CommandButton::Click, this, &frmMp3Settings::cmdApply_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmMp3Settings::ShowForm(MP3EncoderX& encoder, forms::Form* owner)
{
    m_objEncoder = &encoder;
    Settings->Preset();
    Settings->UpdateRateControls();
    ShowOwnedModal(*this, owner);
}

void frmMp3Settings::cmdApply_Click()
{
    if (m_objEncoder && !Settings->Apply(*m_objEncoder)) return;
    Unload();
}

void frmMp3Settings::Form_Load() { ToolWindowSetup(*this); }

void frmMp3Settings::Form_Unload(int& /*cancel*/) { m_objEncoder = nullptr; }
