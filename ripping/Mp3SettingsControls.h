#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/SliderControl.h"

#include <QObject>

class MP3EncoderX;

// The MP3 encoder's settings as the settings dialog and the MP3 converter show them: constant or
// variable rate with their rates, the variable-rate quality, overall quality and channel mode.
class Mp3SettingsControls : public QObject {
    Q_OBJECT
public:
    // Places the controls on `container`, at `top` twips.
    Mp3SettingsControls(QWidget* container, double top);

    forms::OptionButton* optCBR;
    forms::OptionButton* optVBR;
    forms::Label* lblCBRRate;
    forms::ComboBox* cboCBRRate;
    forms::Label* lblVBRMin;
    forms::ComboBox* cboVBRMin;
    forms::Label* lblVBRMax;
    forms::ComboBox* cboVBRMax;
    forms::Label* lblVBRQuality;
    forms::Label* lblSlow;
    forms::Slider* sldVBRLevel;
    forms::Label* lblFast;
    forms::Frame* fraQuality;
    forms::OptionButton* optNormal;
    forms::OptionButton* optStudio;
    forms::Label* lblChannelMode;
    forms::ComboBox* cboChannelMode;

    // The height the controls take, in twips.
    static constexpr double Height = 2760;

    static void FillMp3BitRates(forms::ComboBox& list);
    static void FillChannelModes(forms::ComboBox& list);

    // The lists filled and set to 128 kb/s, 32 to 320 kb/s and stereo.
    void Preset();
    // The constant rate's list is usable with a constant rate, the variable rate's with a
    // variable one. Runs on every click of either rate option.
    void UpdateRateControls();

    // Writes the settings into the encoder. On the variable-rate road the rates are read back
    // from the encoder and must rise from minimum to maximum: when they don't, the message is
    // shown and False returned, and what was written stays written. `priority`, when not
    // negative, is written to the encoder's priority just before the rates are read back.
    bool Apply(MP3EncoderX& encoder, int priority = -1);
};
