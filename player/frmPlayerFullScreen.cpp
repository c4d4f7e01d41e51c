// Full screen, auto-hide and the video area's mouse.
#include "player/frmPlayer.h"

#include "components/skin/Skin.h"
#include "engine/Media.h"
#include "engine/Slider.h"
#include "player/ChangeBorder.h"
#include "player/Draging.h"
#include "player/FindMouse.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>

namespace {
const QString FullScreenCaption = QStringLiteral("Full Screen");
const QString ExitFullScreenCaption = QStringLiteral("Exit Full Screen");
// The grip moves the window's edge this many twips for every pixel the cursor travels.
constexpr double GripTwipsPerPixel = 23.5;
// Every step of the slide moves the video area this far left and up, and makes it this much taller.
constexpr double SlideStep = 50;
constexpr double SlideGrowth = 200;
} // namespace

void frmPlayer::WireFullScreen()
{
    using forms::Events;
    Events* video = framPlayer->events();
    connect(video, &Events::DblClick, this, &frmPlayer::FullScreenToggle);
    connect(video, &Events::MouseDown, this, [this] { Form_Resize(); });
    connect(video, &Events::MouseMove, this, [this](int button) {
        if (button == forms::Button::Left) DragWindow();
    });
    connect(video, &Events::MouseUp, this, [this](int button) {
        if (button == forms::Button::Right) PopUpCustomMenu();
        UnhideFromVideoArea();
    });

    connect(framControls2->events(), &Events::MouseMove, this, [this](int button) {
        if (button == forms::Button::Left) DragWindow();
    });

    connect(Frame1->events(), &Events::MouseDown, this, &frmPlayer::GripLoop);
    connect(Frame1->events(), &Events::MouseUp, this, [this] { GripState = QStringLiteral("No"); });

    connect(Media1, &Media::MouseDown, this, [this] { Form_Resize(); });
    connect(Media1, &Media::MouseMove, this, &frmPlayer::UnhideFromCursor);
    connect(Media1, &Media::MouseMove2, this, [this](int button) {
        if (button == forms::Button::Left) DragWindow();
    });
    connect(Media1, &Media::MouseUp, this, [this](int button) {
        if (button == forms::Button::Right) PopUpCustomMenu();
        Form_Resize();
    });
    connect(Media1, &Media::DblClick, this, &frmPlayer::FullScreenToggle);
    connect(Media1, &Media::OLEDragDrop, this, &frmPlayer::framPlayer_OLEDragDrop);

    connect(tmrMax, &forms::Timer::Tick, this, &frmPlayer::tmrMax_Timer);
    connect(tmrFade, &forms::Timer::Tick, this, &frmPlayer::tmrFade_Timer);
}

void frmPlayer::FullScreenToggle()
{
    forms::IgnoreErrors run;
    if (!FullScreen) {
        run([&] { mnuFullScren->setCaption(ExitFullScreenCaption); });
        run([&] { mnuCustomFullScreen->setCaption(ExitFullScreenCaption); });
        run([&] { tmrCaption->setEnabled(false); });
        run([&] { Skin1->RemoveSkin(hWnd()); });
        run([&] {
            ChangeBorder::ChangeBorderStyle(this, ChangeBorder::BorderStyle::None, true, true, true, true, true, false);
        });
        run([&] { setState(forms::WindowState::Maximized); });
        FullScreen = true;
        run([&] { Aspect(); });
        for (int pass = 0; pass < 3; ++pass)
            run([&] { Form_Resize(); });
    } else {
        run([&] { tmrCaption->setEnabled(true); });
        run([&] { mnuFullScren->setCaption(FullScreenCaption); });
        run([&] { mnuCustomFullScreen->setCaption(FullScreenCaption); });
        run([&] { Skin1->ApplySkin(hWnd()); });
        run([&] { setState(forms::WindowState::Normal); });
        run([&] {
            ChangeBorder::ChangeBorderStyle(
                this, ChangeBorder::BorderStyle::Sizable, true, true, true, true, true, false);
        });
        FullScreen = false;
        run([&] { Aspect(); });
        run([&] { Form_Resize(); });
        SetTopMenus(true);
        IdleHidden = false;
        for (int pass = 0; pass < 3; ++pass)
            run([&] { Form_Resize(); });
    }
    ShowCursorAgain();
}

// The idle timer: nothing was done for a while, so the cursor hides, and with auto-hide the
// video area slides over the controls (and in full screen the menu bar goes).
void frmPlayer::tmrMax_Timer()
{
    if (IdleHidden) return;
    forms::IgnoreErrors run;
    if (mnuOptionsHide->Checked()) {
        if (!FullScreen) {
            run([&] { framPlayer->ZOrder(0); });
            ControlsHidden = true;
            run([&] { tmrFade->setEnabled(true); });
        }
        run([&] { framPlayer->ZOrder(0); });
        run([&] { Aspect(); });
    }
    if (FullScreen && mnuOptionsHide->Checked()) {
        SetTopMenus(false);
        ControlsHidden = true;
        run([&] { tmrFade->setEnabled(true); });
        run([&] { framPlayer->ZOrder(0); });
    }
    IdleHidden = true;
    HideCursor();
}

