#include "writing/frmDataErase.h"

#include "components/cdwriter/CDWriterXP.h"
#include "engine/Docking.h"
#include "platform/forms/MsgBox.h"
#include "player/frmPlayer.h"

using namespace forms::MsgBoxStyle;

frmDataErase::frmDataErase()
{
    setCaption(QStringLiteral("Erase Re-Writable CD"));
    QWidget* client = Client();
    chkQuikErase = new forms::CheckBox(client, QStringLiteral("Perform Quick Erase"));
    chkQuikErase->Move(240, 180, 3600, 255);
    chkQuikErase->setValue(forms::CheckValue::Checked);
    lblEraseMsg = new forms::Label(client,
        QStringLiteral("NOTE: If not performing a quick erase, it could take several minutes to completely erase the disc. "
                       "This operation cannot be cancelled. A quick erase will erase the table of contents, but not the "
                       "actual data."));
    lblEraseMsg->setWordWrap(true);
    lblEraseMsg->Move(240, 540, 4800, 1080);
    lblStatus = new forms::Label(client);
    lblStatus->Move(240, 1700, 4800, 255);
    cmdErase = new forms::CommandButton(client, QStringLiteral("&Erase"));
    cmdErase->Move(2160, 2100, 1335, 375);
    cmdCancel = new forms::CommandButton(client, QStringLiteral("&Cancel"));
    cmdCancel->Move(3660, 2100, 1335, 375);
    Move(Left(), Top(), 5280 + (Width() - ScaleWidth()), 2640 + (Height() - ScaleHeight()));

    connect(cmdErase, &forms::CommandButton::Click, this, &frmDataErase::cmdErase_Click);
    connect(cmdCancel, &forms::CommandButton::Click, this, [this] { Unload(); });
}

void frmDataErase::Hold(CDWriterXP* writer)
{
    Release();
    mobjCDR = writer;
    if (!writer) return;
    events_ << connect(writer, &CDWriterXP::EraseStarted, this, [this] {
        busy_ = true;
        lblStatus->setCaption(QStringLiteral("Erasing Disc...Please Wait!!"));
        EnableButtons(false);
    });
    events_ << connect(writer, &CDWriterXP::EraseComplete, this, [this] {
        lblStatus->setCaption(QStringLiteral("Erase operation complete!!!"));
        forms::MsgBox(QStringLiteral("Erase Completed!!!"), Information);
        EnableButtons(true);
        busy_ = false;
    });
    events_ << connect(writer, &CDWriterXP::WriteError, this, [this](const QString& description, int number) {
        forms::MsgBox(QStringLiteral("The disc could not be erased (error ") + QString::number(number) + QStringLiteral("):\r\n")
                + description,
            Critical);
        EnableButtons(true);
        busy_ = false;
    });
}

void frmDataErase::Release()
{
    for (const auto& connection : events_) disconnect(connection);
    events_.clear();
    mobjCDR = nullptr;
}

void frmDataErase::EnableButtons(bool on)
{
    cmdCancel->setEnabled(on);
    cmdErase->setEnabled(on);
}

void frmDataErase::ShowErase(CDWriterXP* writer)
{
    Hold(writer);
    EnableButtons(true);
    busy_ = false;
    Show(forms::ShowMode::Modal);
}

void frmDataErase::cmdErase_Click()
{
    if (!mobjCDR) return;
    if (!mobjCDR->SupportsFeature(7)) {
        forms::MsgBox(QStringLiteral("Selected drive does not support Re-Writable discs."), Information);
        Unload();
        return;
    }
    if (!mobjCDR->DiscErasable()) {
        forms::MsgBox(QStringLiteral("Disc is not a Re-Writable disc."), Information);
        Unload();
        return;
    }
    if (!mobjCDR->EraseDisc(chkQuikErase->Value() == forms::CheckValue::Checked)) {
        forms::MsgBox(QStringLiteral("Error Erasing Disc!!!"), Critical);
        Unload();
    }
}

void frmDataErase::Form_Unload(int& cancel)
{
    // The dialog has no load steps; it joins the docking layer and takes the player's topmost
    // state only as it closes, and it is never skinned.
    const frmPlayer* player = forms::Instances::Existing<frmPlayer>();
    Docking::AttachForm(this, false);
    SetTopmost(player && player->mnuTop->Checked());
    if (busy_) {
        cancel = 1;
        return;
    }
    Release();
}
