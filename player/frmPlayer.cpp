#include "player/frmPlayer.h"

#include "dialogs/LumoCommonDialog.h"
#include "engine/Media.h"
#include "engine/Slider.h"

#include "platform/forms/PropertyBag.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QMenuBar>
#include <QStyle>

namespace {
const QString AppCaption = QStringLiteral("Morvane Media Player");
// The client area at design time, in twips.
constexpr int DesignWidth = 10335;
constexpr int DesignHeight = 6615;
} // namespace

frmPlayer::frmPlayer()
{
    setCaption(AppCaption);
    setObjectName(QStringLiteral("frmPlayer"));
    CreateControls();
    CreateMenus();
    WireStartup();
    WirePlaylist();
    WireTransport();
    WireBars();
    WireLayout();
    WireFullScreen();
    WireMenuCommands();
    Client()->setMinimumSize(0, 0);
    resize(forms::ToPixels(DesignWidth), forms::ToPixels(DesignHeight) + menuBar()->sizeHint().height());
}

frmPlayer::~frmPlayer() = default;

void frmPlayer::CreateControls()
{
    QWidget* client = Client();
    client->setStyleSheet(QString());

    scrVolume = new forms::VScrollBar(client);
    scrVolume->setMin(-20);
    scrVolume->setMax(0);
    scrVolume->setValue(-16);
    scrVolume->Move(0, 0, 135, 5775);

    scrSpeed = new forms::HScrollBar(client);
    scrSpeed->setMin(-20);
    scrSpeed->setMax(20);
    scrSpeed->setValue(0);
    scrSpeed->Move(240, 0, 8175, 135);

    scrPosition = new Slider(client);
    scrPosition->ReadProperties(PositionBarDesign());
    scrPosition->Move(240, 5520, 10215, 210);

    framPlayer = new forms::PictureBox(client);
    framPlayer->setStyleSheet(QStringLiteral("background: black;"));
    framPlayer->Move(120, 120, 8535, 3735);

    Media1 = new Media(framPlayer);
    Media1->Move(960, 360, 4920, 3300);

    lstPlaylist = new forms::ComboBox(client);
    lstPlaylist->Move(0, 5760, 9495, 315);

    framControls2 = new forms::Frame(client);
    framControls2->Move(0, 6120, 10335, 495);

    framControls = new forms::Frame(framControls2);
    framControls->Move(0, 120, 8295, 375);

    struct ButtonDesign {
        forms::CommandButton** button;
        const char* name;
        QStyle::StandardPixmap icon;
        // What a screen reader says for the picture-only button.
        const char* spoken;
    };
    const ButtonDesign buttons[] = {
        {&cmdPrev, "cmdPrev", QStyle::SP_MediaSkipBackward, "Previous"},
        {&cmdRew, "cmdRew", QStyle::SP_MediaSeekBackward, "Rewind"},
        {&cmdPlay, "cmdPlay", QStyle::SP_MediaPlay, "Play"},
        {&cmdPause, "cmdPause", QStyle::SP_MediaPause, "Pause"},
        {&cmdStop, "cmdStop", QStyle::SP_MediaStop, "Stop"},
        {&cmdForw, "cmdForw", QStyle::SP_MediaSeekForward, "Forward"},
        {&cmdNext, "cmdNext", QStyle::SP_MediaSkipForward, "Next"},
    };
    constexpr int buttonWidth = 8295 / 7;
    int left = 0;
    for (const auto& design : buttons) {
        auto* button = new forms::CommandButton(framControls);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setIcon(style()->standardIcon(design.icon));
        button->setAccessibleName(QString::fromLatin1(design.spoken));
        button->setFocusPolicy(Qt::NoFocus);
        button->Move(left, 0, buttonWidth, 375);
        left += buttonWidth;
        *design.button = button;
    }

    Frame1 = new forms::Frame(client);
    Frame1->Move(11160, 6600, 375, 375);

    lblQoute = new forms::Label(client, QStringLiteral("\""));
    lblQoute->setVisible(false);

    ComDlg = new LumoCommonDialog(client);
    ComDlg->ReadProperties(
        forms::PropertyBag {{QStringLiteral("orientation"), 2}, {QStringLiteral("browsespecialfolder"), 17}});
    ComDlg->setVisible(false);

    tmrCaption = new forms::Timer(this, 200, true);
    tmrCurrent = new forms::Timer(this, 500, true);
    tmrPlaylist = new forms::Timer(this, 100, true);
    tmrFF = new forms::Timer(this, 10, false);
    tmrRW = new forms::Timer(this, 10, false);
    tmrFF2 = new forms::Timer(this, 5, false);
    tmrRW2 = new forms::Timer(this, 5, false);
    tmrMax = new forms::Timer(this, 5000, true);
    tmrFade = new forms::Timer(this, 25, false);
}

void frmPlayer::mnuExit_Click() { Unload(); }
