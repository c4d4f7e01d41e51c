#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

class LumoCommonDialog;

// The sound recorder's options: format, manual or programmed recording with its times, manual or
// automatic saving with its file name, and a MIDI file to play while recording. Every choice
// changes the recorder's state at once; Ok closes the window.
class frmSettings : public forms::Form {
    Q_OBJECT
public:
    frmSettings();

    forms::Frame* Frame1;
    forms::OptionButton* optRate44100;
    forms::OptionButton* optRate22050;
    forms::OptionButton* optRate11025;
    forms::OptionButton* optRate8000;
    forms::OptionButton* optRate6000;
    forms::Frame* Frame2;
    forms::OptionButton* optStereo;
    forms::OptionButton* optMono;
    forms::Frame* Frame3;
    forms::OptionButton* opt16bits;
    forms::OptionButton* opt8bits;
    forms::Frame* Frame6;
    forms::OptionButton* optRecordImmediate;
    forms::OptionButton* optRecordProgrammed;
    forms::Frame* frmManualAuto;
    forms::OptionButton* Option11; // automatic saving
    forms::OptionButton* Option10; // manual saving
    forms::CommandButton* cmdFileName;
    forms::Frame* frmTimes;
    forms::CommandButton* cmdStartTime;
    forms::CommandButton* cmdStopTime;
    forms::Label* lblTimes;
    forms::CommandButton* cmdMidi;
    forms::CommandButton* cmdOke;
    LumoCommonDialog* CommonDialog2;

    void optRecordImmediate_Click();
    void optRecordProgrammed_Click();
    void cmdStartTime_Click();
    void cmdStopTime_Click();
    void cmdFileName_Click();
    void cmdMidi_Click();

protected:
    void Form_Load() override;

private:
    void CreateControls();
    void WireHandlers();
    void ShowTimes(bool on);
};
