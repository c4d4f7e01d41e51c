#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/ListControls.h"

#include <QObject>

// The Ogg Vorbis encoder's rates as the settings dialog and the Ogg converter show them: nominal,
// minimum and maximum, the limits usable only with the advanced box checked.
class VorbisSettingsControls : public QObject {
    Q_OBJECT
public:
    // Places the controls on `container` (the "Encoding Options" frame).
    explicit VorbisSettingsControls(QWidget* container);

    forms::Label* lblNominalBitRate;
    forms::ComboBox* cboNominalBitRate;
    forms::Label* lblMinBitRate;
    forms::ComboBox* cboMinBitRate;
    forms::Label* lblMaxBitRate;
    forms::ComboBox* cboMaxBitRate;
    forms::CheckBox* chkUseAdvanced;

    static constexpr double Width = 4935;
    static constexpr double Height = 2040;

    static void FillVorbisBitRates(forms::ComboBox& list);

    // The lists filled and set to 128 kb/s nominal, no minimum and no maximum, the box unchecked.
    void Preset();
    void chkUseAdvanced_Click();

    // The kb/s of the selected rows; 0 is the default or no limit.
    int Nominal() const;
    int Minimum() const;
    int Maximum() const;
    // The nominal rate must lie within the limits that are set; the first rule that fails shows
    // its message and gives False. The limits count whether the box is checked or not.
    bool CheckRates() const;
};
