#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"

#include <functional>

class ezVidCap;

// The video capture window: it hosts the capture component, lists its drivers, mirrors its
// options in check boxes, opens the device's dialogs, starts captures and saves the captured
// video and the current frame. It keeps no state of its own.
class frmVideoCapture : public forms::Form {
    Q_OBJECT
public:
    frmVideoCapture();

    forms::ComboBox* cbDriver;
    forms::CheckBox* chkAudio;
    forms::CheckBox* chkPreRoll;
    forms::CheckBox* chkUserConfirm;
    forms::CheckBox* chkPreview;
    forms::CheckBox* chkFrameCallback;
    forms::CheckBox* chkAutoSize;
    forms::CheckBox* chkCenter;
    forms::CheckBox* chkStretch;
    forms::CommandButton* cmdSourceDlg;
    forms::CommandButton* cmdFormatDlg;
    forms::CommandButton* cmdDisplayDlg;
    forms::CommandButton* cmdCompDlg;
    forms::CommandButton* cmdAudioDlg;
    forms::CommandButton* cmdCapture;
    forms::CommandButton* cmdSaveAs;
    forms::CommandButton* cmdSaveDIB;
    forms::TextBox* txtWidth;
    forms::CommandButton* cmdWidth;
    forms::TextBox* txtHeight;
    forms::CommandButton* cmdHeight;
    forms::PictureBox* picStatus;
    // The picture's room on the window, which the capture component never reaches past.
    forms::PictureBox* picVideoFrame;
    forms::Label* lblStatusCode;
    forms::Label* lblStatusString;
    ezVidCap* ezVidCap1;

    void cbDriver_Click();
    void cmdSaveAs_Click();
    void cmdSaveDIB_Click();
    void cmdWidth_Click();
    void cmdHeight_Click();
    void ezVidCap1_StatusEvent(int code, const QString& text);
    void ezVidCap1_ErrorEvent(int code, const QString& text);
    void ezVidCap1_PreRollComplete();

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void CreateControls();
    void WireHandlers();
    void EnableButtons();
    // Runs a handler that has no error handling of its own: an error it raises is shown, and the
    // program goes on.
    void Unguarded(const std::function<void()>& handler);
};
