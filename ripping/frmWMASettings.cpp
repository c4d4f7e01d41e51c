#include "ripping/frmWMASettings.h"

#include "components/encoders/WMAEncoderX.h"
#include "ripping/SettingsDialog.h"
#include "ripping/WmaSettingsControls.h"
#include "tools/ToolWindowSetup.h"

frmWMASettings::frmWMASettings()
{
    setObjectName(QStringLiteral("frmWMASettings"));
    setCaption(QStringLiteral("WMA EncoderSettings"));
    fraOptions = new forms::Frame(Client(), QStringLiteral("Encoding Options"));
    fraOptions->Move(120, 120, WmaSettingsControls::Width, WmaSettingsControls::Height);
    Settings = new WmaSettingsControls(fraOptions);
    const double top = 120 + WmaSettingsControls::Height + 120;
    cmdApply = new forms::CommandButton(Client(), QStringLiteral("Apply"));
    cmdApply->Move(2520, top, 1215, 375);
    cmdCancel = new forms::CommandButton(Client(), QStringLiteral("Cancel"));
    cmdCancel->Move(3840, top, 1215, 375);
    Move(Left(), Top(), 5175 + (Width() - ScaleWidth()), top + 495 + (Height() - ScaleHeight()));

    connect(cmdApply, &forms::CommandButton::Click, this, &frmWMASettings::cmdApply_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmWMASettings::ShowForm(WMAEncoderX& encoder, forms::Form* owner)
{
    m_objEncoder = &encoder;
    Settings->SetEncoder(&encoder);
    Settings->Preset();
    ShowOwnedModal(*this, owner);
}

void frmWMASettings::cmdApply_Click()
{
    if (m_objEncoder && !Settings->Apply(*m_objEncoder)) return;
    Unload();
}

void frmWMASettings::Form_Load() { ToolWindowSetup(*this); }

void frmWMASettings::Form_Unload(int& /*cancel*/)
{
    m_objEncoder = nullptr;
    Settings->SetEncoder(nullptr);
}
