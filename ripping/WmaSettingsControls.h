#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ListControls.h"

#include <QObject>

class WMAEncoderX;

// The WMA encoder's settings as the settings dialog and the WMA converter show them. Which
// channel options and sample rates are offered depends on the bit rate and is asked of the
// encoder given with SetEncoder().
class WmaSettingsControls : public QObject {
    Q_OBJECT
public:
    // Places the controls on `container` (the "Encoding Options" frame).
    explicit WmaSettingsControls(QWidget* container);

    forms::Label* lblBitRate;
    forms::ComboBox* cboBitRate;
    forms::Label* lblSampleRates;
    forms::ComboBox* cboSampleRates;
    forms::OptionButton* optStereo;
    forms::OptionButton* optMono;
    forms::CheckBox* chkEnableDRM;

    static constexpr double Width = 4935;
    static constexpr double Height = 2040;

    // The encoder that answers what is offered; null asks nothing and offers nothing new.
    void SetEncoder(WMAEncoderX* encoder) { encoder_ = encoder; }

    static void FillWmaBitRates(forms::ComboBox& list);
    static QString SampleRateText(int code);

    // The bit rates filled and 128 kb/s selected, which offers its channels and sample rates.
    void Preset();
    int SelectedBitRate() const;
    void cboBitRate_Click();
    void UpdateChannelOptions(int kbps);
    void FillSampleRates(int kbps);

    // Writes bit rate, sample rate, channels and DRM into the encoder. With no sample rate to
    // choose, nothing is written: a message says so and False is returned.
    bool Apply(WMAEncoderX& encoder);

private:
    WMAEncoderX* encoder_ = nullptr;
};
