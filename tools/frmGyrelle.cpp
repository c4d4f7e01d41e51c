#include "tools/frmGyrelle.h"

#include "cdaudio/GyrelleIds.h"
#include "platform/dispatch/InProcServer.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/RuntimeError.h"
#include "tools/ToolWindowSetup.h"

#include <QTimer>

namespace Id = GyrelleIds;
using dispatch::Variant;

frmGyrelle::frmGyrelle()
{
    setCaption(QStringLiteral("Tessel CD Player"));
    CreateControls();
    WireHandlers();
}

frmGyrelle::~frmGyrelle() = default;

void frmGyrelle::CreateControls()
{
    QWidget* client = Client();
    Label1 = new SkinLabel(client, QStringLiteral("NO DISC"));
    Label1->setFont(QFont(QStringLiteral("Arial Black"), 12));
    Label1->Move(120, 120, 5160, 375);
    Label2 = new SkinLabel(client);
    Label2->Move(120, 540, 5160, 255);
    HScroll1 = new forms::ProgressBar(client);
    HScroll1->Move(120, 840, 5160, 195);

    const struct {
        forms::CommandButton*& button;
        const char* caption;
        const char* tip;
    } buttons[] = {
        {Command1, ">", "Play CD"},
        {Command2, "|<<", "Previous Track"},
        {Command3, "<<", "Rewind"},
        {Command4, ">>", "Fast Forward"},
        {Command5, ">>|", "Next Track"},
        {Command6, "| |", "Pause CD"},
        {Command7, "STOP", "Stop CD"},
        {Command8, "Tray", "Open / Close Tray"},
    };
    double left = 120;
    for (const auto& b : buttons) {
        b.button = new forms::CommandButton(client, QString::fromLatin1(b.caption));
        b.button->setToolTip(QString::fromLatin1(b.tip));
        b.button->Move(left, 1140, 615, 375);
        left += 645;
    }
    cmdGoToTrack = new forms::CommandButton(client, QStringLiteral("Go To Track"));
    cmdGoToTrack->Move(120, 1620, 1335, 375);
    txtGoToTrack = new forms::TextBox(client, QStringLiteral("1"));
    txtGoToTrack->Move(1560, 1620, 615, 375);

    Timer1 = new forms::Timer(this, 1000, true);
    tmrFF = new forms::Timer(this, 100, false);
    tmrRew = new forms::Timer(this, 100, false);

    TrayMenu = new forms::MenuItem(static_cast<QObject*>(this), QStringLiteral("Tray"));
    OpenMenu = new forms::MenuItem(TrayMenu, QStringLiteral("Open Tray"));
    CloseMenu = new forms::MenuItem(TrayMenu, QStringLiteral("Close Tray"));

    Move(Left(), Top(), 5520, 2520 + (Height() - ScaleHeight()));
}

void frmGyrelle::WireHandlers()
{
    connect(Command1, &forms::CommandButton::Click, this, [this] {
        Guarded([this] {
            if (Get(Id::CDPaused).ToBool())
                Call(Id::PlayCD);
            else
                Call(Id::PlayCD, {std::int16_t(1)});
        });
    });
    connect(cmdGoToTrack, &forms::CommandButton::Click, this,
        [this] { Guarded([this] { Call(Id::PlayCD, {txtGoToTrack->Text()}); }); });
    connect(Command2, &forms::CommandButton::Click, this, [this] { Guarded([this] { Call(Id::PTrack); }); });
    connect(Command5, &forms::CommandButton::Click, this, [this] { Guarded([this] { Call(Id::FTrack); }); });
    connect(Command6, &forms::CommandButton::Click, this, [this] {
        Guarded([this] {
            Call(Id::PauseCD);
            fUserStopped = true;
        });
    });
    connect(Command7, &forms::CommandButton::Click, this, [this] {
        Guarded([this] {
            Call(Id::StopCD);
            fUserStopped = true;
        });
    });

    // Rewind and fast forward jump once at the press and every 100 ms until the release. A jump the
    // control refuses (no disc) stops the repeating.
    connect(Command3->events(), &forms::Events::MouseDown, this, [this] {
        tmrRew->setEnabled(true);
        if (!Guarded([this] { Call(Id::RWCD); })) tmrRew->setEnabled(false);
    });
    connect(Command3->events(), &forms::Events::MouseUp, this, [this] { tmrRew->setEnabled(false); });
    connect(Command4->events(), &forms::Events::MouseDown, this, [this] {
        tmrFF->setEnabled(true);
        if (!Guarded([this] { Call(Id::FFCD); })) tmrFF->setEnabled(false);
    });
    connect(Command4->events(), &forms::Events::MouseUp, this, [this] { tmrFF->setEnabled(false); });
    connect(tmrRew, &forms::Timer::Tick, this, [this] {
        if (!Guarded([this] { Call(Id::RWCD); })) tmrRew->setEnabled(false);
    });
    connect(tmrFF, &forms::Timer::Tick, this, [this] {
        if (!Guarded([this] { Call(Id::FFCD); })) tmrFF->setEnabled(false);
    });

    connect(Command8, &forms::CommandButton::Click, this, [this] { PopupMenu(*TrayMenu); });
    connect(OpenMenu, &forms::MenuItem::Click, this, [this] { Guarded([this] { Call(Id::EjectCD); }); });
    connect(CloseMenu, &forms::MenuItem::Click, this, [this] { Guarded([this] { Call(Id::InjectCD); }); });
    connect(Timer1, &forms::Timer::Tick, this, &frmGyrelle::Timer1_Timer);
}

