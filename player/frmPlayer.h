#pragma once

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Menu.h"
#include "platform/forms/ScrollBar.h"
#include "platform/forms/Timer.h"

class LumoCommonDialog;
class Media;
class Skin;
class Slider;
namespace forms {
class PropertyBag;
}
namespace shell {
class TrayIcon;
}

// The player window: video, playlist, transport, bars, menus and timers.
class frmPlayer : public forms::Form {
    Q_OBJECT
public:
    frmPlayer();
    ~frmPlayer() override;

    // Controls, as placed at design time.
    forms::VScrollBar* scrVolume;
    forms::HScrollBar* scrSpeed;
    Slider* scrPosition;
    forms::PictureBox* framPlayer;
    Media* Media1;
    forms::ComboBox* lstPlaylist;
    forms::Frame* framControls2;
    forms::Frame* framControls;
    forms::Frame* Frame1;
    forms::Label* lblQoute;

    forms::CommandButton* cmdPrev;
    forms::CommandButton* cmdRew;
    forms::CommandButton* cmdPlay;
    forms::CommandButton* cmdPause;
    forms::CommandButton* cmdStop;
    forms::CommandButton* cmdForw;
    forms::CommandButton* cmdNext;

    forms::Timer* tmrCaption;
    forms::Timer* tmrCurrent;
    forms::Timer* tmrPlaylist;
    forms::Timer* tmrFF;
    forms::Timer* tmrRW;
    forms::Timer* tmrFF2;
    forms::Timer* tmrRW2;
    forms::Timer* tmrMax;
    forms::Timer* tmrFade;

    // Menus.
    forms::MenuItem* mnuPlayer;
    forms::MenuItem* mnuOpen;
    forms::MenuItem* mnuCopyTo;
    forms::MenuItem* mnuProperties;
    forms::MenuItem* mnuSep02;
    forms::MenuItem* mnuFileLast;
    forms::MenuItem* mnuFileLast2;
    forms::MenuItem* mnuFileLast3;
    forms::MenuItem* mnuFileLast4;
    forms::MenuItem* mnuSep01;
    forms::MenuItem* mnuExit;

    forms::MenuItem* mnuPlayer2;
    forms::MenuItem* mnuPlayerPlay;
    forms::MenuItem* mnuPlayerPause;
    forms::MenuItem* mnuPlayerStop;
    forms::MenuItem* mnuRepeat;
    forms::MenuItem* mnuGoTo;

    forms::MenuItem* mnuPlaylist;
    forms::MenuItem* mnuAddFile;
    forms::MenuItem* mnuPlayerPrev;
    forms::MenuItem* mnuPlayerClear;
    forms::MenuItem* mnuPlayerRemove;
    forms::MenuItem* mnuAddDir;
    forms::MenuItem* mnuPlayerNext;
    forms::MenuItem* mnuSaveList;
    forms::MenuItem* mnuOpenList;
    forms::MenuItem* mnuImportList;

    forms::MenuItem* mnuPlay;
    forms::MenuItem* mnuCDDVDAudioCD;
    forms::MenuItem* mnuDVD;
    forms::MenuItem* mnuVCD;

    forms::MenuItem* mnuView;
    forms::MenuItem* mnuFullScren;
    forms::MenuItem* mnuViewChangeRes;
    forms::MenuItem* mnuOptionsAspectRatio;
    forms::MenuItem* mnuViewZoom50;
    forms::MenuItem* mnuOptionsDefaultSize;
    forms::MenuItem* mnuViewZoom200;
    forms::MenuItem* mnuOptionsStretch;

    forms::MenuItem* mnuAppear;
    forms::MenuItem* mnuTop;
    forms::MenuItem* mnuOptionsHide;
    forms::MenuItem* mnuToolsAssociate;
    forms::MenuItem* mnusetMouse;
    forms::MenuItem* mnuLeftSpeaker;
    forms::MenuItem* mnuRightSpeaker;
    forms::MenuItem* mnuResizeOnOpen;
    forms::MenuItem* mnuSysTray;

