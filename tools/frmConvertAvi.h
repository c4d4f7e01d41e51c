#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ProgressBar.h"

class LumoCommonDialog;

// The AVI re-compression window: the user picks a source and a target file and a compressor, and
// the AVI file services write the source's video stream compressed to the target, with progress
// and a Stop button.
class frmConvertAvi : public forms::Form {
    Q_OBJECT
public:
    frmConvertAvi();

    forms::CommandButton* Command1; // Input...
    forms::CommandButton* Command2; // Output...
    forms::TextBox* Text1;
    forms::TextBox* Text2;
    forms::TextBox* txtStatus;
    forms::ProgressBar* ProgressBar1;
    forms::CommandButton* cmdOpenAVIFile; // Start
    forms::CommandButton* cmdCancelSave; // Stop
    LumoCommonDialog* ComDlg;

    // The bare name of a file: the text between the path's last "/" and the first "." after it.
    // The path is trimmed in place.
    QString GetFileName(QString& path);

    void Command1_Click();
    void Command2_Click();
    void cmdOpenAVIFile_Click();
    void cmdCancelSave_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void CreateControls();

    QString sourcePath_;
    QString targetPath_;
};
