#pragma once

#include "ripping/WavConverter.h"

class WMAEncoderX;
class WmaSettingsControls;

// Encodes one WAV file into WMA with its own encoder.
class frmWavtoWma : public WavConverter {
    Q_OBJECT
public:
    frmWavtoWma();

    WmaSettingsControls* Settings;
    WMAEncoderX* WMAEncoderX1;

protected:
    void PresetSettings() override;
    bool WriteSettings() override;
};