    forms::MenuItem* mnuExtras;
    forms::MenuItem* mnuExtrasAudio;
    forms::MenuItem* mnuExtrasAudioBurn;
    forms::MenuItem* mnuCDRipper;
    forms::MenuItem* mnuExtrasWaveMp3;
    forms::MenuItem* mnuExtrasWavToOgg;
    forms::MenuItem* frmExtrasWavtoWma;
    forms::MenuItem* mnuMp3Tag;
    forms::MenuItem* mnuExtrasSoundRecorder;
    forms::MenuItem* mnuExtrasVideo;
    forms::MenuItem* mnuFileSaveAVI;
    forms::MenuItem* mnuExtrasVideoCapture;
    forms::MenuItem* mnuExtrasBurnData;

    forms::MenuItem* mnuHelp;
    forms::MenuItem* mnuHelpOnlineHelp;
    forms::MenuItem* mnuHelpFAQs;
    forms::MenuItem* mnuHelpSep02;
    forms::MenuItem* mnuHelpMorvaneSite;
    forms::MenuItem* mnuHelpSep01;
    forms::MenuItem* mnuHelpAbout;

    forms::MenuItem* mnuCustom;
    forms::MenuItem* mnuCustomOpen;
    forms::MenuItem* mnuCustomAddFileToList;
    forms::MenuItem* mnuCustomPlay;
    forms::MenuItem* mnuCustomPause;
    forms::MenuItem* mnuCustomStop;
    forms::MenuItem* mnuCustomSep01;
    forms::MenuItem* mnuCustomFullScreen;
    forms::MenuItem* mnuCustomAspect;
    forms::MenuItem* mnuCustomDefaultSize;
    forms::MenuItem* mnuCustomStretchMovie;
    forms::MenuItem* mnuCustomSep02;
    forms::MenuItem* mnuCustomProperties;
    forms::MenuItem* mnuCustomCopyTo;
    forms::MenuItem* mnuCustomSep03;
    forms::MenuItem* mnuCustomExit;

    // Window state shared by the handlers.
    bool FullScreen = false;
    bool ControlsHidden = false;
    bool IdleHidden = false;
    bool PositionDragging = false;

    // The command line the program was started with (one file path, or empty).
    void setCommandLine(const QString& commandLine) { commandLine_ = commandLine; }
    const QString& CommandLine() const { return commandLine_; }

    // ---- Start-up and shutdown, settings and hand-off files (frmPlayerStartup.cpp) ----
public:
    // The window's skin, also used by the tool windows.
    Skin* Skin1 = nullptr;
    // The icon in the desktop's notification area, present from load to unload.
    shell::TrayIcon* TrayIcon = nullptr;
    // The last file taken from the hand-off file.
    QString LastHandoff;

    // The hand-off half of the position timer: takes a file that a second start left behind.
    void PollHandoff();
    // The tray icon's clicks, as mouse message numbers.
    void AddTrayIcon();
    void TrayIcon_Message(int message);

protected:
    void Form_Load() override;
    void Form_Unload(int& cancel) override;

private:
    void WireStartup();
    void ApplySettings();
    // False when the settings file could not be written.
    bool SaveSettings();
    void ShowFirstRunAssociation();
    void InstallWheelProcedure();
    void RemoveWheelProcedure();

    // ---- Playlist and file opening (frmPlayerPlaylist.cpp) ----
public:
    static const QString MediaFilter;
    static const QString PlaylistFilter;

    // Opens and plays the playlist's current row and sizes the window for it.
    void OpenFile();
    // The file's name without folder and extension; trims blanks off Path in place.
    QString GetFileName(QString& Path);
    // Files dropped on the video area: appended to the playlist, then the last row plays.
    void framPlayer_OLEDragDrop(const QStringList& files, int Button, int Shift, double X, double Y);

