#pragma once

#include "ripping/WavConverter.h"

class VorbisEncoderX;
class VorbisSettingsControls;

// Encodes one WAV file into Ogg Vorbis with its own encoder.
class frmWavtoOgg : public WavConverter {
    Q_OBJECT
public:
    frmWavtoOgg();

    VorbisSettingsControls* Settings;
    VorbisEncoderX* VorbisEncoderX1;

protected:
    void PresetSettings() override;
    bool WriteSettings() override;
};
