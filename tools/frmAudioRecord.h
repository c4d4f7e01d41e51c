#pragma once

#include "components/skin/Skin.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/SliderControl.h"
#include "platform/forms/Timer.h"

class LumoCommonDialog;

// The sound recorder: records from the sound input into a WAV file, at once or between a
// programmed start and stop time, optionally with a MIDI file playing; plays the recording back
// from a chosen position and saves it. Its state is the recording layer's (modWave).
class frmAudioRecord : public forms::Form {
    Q_OBJECT
public:
    frmAudioRecord();

    forms::CommandButton* cmdRecord;
    forms::CommandButton* cmdStop;
    forms::CommandButton* cmdPlay;
    forms::CommandButton* cmdSave;
    forms::CommandButton* cmdReset;
    forms::CommandButton* cmdSettings;
    forms::Frame* Frame5;
    forms::Slider* Slider1;
    forms::Frame* Frame4;
    SkinLabel* StatisticsLabel;
    forms::Timer* Timer2;
    LumoCommonDialog* CommonDialog1;

    void cmdRecord_Click();
    void cmdStop_Click();
    void cmdPlay_Click();
    void cmdSave_Click();
    void cmdReset_Click();
    void cmdSettings_Click();
    void Timer2_Timer();

    // The recorder's five stored settings, with their defaults where none is stored. Storing them
    // is false when the store's file could not be written.
    static void ReadStoredSettings();
    static bool StoreSettings();
    // The name an automatic save of a programmed recording gets.
    static QString AutomaticSaveName();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void CreateControls();
    void ClearRecording();
    void ProgrammedStop();
    QString TimeText() const;
    static void PendingRename();
    bool ticking_ = false;
};
