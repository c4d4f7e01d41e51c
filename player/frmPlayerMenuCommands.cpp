// What the player's menu items do.
#include "player/frmPlayer.h"

#include "components/skin/Skin.h"
#include "dialogs/Files.h"
#include "dialogs/LumoCommonDialog.h"
#include "dialogs/Sheller.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmAssociate.h"
#include "dialogs/frmChangeRes.h"
#include "dialogs/frmGoTo.h"
#include "dialogs/frmMP3TagEdit.h"
#include "dialogs/frmProperties.h"
#include "engine/Media.h"
#include "platform/files/FileCopy.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/shell/TrayIcon.h"
#include "player/frmMouseScroll.h"
#include "tools/frmDVD.h"
#include "ripping/frmWavtoMP3.h"
#include "ripping/frmWavtoOgg.h"
#include "ripping/frmWavtoWma.h"
#include "tools/frmConvertAvi.h"
#include "ripping/frmCDRip.h"
#include "tools/frmAudioRecord.h"
#include "tools/frmGyrelle.h"
#include "writing/frmBurnAudio.h"
#include "tools/frmVideoCapture.h"
#include "writing/frmBurnData.h"

const QString frmPlayer::OnlineHelpPage = QStringLiteral("https://tessel.example.org/tessel/help.html");
const QString frmPlayer::FaqPage = QStringLiteral("https://tessel.example.org/tessel/faq.html");
const QString frmPlayer::HomePage = QStringLiteral("https://tessel.example.org/");

namespace {

const QString OpenOperation = QStringLiteral("Open");

// Shows a tool window, creating it first if needed; one that is open already comes up again.
template <class Window> void ShowToolWindow()
{
    forms::IgnoreErrors run;
    run([] { forms::Instance<Window>().Show(); });
}

} // namespace

void frmPlayer::WireMenuCommands()
{
    using forms::MenuItem;
    const auto onClick = [this](MenuItem* item, auto handler) { connect(item, &MenuItem::Click, this, handler); };

    // Commands of the transport buttons and the full-screen toggle.
    for (MenuItem* item : {mnuPlayerPlay, mnuCustomPlay})
        onClick(item, [this] { cmdPlay_Click(); });
    for (MenuItem* item : {mnuPlayerPause, mnuCustomPause})
        onClick(item, [this] { cmdPause_Click(); });
    for (MenuItem* item : {mnuPlayerStop, mnuCustomStop})
        onClick(item, [this] { cmdStop_Click(); });
    onClick(mnuPlayerNext, [this] { cmdNext_Click(); });
    onClick(mnuPlayerPrev, [this] { cmdPrev_Click(); });
    for (MenuItem* item : {mnuFullScren, mnuCustomFullScreen})
        onClick(item, [this] { FullScreenToggle(); });

    // The view modes; the context menu's three repeat the View menu's.
    for (MenuItem* item :
        {mnuOptionsAspectRatio, mnuViewZoom50, mnuOptionsDefaultSize, mnuViewZoom200, mnuOptionsStretch})
        onClick(item, [this, item] { ViewModeCommand(item); });
    onClick(mnuCustomAspect, [this] { ViewModeCommand(mnuOptionsAspectRatio); });
    onClick(mnuCustomDefaultSize, [this] { ViewModeCommand(mnuOptionsDefaultSize); });
    onClick(mnuCustomStretchMovie, [this] { ViewModeCommand(mnuOptionsStretch); });

    // Check marks that other parts of the window read when they need them.
    for (MenuItem* item : {mnuRepeat, mnuResizeOnOpen})
        onClick(item, [item] { item->setChecked(!item->Checked()); });
    onClick(mnuOptionsHide, [this] {
        mnuOptionsHide->setChecked(!mnuOptionsHide->Checked());
        tmrMax->setEnabled(true);
    });
    onClick(mnuLeftSpeaker, [this] { SpeakerCommand(mnuLeftSpeaker, &Media::setLeftOn, &Media::setLeftOff); });
    onClick(mnuRightSpeaker, [this] { SpeakerCommand(mnuRightSpeaker, &Media::setRightOn, &Media::setRightOff); });
    onClick(mnuTop, [this] {
        mnuTop->setChecked(!mnuTop->Checked());
        forms::IgnoreErrors run;
        run([&] { SetTopmost(mnuTop->Checked()); });
    });
    onClick(mnuSysTray, [this] { SysTrayCommand(); });

    for (MenuItem* item : {mnuCopyTo, mnuCustomCopyTo})
        onClick(item, [this] { CopyToCommand(); });
    for (MenuItem* item : {mnuProperties, mnuCustomProperties})
        onClick(item, [this] { PropertiesCommand(); });

    onClick(mnuCDDVDAudioCD, [] { ShowToolWindow<frmGyrelle>(); });
    onClick(mnusetMouse, [] { ShowToolWindow<frmMouseScroll>(); });

    onClick(mnuHelpOnlineHelp, [] { Sheller::ShellOpen(OnlineHelpPage, OpenOperation); });
    onClick(mnuHelpFAQs, [] { Sheller::ShellOpen(FaqPage, OpenOperation); });
    onClick(mnuHelpMorvaneSite, [] { Sheller::ShellOpen(HomePage, OpenOperation); });

    // Go to, file associations, properties and the folder browser.
    onClick(mnuGoTo, [] { ShowToolWindow<frmGoTo>(); });
    onClick(mnuToolsAssociate, [] { ShowToolWindow<frmAssociate>(); });

    // Tag editor, about box and display resolution.
    onClick(mnuMp3Tag, [] { ShowToolWindow<frmMP3TagEdit>(); });
    onClick(mnuHelpAbout, [] { ShowToolWindow<frmAbout>(); });
    onClick(mnuViewChangeRes, [] { ShowToolWindow<frmChangeRes>(); });

    // DVD.
    onClick(mnuDVD, [this] {
        forms::IgnoreErrors run;
        run([&] { Media1->closeMovie(); });
        ShowToolWindow<frmDVD>();
    });

    // Sound recorder.
    onClick(mnuExtrasSoundRecorder, [] { ShowToolWindow<frmAudioRecord>(); });

    // Video capture and AVI conversion.
    onClick(mnuFileSaveAVI, [] { ShowToolWindow<frmConvertAvi>(); });
    onClick(mnuExtrasVideoCapture, [] { ShowToolWindow<frmVideoCapture>(); });

    // WAV converters.
    onClick(mnuExtrasWaveMp3, [] { ShowToolWindow<frmWavtoMP3>(); });
    onClick(mnuExtrasWavToOgg, [] { ShowToolWindow<frmWavtoOgg>(); });
    onClick(frmExtrasWavtoWma, [] { ShowToolWindow<frmWavtoWma>(); });

    // CD ripper.
    onClick(mnuCDRipper, [] { ShowToolWindow<frmCDRip>(); });

    // Data disc writing.
    onClick(mnuExtrasBurnData, [] { ShowToolWindow<frmBurnData>(); });

    // Audio disc writing.
    onClick(mnuExtrasAudioBurn, [] { ShowToolWindow<frmBurnAudio>(); });
}

