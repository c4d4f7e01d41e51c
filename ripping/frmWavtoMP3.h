#pragma once

#include "ripping/WavConverter.h"

class MP3EncoderX;
class Mp3SettingsControls;

// Encodes one WAV file into MP3 with its own encoder.
class frmWavtoMP3 : public WavConverter {
    Q_OBJECT
public:
    frmWavtoMP3();

    Mp3SettingsControls* Settings;
    MP3EncoderX* MP3EncoderX1;

protected:
    void PresetSettings() override;
    bool WriteSettings() override;
    bool CancelArgument() const override { return false; }
};