namespace {
[[noreturn]] void NoControl()
{
    throw forms::RuntimeError(91, QStringLiteral("frmGyrelle"), QStringLiteral("Object variable not set"));
}
} // namespace

Variant frmGyrelle::Get(dispatch::DispId id)
{
    if (!Gyrelle1) NoControl();
    return Gyrelle1->Get(id);
}

void frmGyrelle::Call(dispatch::DispId id, std::vector<Variant> args)
{
    if (!Gyrelle1) NoControl();
    Gyrelle1->Invoke(id, dispatch::Invocation::Method, args);
}

bool frmGyrelle::Guarded(const std::function<void()>& handler)
{
    // The control already shows the device's own refusals; an error it raises (no disc to jump
    // in, a track number that is not a number) leaves the player as it was.
    try {
        handler();
        return true;
    } catch (const forms::RuntimeError&) {
        return false;
    }
}

void frmGyrelle::Form_Load()
{
    ToolWindowSetup(*this);
    try {
        Gyrelle1 = dispatch::CreateObject(QStringLiteral("Gyrelle.Gyrelle"));
    } catch (const forms::RuntimeError& e) {
        forms::MsgBox(QStringLiteral("The CD player cannot start: the audio CD control \"Gyrelle.Gyrelle\" is not "
                                     "available.\n\n%1\n\nRegister it with tessel-regsvr and open the CD player again.")
                          .arg(e.Description()),
            forms::MsgBoxStyle::Critical);
        Timer1->setEnabled(false);
        QTimer::singleShot(0, this, [this] { Unload(); });
        return;
    }
    Call(Id::Initiate);
    fInitiated = true;
    fUserStopped = false;
}

void frmGyrelle::CloseDown()
{
    if (fInitiated && Gyrelle1) Guarded([this] { Call(Id::Terminate); });
}

void frmGyrelle::Form_Unload(int& /*cancel*/) { CloseDown(); }

void frmGyrelle::Form_Terminate() { CloseDown(); }

void frmGyrelle::Timer1_Timer()
{
    forms::IgnoreErrors run;
    QString trackTime;
    int m = 0;
    int s = 0;
    run([&] { trackTime = Get(Id::TrackTime).ToString(); });
    run([&] { m = Variant(trackTime.mid(0, 2)).ToInteger(); });
    run([&] { s = Variant(trackTime.mid(3, 2)).ToInteger(); });

    bool playing = false;
    run([&] { playing = Get(Id::fPlaying).ToBool(); });
    if (playing) {
        run([&] { HScroll1->setMax(m * 60 + s); });
        run([&] { HScroll1->setValue(Get(Id::min).ToInteger() * 60 + Get(Id::sec).ToInteger()); });
    } else {
        run([&] {
            if (!Get(Id::CDPaused).ToBool()) HScroll1->setValue(0);
        });
    }

    run([&] {
        if (Get(Id::fCDLoaded).ToBool()) {
            Label1->setCaption(QStringLiteral("[%1]  %2:%3 / %4")
                                   .arg(Get(Id::track).ToInteger(), 2, 10, QLatin1Char('0'))
                                   .arg(Get(Id::min).ToInteger(), 2, 10, QLatin1Char('0'))
                                   .arg(Get(Id::sec).ToInteger(), 2, 10, QLatin1Char('0'))
                                   .arg(Get(Id::TrackTime).ToString()));
        } else {
            Label1->setCaption(QStringLiteral("NO DISC"));
        }
    });
    run([&] {
        Label2->setCaption(QStringLiteral("Total Tracks  ") + Get(Id::numTracks).ToString()
            + QStringLiteral("             Total Time  ") + Get(Id::TotalTime).ToString());
    });
    run([&] {
        if (!fUserStopped && !Get(Id::fPlaying).ToBool()) Call(Id::PlayCD, {std::int16_t(1)});
    });
}