void frmPlayer::ViewModeCommand(forms::MenuItem* chosen)
{
    forms::IgnoreErrors run;
    for (forms::MenuItem* item :
        {mnuOptionsAspectRatio, mnuViewZoom50, mnuOptionsDefaultSize, mnuViewZoom200, mnuOptionsStretch})
        item->setChecked(item == chosen);
    for (int pass = 0; pass < 3; ++pass)
        run([&] { Form_Resize(); });
}

void frmPlayer::SpeakerCommand(forms::MenuItem* item, void (Media::*on)(), void (Media::*off)())
{
    item->setChecked(!item->Checked());
    forms::IgnoreErrors run;
    Media* const media = Media1;
    void (Media::*const command)() = item->Checked() ? on : off;
    run([media, command] { (media->*command)(); });
}

void frmPlayer::SysTrayCommand()
{
    mnuSysTray->setChecked(!mnuSysTray->Checked());
    forms::IgnoreErrors run;
    if (!mnuSysTray->Checked()) {
        run([&] { TrayIcon->Remove(); });
        return;
    }
    run([&] { AddTrayIcon(); });
}

void frmPlayer::CopyToCommand()
{
    forms::IgnoreErrors run;
    QString source = lstPlaylist->Text();
    if (source.isEmpty()) return;
    const QString ext = Files::GetFileExtension(source);
    run([&] { ComDlg->setFilter(ext + QStringLiteral(" File|*.") + ext + QStringLiteral("|All Files|*.*")); });

    // A cancelled dialog leaves the file name it had before, so the cancel is told apart by the
    // dialog's cancel error and nothing is copied then.
    const bool cancelError = ComDlg->CancelError();
    ComDlg->setCancelError(true);
    const bool chosen = run([&] { ComDlg->ShowSave(); });
    ComDlg->setCancelError(cancelError);
    if (!chosen) return;
    files::CopyFile(source, ComDlg->FileName());
}

void frmPlayer::PropertiesCommand()
{
    if (lstPlaylist->Text().isEmpty()) {
        forms::MsgBox(QStringLiteral("No File To Get Properties From!"), forms::MsgBoxStyle::Information);
        return;
    }
    ShowToolWindow<frmProperties>();
}
