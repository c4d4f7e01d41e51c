#include "ripping/frmWavtoOgg.h"

#include "components/encoders/VorbisEncoderX.h"
#include "platform/forms/Controls.h"
#include "ripping/VorbisSettingsControls.h"

frmWavtoOgg::frmWavtoOgg()
    : WavConverter(QStringLiteral("WAV > OGG"),
        {QStringLiteral(".ogg"), QStringLiteral("Encoded Vorbis File"), QStringLiteral("Test.ogg"),
            QStringLiteral("Ogg-Vorbis file (*.ogg)|*.ogg")},
        VorbisSettingsControls::Width, VorbisSettingsControls::Height)
{
    setObjectName(QStringLiteral("frmWavtoOgg"));
    Settings = new VorbisSettingsControls(fraOptions);
    VorbisEncoderX1 = new VorbisEncoderX(this);
    Host(VorbisEncoderX1);
}

void frmWavtoOgg::PresetSettings() { Settings->Preset(); }

bool frmWavtoOgg::WriteSettings()
{
    if (!Settings->CheckRates()) return false;
    VorbisEncoderX1->setNominalBitrate(Settings->Nominal());
    if (Settings->chkUseAdvanced->Value() == forms::CheckValue::Checked) {
        VorbisEncoderX1->setMaxBitrate(Settings->Maximum());
        VorbisEncoderX1->setMinBitrate(Settings->Minimum());
    } else {
        VorbisEncoderX1->setMaxBitrate(0);
        VorbisEncoderX1->setMinBitrate(0);
    }
    VorbisEncoderX1->setPriority(3);
    return true;
}
