#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ProgressBar.h"

#include <QDateTime>

class AudioEncoder;
class LumoCommonDialog;

// What the three WAV converter windows share: the input and output rows, Encode and Cancel, the
// progress bar and labels fed by the encoder's status events. Each window adds its encoder's
// settings inside the "Encoding Options" frame and writes them when Encode is pressed.
class WavConverter : public forms::Form {
    Q_OBJECT
public:
    forms::Frame* fraOptions;
    forms::CommandButton* cmdInputFile;
    forms::TextBox* txtInputFile;
    forms::CommandButton* cmdOutputFile;
    forms::TextBox* txtOutputFile;
    forms::CommandButton* cmdEncode;
    forms::CommandButton* cmdCancel;
    forms::ProgressBar* prgStatus;
    forms::Label* lblPercentageComplete;
    forms::Label* lblTimeElapsed;
    LumoCommonDialog* CommonDialog1;

    // When the running encode started.
    QDateTime m_dtStart;

    void cmdInputFile_Click();
    void cmdOutputFile_Click();
    void cmdEncode_Click();
    void cmdCancel_Click();
    void EncodeStatus(int percent, int status);

protected:
    struct OutputFile {
        QString extension;
        QString dialogTitle;
        QString presetName;
        QString filter;
    };
    // The frame is sized for settings controls of the given size in twips.
    WavConverter(const QString& caption, OutputFile output, double optionsWidth, double optionsHeight);

    // Connects the window to its encoder.
    void Host(AudioEncoder* encoder);
    // Fills and presets the settings controls at load.
    virtual void PresetSettings() = 0;
    // Writes the settings controls into the encoder; False when a rule refused them (its message
    // has been shown) and the encode must not start.
    virtual bool WriteSettings() = 0;
    // The argument the Cancel button passes to the encoder's cancel.
    virtual bool CancelArgument() const { return true; }

    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    OutputFile output_;
    AudioEncoder* encoder_ = nullptr;
};
