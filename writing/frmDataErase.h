#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

#include <QPointer>

class CDWriterXP;

// The erase dialog: blanks the rewritable disc in the drive the data disc window has open, with
// that window's writer component, and refuses to close while the erase runs.
class frmDataErase : public forms::Form {
    Q_OBJECT
public:
    frmDataErase();

    forms::CheckBox* chkQuikErase;
    forms::CommandButton* cmdErase;
    forms::CommandButton* cmdCancel;
    forms::Label* lblStatus;
    forms::Label* lblEraseMsg;

    // Holds the writer and shows the dialog modal; returns when it closes.
    void ShowErase(CDWriterXP* writer);
    bool Busy() const { return busy_; }

    void cmdErase_Click();

protected:
    void Form_Unload(int& cancel) override;

private:
    void Hold(CDWriterXP* writer);
    void Release();
    void EnableButtons(bool on);

    QPointer<CDWriterXP> mobjCDR;
    QList<QMetaObject::Connection> events_;
    bool busy_ = false;
};
