#pragma once

#include "ripping/WavConverter.h"

class WMAEncoderX;
class WmaSettingsControls;

// Encodes one WAV file into WMA with its own encoder.
class frmWavtoWma : public WavConverter {
    Q_OBJECT
public:
    // The encoder is made by the window unless one is given (a window can be tried against an
    // encoder with other capabilities); the window owns it either way.
    explicit frmWavtoWma(WMAEncoderX* encoder = nullptr);

    WmaSettingsControls* Settings;
    WMAEncoderX* WMAEncoderX1;

protected:
    void PresetSettings() override;
    bool WriteSettings() override;
};
