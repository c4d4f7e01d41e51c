#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

#include <QPointer>

class CDWriterXP;

// The disc information dialog: the state of the disc in the data disc window's drive, with
// buttons that close an incomplete session or the whole disc.
class frmDataDiscInfo : public forms::Form {
    Q_OBJECT
public:
    frmDataDiscInfo();

    forms::Frame* fraInfo;
    forms::Label* lblDiscStatus;
    forms::Label* lblValueDiscStatus;
    forms::Label* lblFreeSpace;
    forms::Label* lblValueFreeSpaceBlocks;
    forms::Label* lblDiscType;
    forms::Label* lblValueDiscType;
    forms::Label* lblSessionStatus;
    forms::Label* lblValueLastSessionStatus;
    forms::Label* lblSessions;
    forms::Label* lblValueSessions;
    forms::CommandButton* cmdCloseDisc;
    forms::CommandButton* cmdCloseSession;
    forms::CommandButton* cmdOK;
    forms::Label* lblStatus;

    // Holds the writer; without a disc only a message appears, otherwise the dialog shows
    // modeless, owned by owner, and fills itself.
    void ShowDiscInfo(CDWriterXP* writer, QWidget* owner);
    void Refresh();
    bool Busy() const { return busy_; }

    void CloseDiscOrSession(bool disc);

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void Hold(CDWriterXP* writer);
    void Release();

    QPointer<CDWriterXP> mobjCDR;
    QList<QMetaObject::Connection> events_;
    bool busy_ = false;
};
