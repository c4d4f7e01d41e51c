#include "writing/frmDataDiscInfo.h"

#include "components/cdwriter/CDWriterXP.h"
#include "components/skin/Skin.h"
#include "engine/Docking.h"
#include "platform/forms/MsgBox.h"
#include "player/frmPlayer.h"

#include <QWindow>

using namespace forms::MsgBoxStyle;

frmDataDiscInfo::frmDataDiscInfo()
{
    setCaption(QStringLiteral("Disc Info"));
    QWidget* client = Client();
    fraInfo = new forms::Frame(client);
    fraInfo->Move(120, 60, 4680, 2040);
    const struct {
        forms::Label*& caption;
        forms::Label*& value;
        const char* text;
    } rows[] = {
        {lblDiscStatus, lblValueDiscStatus, "Disc Status:"},
        {lblFreeSpace, lblValueFreeSpaceBlocks, "Free Space Blocks:"},
        {lblDiscType, lblValueDiscType, "Disc Type:"},
        {lblSessionStatus, lblValueLastSessionStatus, "Last Session Status:"},
        {lblSessions, lblValueSessions, "Number of Sessions:"},
    };
    double top = 240;
    for (const auto& row : rows) {
        row.caption = new forms::Label(fraInfo, QString::fromLatin1(row.text));
        row.caption->Move(120, top, 1860, 255);
        row.value = new forms::Label(fraInfo);
        row.value->Move(2040, top, 2520, 255);
        top += 345;
    }
    lblStatus = new forms::Label(client);
    lblStatus->Move(120, 2160, 4680, 255);
    cmdCloseDisc = new forms::CommandButton(client, QStringLiteral("Close Disc"));
    cmdCloseDisc->Move(120, 2520, 1455, 375);
    cmdCloseSession = new forms::CommandButton(client, QStringLiteral("Close Session"));
    cmdCloseSession->Move(1680, 2520, 1455, 375);
    cmdOK = new forms::CommandButton(client, QStringLiteral("OK"));
    cmdOK->Move(3345, 2520, 1455, 375);
    Move(Left(), Top(), 4920 + (Width() - ScaleWidth()), 3060 + (Height() - ScaleHeight()));

    connect(cmdCloseDisc, &forms::CommandButton::Click, this, [this] { CloseDiscOrSession(true); });
    connect(cmdCloseSession, &forms::CommandButton::Click, this, [this] { CloseDiscOrSession(false); });
    connect(cmdOK, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmDataDiscInfo::Hold(CDWriterXP* writer)
{
    Release();
    mobjCDR = writer;
    if (!writer) return;
    events_ << connect(writer, &CDWriterXP::ClosingSession, this,
        [this] { lblStatus->setCaption(QStringLiteral("...Closing Session/Disc...")); });
    events_ << connect(writer, &CDWriterXP::WriteComplete, this, [this] {
        if (!busy_) return;
        lblStatus->setCaption(QStringLiteral("Closing Successful!!"));
        Refresh();
        forms::MsgBox(QStringLiteral("Session/Disc Closed Successful!"), Information);
        busy_ = false;
        cmdOK->setEnabled(true);
    });
    events_ << connect(writer, &CDWriterXP::WriteError, this, [this](const QString&, int number) {
        if (!busy_) return;
        forms::MsgBox(QStringLiteral("Error closing Session/Disc #") + QString::number(number), Critical);
        busy_ = false;
        Unload();
    });
}

void frmDataDiscInfo::Release()
{
    for (const auto& connection : events_) disconnect(connection);
    events_.clear();
    mobjCDR = nullptr;
}

void frmDataDiscInfo::ShowDiscInfo(CDWriterXP* writer, QWidget* owner)
{
    Hold(writer);
    if (!writer || !writer->DiscPresent()) {
        forms::MsgBox(QStringLiteral("No Media Loaded...Cannot Get Disc Info!"), Information);
        Unload();
        return;
    }
    Show();
    if (owner && windowHandle() && owner->windowHandle()) windowHandle()->setTransientParent(owner->windowHandle());
    Refresh();
}

void frmDataDiscInfo::Form_Load()
{
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    Docking::AttachForm(this, false);
    SetTopmost(player && player->mnuTop->Checked());
}

void frmDataDiscInfo::Refresh()
{
    cmdCloseDisc->setEnabled(false);
    cmdCloseSession->setEnabled(false);
    busy_ = false;
    if (!mobjCDR) return;
    lblValueSessions->setCaption(QString::number(mobjCDR->SessionCount()));
    lblValueFreeSpaceBlocks->setCaption(QString::number(mobjCDR->DiscCapacity(1)));
    switch (mobjCDR->DiscStatus()) {
    case 0: lblValueDiscStatus->setCaption(QStringLiteral("Empty Disc")); break;
    case 1: lblValueDiscStatus->setCaption(QStringLiteral("Disc Open")); break;
    case 2: lblValueDiscStatus->setCaption(QStringLiteral("Disc is Closed")); break;
    case 3: lblValueDiscStatus->setCaption(QStringLiteral("Unknown")); break;
    default: break;
    }
    switch (mobjCDR->DiscType()) {
    case 0: lblValueDiscType->setCaption(QStringLiteral("CD-DA/CD-ROM")); break;
    case 16: lblValueDiscType->setCaption(QStringLiteral("CDI")); break;
    case 32: lblValueDiscType->setCaption(QStringLiteral("CD-ROM XA")); break;
    case 255: lblValueDiscType->setCaption(QStringLiteral("Unknown")); break;
    default: break;
    }
    switch (mobjCDR->LastSessionState()) {
    case 0: lblValueLastSessionStatus->setCaption(QStringLiteral("Empty Session")); break;
    case 1:
        lblValueLastSessionStatus->setCaption(QStringLiteral("Incomplete Session"));
        cmdCloseSession->setEnabled(true);
        cmdCloseDisc->setEnabled(true);
        break;
    case 2: lblValueLastSessionStatus->setCaption(QStringLiteral("Unknown")); break;
    case 3: lblValueLastSessionStatus->setCaption(QStringLiteral("Closed Session")); break;
    default: break;
    }
}

void frmDataDiscInfo::CloseDiscOrSession(bool disc)
{
    busy_ = true;
    cmdOK->setEnabled(false);
    cmdCloseDisc->setEnabled(false);
    cmdCloseSession->setEnabled(false);
    if (mobjCDR && mobjCDR->CloseDiscOrSession(disc)) return;
    forms::MsgBox(disc ? QStringLiteral("Error attempting to Close Disc!") : QStringLiteral("Error attempting to Close Session!"),
        Critical);
    busy_ = false;
    cmdOK->setEnabled(true);
    cmdCloseDisc->setEnabled(true);
    cmdCloseSession->setEnabled(true);
}

void frmDataDiscInfo::Form_Unload(int& cancel)
{
    if (busy_) {
        cancel = 1;
        return;
    }
    Release();
    if (const frmPlayer* player = forms::Instances::Existing<frmPlayer>(); player && player->Skin1)
        player->Skin1->ApplySkin(hWnd());
}
