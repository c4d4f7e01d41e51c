// Start-up and shutdown of the player window: the hand-off to a running player, the settings
// and recent-file files, the tray icon and the screen saver.
#include "player/frmPlayer.h"

#include "components/skin/Skin.h"
#include "dialogs/Files.h"
#include "dialogs/frmAssociate.h"
#include "engine/Docking.h"
#include "engine/Media.h"
#include "platform/display/ScreenSaver.h"
#include "platform/files/ProgramFolder.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "platform/shell/TrayIcon.h"
#include "player/MouseScroll.h"
#include "player/PlayerFiles.h"
#include "player/SingleInstance.h"

namespace {

const QString TrayTip = QStringLiteral("Morvane Media Player V1.0");
const QString InstanceLock = QStringLiteral("instance.lock");

// Settings items as the menus take them; an item that does not convert raises, so that the
// statement using it is skipped.
bool BooleanItem(const QStringList& items, int index)
{
    if (index >= items.size()) forms::Raise(forms::Err::TypeMismatch);
    const auto value = files::ToBoolean(items[index]);
    if (!value) forms::Raise(forms::Err::TypeMismatch);
    return *value;
}

int IntegerItem(const QStringList& items, int index)
{
    if (index >= items.size()) forms::Raise(forms::Err::TypeMismatch);
    const auto value = files::ToInteger(items[index]);
    if (!value) forms::Raise(forms::Err::TypeMismatch);
    return *value;
}

} // namespace

void frmPlayer::WireStartup()
{
    Skin1 = new Skin(this);
    TrayIcon = new shell::TrayIcon(this);
    connect(TrayIcon, &shell::TrayIcon::Message, this, &frmPlayer::TrayIcon_Message);
    // Queued: the hand-off half of each tick runs after its position-bar half.
    connect(tmrCurrent, &forms::Timer::Tick, this, &frmPlayer::PollHandoff, Qt::QueuedConnection);

    events()->AcceptFiles(true);
    connect(events(), &forms::Events::FilesDropped, this, &frmPlayer::framPlayer_OLEDragDrop);
}

void frmPlayer::Form_Load()
{
    forms::IgnoreErrors run;

    // A start with a file leaves it for the running player; a second start then ends here,
    // before it shows a window or touches any other file.
    QString handoff;
    run([&] {
        if (CommandLine().isEmpty()) return;
        handoff = Files::GetLongPath(CommandLine());
        PlayerFiles::WriteHandoff(handoff);
    });
    if (!SingleInstance::Acquire(files::ProgramFile(InstanceLock))) {
        Form::EndProgram();
        return;
    }
    // The file just left there is this start's own, which the playlist takes below: the hand-off
    // poll is for the files of later starts. Taking it again would open it a second time.
    LastHandoff = PlayerFiles::HandoffItem(handoff);

    run([&] { Docking::AttachForm(this, true); });
    run([&] { display::SetScreenSaverActive(false); });
    ControlsHidden = false;

    PlayerFiles::RecentSlots recent;
    run([&] { recent = PlayerFiles::ReadRecentFiles(); });
    forms::MenuItem* const recentItems[] = {mnuFileLast, mnuFileLast2, mnuFileLast3, mnuFileLast4};
    for (int k = 0; k < 4; ++k) {
        run([&] { recentItems[k]->setCaption(recent[k]); });
        run([&] { recentItems[k]->setVisible(!recentItems[k]->Caption().isEmpty()); });
    }

    QString firstRun;
    run([&] { firstRun = PlayerFiles::ReadFirstRun(); });

    run([&] { Skin1->ApplySkin(hWnd()); });

    QString startPath;
    run([&] {
        const QString line = CommandLine();
        if (line.isEmpty()) return;
        if (line.contains(lblQoute->Caption()))
            startPath = Files::GetLongPath(line.mid(1, line.size() - 2));
        else
            startPath = Files::GetLongPath(line);
    });
    run([&] { lstPlaylist->AddItem(startPath); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListIndex() + 1); });

    run([&] { Form_Resize(); });

    run([&] { AddTrayIcon(); });

    ApplySettings();

    run([&] { SetTopmost(mnuTop->Checked()); });
    run([&] { mnuLeftSpeaker->Checked() ? Media1->setLeftOn() : Media1->setLeftOff(); });
    run([&] { mnuRightSpeaker->Checked() ? Media1->setRightOn() : Media1->setRightOff(); });

    if (firstRun.isEmpty()) run([&] { ShowFirstRunAssociation(); });

    FullScreen = false;
    IdleHidden = false;
    PositionDragging = false;

    run([&] { InstallWheelProcedure(); });
}