    void lstPlaylist_Click();
    void lstPlaylist_OLEDragDrop(const QStringList& files, int Button, int Shift, double X, double Y);
    void OpenCommand();
    void AddFileCommand();
    void OpenListCommand();
    void ImportListCommand();
    void SaveListCommand();
    void RecentCommand(forms::MenuItem* entry);
    void VideoCDCommand();
    void AddDirCommand();
    void RemoveCommand();
    void ClearCommand();

private:
    void WirePlaylist();

    // ---- Transport buttons and timers (frmPlayerTransport.cpp) ----
private:
    void WireTransport();
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdNext_Click();
    void cmdPrev_Click();
    void cmdForw_MouseDown();
    void cmdForw_MouseUp();
    void cmdRew_MouseDown();
    void cmdRew_MouseUp();
    void tmrCaption_Timer();
    void tmrCurrent_Timer();
    void tmrPlaylist_Timer();
    void tmrFF_Timer();
    void tmrRW_Timer();
    void tmrFF2_Timer();
    void tmrRW2_Timer();
    // The position bar's text: position and length joined by " / ".
    QString PositionText();
    // A time in seconds, rounded to whole seconds. The wind timers seek with it: they step from
    // the position read in whole seconds, so a step that kept its fraction could stay in place.
    static int SeekSeconds(double seconds);

    // ---- Position, speed and volume bars (frmPlayerBars.cpp) ----
public:
    // Speed selection: which of the continuous wind timers runs, from the speed bar's value.
    void scrSpeed_Scroll();
    // Sets the playback volume from the volume bar.
    void scrVolume_Change();

private:
    void WireBars();
    void scrPosition_MouseDown();
    void scrPosition_MouseMove();
    void scrPosition_MouseUp(int button);
    void scrVolume_Scroll();
    // The position bar's pictures and settings as designed.
    static forms::PropertyBag PositionBarDesign();

    // ---- Layout and aspect (frmPlayerLayout.cpp) ----
public:
    // The layout pass: places every bar and frame from the window's inner size, then Aspect.
    void Form_Resize() override;
    void Aspect();
    // The narrowest client area in which the centred buttons end before the resize grip.
    double NarrowestClientWidth() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WireLayout();

    // ---- Full screen, auto-hide and the video area (frmPlayerFullScreen.cpp) ----
public:
    // Enters full screen, or leaves it; also the two "Full Screen" menu items.
    void FullScreenToggle();

    // The resize grip: "Yes" while it is held, "No" after it is released.
    QString GripState;
    int GripLastX = 0;
    int GripLastY = 0;

private:
    void WireFullScreen();
    void tmrMax_Timer();
    void tmrFade_Timer();
    void UnhideFromCursor();
    void UnhideFromVideoArea();
    void ShowCursorAgain();
    void HideCursor();
    void SetTopMenus(bool on);
    void DragWindow();
    void PopUpCustomMenu();
    void GripLoop();
    bool cursorHidden_ = false;

    // ---- Menu commands (frmPlayerMenuCommands.cpp) ----
public:
    // The program's help pages and home page on its web site.
    static const QString OnlineHelpPage;
    static const QString FaqPage;
    static const QString HomePage;

    // Copies the playlist's current file to a place the user chooses.
    void CopyToCommand();
    // The current file's properties; a message when the playlist has none.
    void PropertiesCommand();

private:
    void WireMenuCommands();
    // Checks one of the five view modes, unchecks the other four and lays the window out again.
    void ViewModeCommand(forms::MenuItem* chosen);
    void SpeakerCommand(forms::MenuItem* item, void (Media::*on)(), void (Media::*off)());
    void SysTrayCommand();

    // ---- Design (frmPlayer.cpp, frmPlayerMenus.cpp) ----
public:
    LumoCommonDialog* ComDlg;

private:
    void CreateControls();
    void CreateMenus();
    void mnuExit_Click();

    QString commandLine_;
};
