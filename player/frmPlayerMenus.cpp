// The player's menu bar and its context menu, with their design captions, check marks and keys.
#include "player/frmPlayer.h"

#include <QAction>
#include <QMenuBar>

using forms::MenuItem;

void frmPlayer::CreateMenus()
{
    QMenuBar* bar = menuBar();
    const auto item = [](MenuItem* menu, const char* caption, const QKeySequence& key = {}) {
        return new MenuItem(menu, QString::fromUtf8(caption), key);
    };
    const auto checked = [&](MenuItem* menu, const char* caption, const QKeySequence& key = {}) {
        MenuItem* m = item(menu, caption, key);
        m->setChecked(true);
        return m;
    };

    mnuPlayer = new MenuItem(bar, QStringLiteral("&File"));
    mnuOpen = item(mnuPlayer, "&Open", QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuCopyTo = item(mnuPlayer, "Copy To");
    mnuProperties = item(mnuPlayer, "Properties");
    mnuSep02 = item(mnuPlayer, "-");
    mnuFileLast = item(mnuPlayer, "");
    mnuFileLast2 = item(mnuPlayer, "");
    mnuFileLast3 = item(mnuPlayer, "");
    mnuFileLast4 = item(mnuPlayer, "");
    mnuSep01 = item(mnuPlayer, "-");
    mnuExit = item(mnuPlayer, "Exit");

    mnuPlayer2 = new MenuItem(bar, QStringLiteral("&Player"));
    mnuPlayerPlay = item(mnuPlayer2, "Play", QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuPlayerPause = item(mnuPlayer2, "Pause", QKeySequence(Qt::CTRL | Qt::Key_U));
    mnuPlayerStop = item(mnuPlayer2, "Stop", QKeySequence(Qt::CTRL | Qt::Key_T));
    mnuRepeat = checked(mnuPlayer2, "Repeat", QKeySequence(Qt::Key_F4));
    mnuGoTo = item(mnuPlayer2, "Go To Position", QKeySequence(Qt::Key_F5));

    mnuPlaylist = new MenuItem(bar, QStringLiteral("Play&list"));
    mnuAddFile = item(mnuPlaylist, "Add File To List", QKeySequence(Qt::CTRL | Qt::Key_A));
    mnuPlayerPrev = item(mnuPlaylist, "< Prev", QKeySequence(Qt::CTRL | Qt::Key_J));
    mnuPlayerClear = item(mnuPlaylist, "Clear List", QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuPlayerRemove = item(mnuPlaylist, "Remove From List", QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuAddDir = item(mnuPlaylist, "Add Dir", QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuPlayerNext = item(mnuPlaylist, "Next >", QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuSaveList = item(mnuPlaylist, "Save List", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuOpenList = item(mnuPlaylist, "Open List", QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuImportList = item(mnuPlaylist, "Import List");

    mnuPlay = new MenuItem(bar, QStringLiteral("Pl&ay"));
    mnuCDDVDAudioCD = item(mnuPlay, "Audio CD");
    mnuDVD = item(mnuPlay, "DVD");
    mnuVCD = item(mnuPlay, "VCD");

    mnuView = new MenuItem(bar, QStringLiteral("&View"));
    mnuFullScren = item(mnuView, "Full Screen", QKeySequence(Qt::Key_F2));
    mnuViewChangeRes = item(mnuView, "Change Screen Resolution");
    mnuOptionsAspectRatio = checked(mnuView, "Keep Aspect Ratio", QKeySequence(Qt::CTRL | Qt::Key_I));
    mnuViewZoom50 = item(mnuView, "Zoom 50%");
    mnuOptionsDefaultSize = item(mnuView, "Zoom 100%", QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuViewZoom200 = item(mnuView, "Zoom 200%");
    mnuOptionsStretch = item(mnuView, "Stretch", QKeySequence(Qt::CTRL | Qt::Key_G));

    mnuAppear = new MenuItem(bar, QStringLiteral("&Settings"));
    mnuTop = item(mnuAppear, "Always On Top", QKeySequence(Qt::Key_F3));
    mnuOptionsHide = checked(mnuAppear, "Auto Hide Controls", QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuToolsAssociate = item(mnuAppear, "File Associate");
    mnusetMouse = item(mnuAppear, "Mouse Scrolling");
    mnuLeftSpeaker = checked(mnuAppear, "Left Speaker On");
    mnuRightSpeaker = checked(mnuAppear, "Right Speaker On");
    mnuResizeOnOpen = checked(mnuAppear, "Resize Window On Open");
    mnuSysTray = checked(mnuAppear, "Show In System Tray");

    mnuExtras = new MenuItem(bar, QStringLiteral("&Extras"));
    mnuExtrasAudio = item(mnuExtras, "Audio");
    mnuExtrasAudioBurn = item(mnuExtrasAudio, "Audio CD Burn");
    mnuCDRipper = item(mnuExtrasAudio, "Audio CD Rip");
    mnuExtrasWaveMp3 = item(mnuExtrasAudio, "WAV --> MP3");
    mnuExtrasWavToOgg = item(mnuExtrasAudio, "WAV --> OGG");
    frmExtrasWavtoWma = item(mnuExtrasAudio, "WAV --> WMA");
    mnuMp3Tag = item(mnuExtrasAudio, "Mp3 Tag Editor");
    mnuExtrasSoundRecorder = item(mnuExtrasAudio, "Sound Recorder");
    mnuExtrasVideo = item(mnuExtras, "Video");
    mnuFileSaveAVI = item(mnuExtrasVideo, "Convert AVI");
    mnuExtrasVideoCapture = item(mnuExtrasVideo, "Video Capture");
    mnuExtrasBurnData = item(mnuExtras, "Burn Data CD");

    mnuHelp = new MenuItem(bar, QStringLiteral("&Help"));
    mnuHelpOnlineHelp = item(mnuHelp, "Online Help");
    mnuHelpFAQs = item(mnuHelp, "F.A.Q's");
    mnuHelpSep02 = item(mnuHelp, "-");
    mnuHelpMorvaneSite = item(mnuHelp, "Morvane on the Web");
    mnuHelpSep01 = item(mnuHelp, "-");
    mnuHelpAbout = item(mnuHelp, "About");

    mnuCustom = new MenuItem(this, QStringLiteral("&Custom Menu"));
    mnuCustomOpen = item(mnuCustom, "Open");
    mnuCustomAddFileToList = item(mnuCustom, "Add File To List");
    mnuCustomPlay = item(mnuCustom, "Play");
    mnuCustomPause = item(mnuCustom, "Pause");
    mnuCustomStop = item(mnuCustom, "Stop");
    mnuCustomSep01 = item(mnuCustom, "-");
    mnuCustomFullScreen = item(mnuCustom, "Full Screen");
    mnuCustomAspect = item(mnuCustom, "Keep Aspect Ratio");
    mnuCustomDefaultSize = item(mnuCustom, "Keep Default Size");
    mnuCustomStretchMovie = item(mnuCustom, "Stretch Movie");
    mnuCustomSep02 = item(mnuCustom, "-");
    mnuCustomProperties = item(mnuCustom, "Properties");
    mnuCustomCopyTo = item(mnuCustom, "Copy To...");
    mnuCustomSep03 = item(mnuCustom, "-");
    mnuCustomExit = item(mnuCustom, "Exit");

    // The window itself holds the keys of the menu bar's items too, so that they keep working
    // while the idle pass in full screen has hidden and disabled the menus (Qt takes an item's
    // key only from a visible, enabled place): F2 leaves full screen whether or not the bar shows.
    for (QAction* action : bar->findChildren<QAction*>())
        if (!action->shortcut().isEmpty()) addAction(action);

    // The recent-file items show only when they hold a file.
    for (MenuItem* recent : {mnuFileLast, mnuFileLast2, mnuFileLast3, mnuFileLast4})
        recent->setVisible(false);

    connect(mnuExit, &MenuItem::Click, this, &frmPlayer::mnuExit_Click);
    connect(mnuCustomExit, &MenuItem::Click, this, &frmPlayer::mnuExit_Click);
}