void frmPlayer::ApplySettings()
{
    forms::IgnoreErrors run;
    QStringList items;
    run([&] { items = PlayerFiles::ReadSettings(); });

    run([&] { mnuOptionsHide->setChecked(BooleanItem(items, 0)); });
    run([&] { mnuOptionsAspectRatio->setChecked(BooleanItem(items, 1)); });
    run([&] { mnuOptionsStretch->setChecked(BooleanItem(items, 2)); });
    run([&] { mnuOptionsDefaultSize->setChecked(BooleanItem(items, 3)); });
    run([&] { mnuTop->setChecked(BooleanItem(items, 4)); });
    run([&] { mnuSysTray->setChecked(BooleanItem(items, 5)); });
    run([&] { mnuRepeat->setChecked(BooleanItem(items, 6)); });
    run([&] { mnuResizeOnOpen->setChecked(BooleanItem(items, 9)); });
    run([&] { mnuRightSpeaker->setChecked(BooleanItem(items, 11)); });
    run([&] { mnuLeftSpeaker->setChecked(BooleanItem(items, 10)); });
    run([&] { mnuViewZoom50->setChecked(BooleanItem(items, 12)); });
    run([&] { mnuViewZoom200->setChecked(BooleanItem(items, 13)); });
    // Item 8 is kept in the file for its place only.
    run([&] { scrVolume->setValue(IntegerItem(items, 8)); });
}

bool frmPlayer::SaveSettings()
{
    return PlayerFiles::WriteSettings({
        mnuOptionsHide->Checked(),
        mnuOptionsAspectRatio->Checked(),
        mnuOptionsStretch->Checked(),
        mnuOptionsDefaultSize->Checked(),
        mnuTop->Checked(),
        mnuSysTray->Checked(),
        mnuRepeat->Checked(),
        0,
        scrVolume->Value(),
        mnuResizeOnOpen->Checked(),
        mnuLeftSpeaker->Checked(),
        mnuRightSpeaker->Checked(),
        mnuViewZoom50->Checked(),
        mnuViewZoom200->Checked(),
    });
}

void frmPlayer::Form_Unload(int& /*cancel*/)
{
    forms::IgnoreErrors run;

    // Each file that cannot be written keeps what it held; the user hears of it once.
    bool saved = true;
    run([&] {
        const PlayerFiles::RecentSlots captions
            = {mnuFileLast->Caption(), mnuFileLast2->Caption(), mnuFileLast3->Caption(), mnuFileLast4->Caption()};
        saved = PlayerFiles::WriteRecentFiles(PlayerFiles::RebuildRecentFiles(captions, lstPlaylist->Text())) && saved;
    });
    run([&] { Docking::DetachForm(this); });
    run([&] { saved = PlayerFiles::WriteFirstRun() && saved; });
    run([&] { saved = SaveSettings() && saved; });
    if (!saved) run([&] { forms::SettingsNotSaved(QStringLiteral("The player's settings"), files::ProgramFolder()); });
    run([&] { Media1->closeMovie(); });
    run([&] { TrayIcon->Remove(); });
    run([&] { PlayerFiles::DeleteHandoff(); });
    run([&] { RemoveWheelProcedure(); });

    SingleInstance::Release();
    Form::EndProgram();
}

void frmPlayer::PollHandoff()
{
    forms::IgnoreErrors run;
    QString item;
    run([&] { item = PlayerFiles::ReadHandoff(); });
    if (item == LastHandoff) return;
    // Taken before the row opens: a file that fails to open shows a message box, and the timer
    // keeps ticking while it is up.
    LastHandoff = item;
    run([&] { lstPlaylist->AddItem(item); });
    run([&] { lstPlaylist->setListIndex(lstPlaylist->ListCount() - 1); });
}

// Fills the tray icon's record (icon and tip) and adds it to the tray.
void frmPlayer::AddTrayIcon()
{
    QIcon icon = windowIcon();
    if (icon.isNull()) icon = Skin::ProgramIcon();
    TrayIcon->Add(icon, TrayTip);
}

void frmPlayer::TrayIcon_Message(int message)
{
    forms::IgnoreErrors run;
    switch (message) {
    case shell::TrayIcon::LeftButtonUp:
    case shell::TrayIcon::RightButtonUp: run([&] { PopupMenu(*mnuCustom); }); break;
    case shell::TrayIcon::LeftButtonDoubleClick:
        run([&] { setState(forms::WindowState::Normal); });
        run([&] { Show(); });
        break;
    default: break;
    }
}

// The file-association dialog of the first run; it shows this window behind itself.
void frmPlayer::ShowFirstRunAssociation() { forms::Instance<frmAssociate>().Show(forms::ShowMode::Modal); }

void frmPlayer::InstallWheelProcedure() { MouseScroll::Install(*this); }
void frmPlayer::RemoveWheelProcedure() { MouseScroll::Remove(*this); }
