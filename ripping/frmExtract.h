#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/ListView.h"
#include "platform/forms/ProgressBar.h"

#include <QDateTime>
#include <QPointer>

class CDRipperX;
class LumoCommonDialog;

// The extraction dialog: queues the checked tracks of the ripper window with the ripper component,
// starts the extraction and follows it track by track until the component reports the end.
class frmExtract : public forms::Form {
    Q_OBJECT
public:
    frmExtract();
    ~frmExtract() override;

    forms::TextBox* txtFilename;
    forms::CommandButton* cmdFileName;
    forms::CommandButton* cmdGo;
    forms::CommandButton* cmdCancel;
    forms::ListBox* lstStatus;
    forms::ProgressBar* prgTrack;
    forms::ProgressBar* prgTotal;
    forms::Label* lblTrackProgress;
    forms::Label* lblTotalProgress;
    forms::Label* lblExtractStatus;
    forms::StatusBar* sbrTime;
    LumoCommonDialog* CommonDialog1;

    QPointer<CDRipperX> m_objRipper;
    int m_intTrack = 0;
    QString m_strFile;
    int m_lngStart = 0;
    int m_lngEnd = 0;
    QDateTime m_dtStart;
    bool m_bRipping = false;
    QString m_strExt;

    // Shows the dialog modal for the ripper and output format; returns when it has closed.
    void ShowExtract(CDRipperX& ripper, int format);

    void cmdFileName_Click();
    void cmdGo_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void CreateControls();
    void Connect(CDRipperX& ripper);
    void RipStarted();
    void RipCompleted();
    void RipStatus(int code, int value);
    void TrackStarted(const QString& file, int start, int end, int track);
    void TrackCompleted();
    QMetaObject::Connection connections_[5];
    // Of the extraction running: the tracks finished, and whether it was cancelled.
    int tracksWritten_ = 0;
    bool cancelled_ = false;
};
