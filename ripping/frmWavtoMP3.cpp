#include "ripping/frmWavtoMP3.h"

#include "components/encoders/MP3EncoderX.h"
#include "ripping/Mp3SettingsControls.h"

namespace {
// The options sit lower in the frame than in the settings dialog, below the frame's caption; the
// frame grows by the same amount so that the quality frame at its bottom shows whole.
constexpr double OptionsTop = 300;
} // namespace

frmWavtoMP3::frmWavtoMP3()
    : WavConverter(QStringLiteral("WAV > MP3"),
        {QStringLiteral(".mp3"), QStringLiteral("Encoded MP3 File"), QStringLiteral("Test.mp3"),
            QStringLiteral("MP3 file (*.mp3)|*.mp3")},
        6315, Mp3SettingsControls::Height + OptionsTop - 120)
{
    setObjectName(QStringLiteral("frmWavtoMP3"));
    Settings = new Mp3SettingsControls(fraOptions, OptionsTop);
    MP3EncoderX1 = new MP3EncoderX(this);
    Host(MP3EncoderX1);
}

void frmWavtoMP3::PresetSettings()
{
    // Unlike the settings dialog, the rate controls keep their enabled state until the first
    // click of a rate option.
    Settings->Preset();
}

bool frmWavtoMP3::WriteSettings()
{
    // The variable-rate road marks the encode with the normal priority before the rates are read
    // back; a constant rate leaves the priority as it was.
    constexpr int NormalPriority = 3;
    return Settings->Apply(*MP3EncoderX1, NormalPriority);
}
