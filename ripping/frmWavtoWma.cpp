#include "ripping/frmWavtoWma.h"

#include "components/encoders/WMAEncoderX.h"
#include "ripping/WmaSettingsControls.h"

frmWavtoWma::frmWavtoWma()
    : WavConverter(QStringLiteral("WAV > WMA"),
        {QStringLiteral(".wma"), QStringLiteral("Encoded Windows Media File"), QStringLiteral("Test.wma"),
            QStringLiteral("Windows Media file (*.wma)|*.wma")},
        WmaSettingsControls::Width, WmaSettingsControls::Height)
{
    setObjectName(QStringLiteral("frmWavtoWma"));
    Settings = new WmaSettingsControls(fraOptions);
    WMAEncoderX1 = new WMAEncoderX(this);
    Settings->SetEncoder(WMAEncoderX1);
    Host(WMAEncoderX1);
}

void frmWavtoWma::PresetSettings() { Settings->Preset(); }

bool frmWavtoWma::WriteSettings()
{
    if (!Settings->Apply(*WMAEncoderX1)) return false;
    WMAEncoderX1->setPriority(3);
    return true;
}