// One step of the video area's slide over the controls.
void frmPlayer::tmrFade_Timer()
{
    forms::IgnoreErrors run;
    const double W = ScaleWidth();
    const double H = ScaleHeight();
    if (ControlsHidden && FullScreen) {
        // In full screen the slide starts from the windowed video rectangle.
        run([&] {
            framPlayer->Move(scrVolume->Width(), scrSpeed->Height(), W - scrVolume->Width(),
                scrVolume->Height() - (scrPosition->Height() + scrSpeed->Height()));
        });
        ControlsHidden = false;
    }
    run([&] { framPlayer->setLeft(framPlayer->Left() - SlideStep); });
    run([&] { framPlayer->setTop(framPlayer->Top() - SlideStep); });
    run([&] { framPlayer->setHeight(framPlayer->Height() + SlideGrowth); });
    run([&] { framPlayer->setWidth(W + framPlayer->Left()); });
    run([&] { Aspect(); });
    if (framPlayer->Left() < 0 || framPlayer->Top() < 0 || framPlayer->Height() > H) {
        run([&] { framPlayer->Move(0, 0, W, H); });
        run([&] { tmrFade->setEnabled(false); });
    }
}

// The cursor moved over the video: when the controls were hidden and the cursor is inside the
// window, everything comes back. The cursor shows again in any case.
void frmPlayer::UnhideFromCursor()
{
    forms::IgnoreErrors run;
    int x = 0;
    int y = 0;
    FindMouse::GetMousePos(x, y);
    const int left = forms::ToPixels(Left());
    const int top = forms::ToPixels(Top());
    const int right = forms::ToPixels(Left() + Width());
    const int bottom = forms::ToPixels(Top() + Height());
    const bool inside = x >= left && x <= right && y >= top && y <= bottom;
    if (inside && IdleHidden) {
        // A slide still under way would cover the controls again.
        run([&] { tmrFade->setEnabled(false); });
        run([&] { Form_Resize(); });
        SetTopMenus(true);
        run([&] { framPlayer->ZOrder(1); });
        run([&] { Form_Resize(); });
        IdleHidden = false;
    }
    ShowCursorAgain();
}

// A button was released over the video area: the controls and menus come back.
void frmPlayer::UnhideFromVideoArea()
{
    forms::IgnoreErrors run;
    run([&] { tmrFade->setEnabled(false); });
    run([&] { Form_Resize(); });
    SetTopMenus(true);
    run([&] { Form_Resize(); });
    IdleHidden = false;
}

// The cursor is shown or hidden as a whole: the platform's count goes down once when it hides
// and back up once when it shows, so that every idle period can hide it again.
void frmPlayer::ShowCursorAgain()
{
    if (!cursorHidden_) return;
    FindMouse::ShowMouseCursor(true);
    cursorHidden_ = false;
}

void frmPlayer::HideCursor()
{
    if (cursorHidden_) return;
    FindMouse::ShowMouseCursor(false);
    cursorHidden_ = true;
}

// The eight menus of the menu bar, shown and enabled or hidden and disabled.
void frmPlayer::SetTopMenus(bool on)
{
    forms::IgnoreErrors run;
    for (forms::MenuItem* menu :
        {mnuPlayer, mnuPlayer2, mnuAppear, mnuPlaylist, mnuView, mnuExtras, mnuHelp, mnuPlay}) {
        run([&] { menu->setEnabled(on); });
        run([&] { menu->setVisible(on); });
    }
}

void frmPlayer::DragWindow() { Draging::FormDrag(this); }

void frmPlayer::PopUpCustomMenu()
{
    forms::IgnoreErrors run;
    run([&] { PopupMenu(*mnuCustom); });
}

// The resize grip: while it is held, the window's size follows the cursor, one and a half times
// as far as the cursor travels. Pending events run on every pass, the release among them.
void frmPlayer::GripLoop()
{
    forms::IgnoreErrors run;
    GripState = QStringLiteral("Yes");
    QPointer<frmPlayer> alive(this);
    do {
        FindMouse::GetMousePos(GripLastX, GripLastY);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        // The window may have closed, or the program ended, while the events ran.
        if (!alive || forms::Form::ProgramEnded()) return;
        int x = GripLastX;
        int y = GripLastY;
        FindMouse::GetMousePos(x, y);
        run([&] { setWidth(Width() + (x - GripLastX) * GripTwipsPerPixel); });
        run([&] { setHeight(Height() + (y - GripLastY) * GripTwipsPerPixel); });
    } while (GripState != QStringLiteral("No"));
}
