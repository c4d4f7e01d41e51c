#include "player/frmPlayer.h"

#include "components/skin/Skin.h"
#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/forms/Cursor.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

QRectF Rect(const forms::Extent& control)
{
    return QRectF(control.Left(), control.Top(), control.Width(), control.Height());
}

class FullScreenAndAutoHide : public ::testing::Test {
protected:
    void SetUp() override
    {
        frm = std::make_unique<frmPlayer>();
        // The video control's cursor poll raises MouseMove on its own; these tests raise it themselves.
        frm->Media1->Timer1->setEnabled(false);
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get(), Patience));
        frm->Form_Resize();
        cursorCount = forms::CursorDisplayCount();
    }
    void TearDown() override
    {
        EXPECT_EQ(forms::CursorDisplayCount(), cursorCount) << "the cursor's display count is balanced";
    }

    std::vector<forms::MenuItem*> TopMenus() const
    {
        return {frm->mnuPlayer, frm->mnuPlayer2, frm->mnuAppear, frm->mnuPlaylist, frm->mnuView, frm->mnuExtras,
            frm->mnuHelp, frm->mnuPlay};
    }
    bool MenusShown() const
    {
        for (forms::MenuItem* menu : TopMenus())
            if (!menu->Visible() || !menu->Enabled()) return false;
        return frm->menuBar()->isVisible();
    }
    bool MenusHidden() const
    {
        for (forms::MenuItem* menu : TopMenus())
            if (menu->Visible() || menu->Enabled()) return false;
        return !frm->menuBar()->isVisible();
    }
    QRectF WindowedVideoArea() const
    {
        const double W = frm->ScaleWidth();
        return QRectF(frm->scrVolume->Width(), frm->scrSpeed->Height(), W - frm->scrVolume->Width(),
            frm->scrVolume->Height() - (frm->scrPosition->Height() + frm->scrSpeed->Height()));
    }
    bool VideoAreaInFront() const { return frm->Client()->children().last() == frm->framPlayer; }
    bool VideoAreaAtBack() const { return frm->Client()->children().first() == frm->framPlayer; }
    // The desktop places and sizes the window after it is asked to; on a virtual display with a
    // window manager that takes a good while.
    static void LetTheDesktopPlaceIt() { QTest::qWait(qEnvironmentVariableIsSet("TESSEL_TEST_DISPLAY") ? 500 : 20); }
    void CursorIntoWindow() { QCursor::setPos(frm->frameGeometry().center()); }
    static bool CursorBlank()
    {
        return QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor;
    }

    std::unique_ptr<frmPlayer> frm;
    int cursorCount = 0;
};

} // namespace

TEST_F(FullScreenAndAutoHide, EnteringAndLeavingTwiceReturnsToTheWindowedState)
{
    frm->Skin1->ApplySkin(frm->hWnd());
    LetTheDesktopPlaceIt();
    const Qt::WindowFlags windowed = frm->windowFlags();
    LetTheDesktopPlaceIt();
    const QRect geometry = frm->geometry();
    for (int round = 0; round < 2; ++round) {
        frm->FullScreenToggle();
        // The desktop sizes the window afterwards; its resize runs the layout pass again.
        LetTheDesktopPlaceIt();
        frm->Form_Resize();
        EXPECT_TRUE(frm->FullScreen);
        EXPECT_NE(frm->styleSheet(), Skin::StyleSheet()) << "no skin in full screen";
        EXPECT_TRUE(frm->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(frm->State(), forms::WindowState::Maximized);
        EXPECT_FALSE(frm->tmrCaption->Enabled());
        EXPECT_EQ(frm->mnuFullScren->Caption(), "Exit Full Screen");
        EXPECT_EQ(frm->mnuCustomFullScreen->Caption(), "Exit Full Screen");
        EXPECT_TRUE(frm->isVisible());
        EXPECT_EQ(Rect(*frm->framPlayer), QRectF(0, 0, frm->ScaleWidth(), frm->ScaleHeight()));

        frm->FullScreenToggle();
        LetTheDesktopPlaceIt();
        frm->Form_Resize();
        EXPECT_FALSE(frm->FullScreen);
        EXPECT_EQ(frm->styleSheet(), Skin::StyleSheet()) << "skinned again";
        EXPECT_EQ(frm->windowFlags(), windowed);
        EXPECT_EQ(frm->State(), forms::WindowState::Normal);
        EXPECT_EQ(frm->geometry(), geometry);
        EXPECT_TRUE(frm->tmrCaption->Enabled());
        EXPECT_EQ(frm->mnuFullScren->Caption(), "Full Screen");
        EXPECT_EQ(frm->mnuCustomFullScreen->Caption(), "Full Screen");
        EXPECT_TRUE(MenusShown());
        EXPECT_FALSE(frm->IdleHidden);
        EXPECT_EQ(Rect(*frm->framPlayer), WindowedVideoArea());
    }
}

TEST_F(FullScreenAndAutoHide, DoubleClickingTheVideoTogglesFullScreen)
{
    QTest::mouseDClick(frm->framPlayer, Qt::LeftButton);
    EXPECT_TRUE(frm->FullScreen);
    emit frm->Media1->DblClick();
    EXPECT_FALSE(frm->FullScreen);
}

TEST_F(FullScreenAndAutoHide, WithoutAutoHideOnlyTheCursorHides)
{
    frm->mnuOptionsHide->setChecked(false);
    const QRectF area = Rect(*frm->framPlayer);
    emit frm->tmrMax->Tick();
    EXPECT_TRUE(frm->IdleHidden);
    EXPECT_TRUE(CursorBlank());
    EXPECT_FALSE(frm->tmrFade->Enabled());
    EXPECT_TRUE(MenusShown());
    EXPECT_EQ(Rect(*frm->framPlayer), area);

    CursorIntoWindow();
    emit frm->Media1->MouseMove();
    EXPECT_FALSE(frm->IdleHidden);
    EXPECT_FALSE(CursorBlank());
}

TEST_F(FullScreenAndAutoHide, WindowedTheVideoAreaSlidesOverTheControlsAndComesBack)
{
    const double W = frm->ScaleWidth();
    const double H = frm->ScaleHeight();
    const QRectF area = Rect(*frm->framPlayer);
    ASSERT_EQ(area.topLeft(), QPointF(135, 135));

    emit frm->tmrMax->Tick();
    EXPECT_TRUE(frm->IdleHidden);
    EXPECT_TRUE(frm->ControlsHidden);
    EXPECT_TRUE(frm->tmrFade->Enabled());
    EXPECT_TRUE(VideoAreaInFront());
    EXPECT_TRUE(CursorBlank());
    EXPECT_TRUE(MenusShown()) << "windowed, the menus stay";

    emit frm->tmrFade->Tick();
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(85, 85, W + 85, area.height() + 200));
    emit frm->tmrFade->Tick();
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(35, 35, W + 35, area.height() + 400));
    EXPECT_TRUE(frm->tmrFade->Enabled());
    emit frm->tmrFade->Tick();
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(0, 0, W, H)) << "the third step ends the slide";
    EXPECT_FALSE(frm->tmrFade->Enabled());

    // A second idle period does nothing until the mouse has moved.
    emit frm->tmrMax->Tick();
    EXPECT_FALSE(frm->tmrFade->Enabled());

    // Cursor movement outside the window only shows the cursor.
    QCursor::setPos(frm->frameGeometry().bottomRight() + QPoint(40, 40));
    emit frm->Media1->MouseMove();
    EXPECT_TRUE(frm->IdleHidden);
    EXPECT_FALSE(CursorBlank());

    CursorIntoWindow();
    emit frm->Media1->MouseMove();
    EXPECT_FALSE(frm->IdleHidden);
    EXPECT_EQ(Rect(*frm->framPlayer), area);
    EXPECT_TRUE(VideoAreaAtBack());
    EXPECT_TRUE(frm->tmrMax->Enabled());

    // The next idle period hides the cursor again.
    emit frm->tmrMax->Tick();
    EXPECT_TRUE(CursorBlank());
    emit frm->Media1->MouseMove();
    emit frm->Media1->MouseMove();
    EXPECT_FALSE(CursorBlank());
}

TEST_F(FullScreenAndAutoHide, InFullScreenTheMenuBarGoesAndTheVideoAreaGrowsFromTheWindowedPlace)
{
    frm->FullScreenToggle();
    frm->Form_Resize();
    emit frm->tmrMax->Tick();
    EXPECT_TRUE(MenusHidden());
    EXPECT_TRUE(frm->ControlsHidden);
    EXPECT_TRUE(frm->tmrFade->Enabled());
    EXPECT_TRUE(VideoAreaInFront());
    QCoreApplication::processEvents();
    frm->Form_Resize();

    const double W = frm->ScaleWidth();
    const double H = frm->ScaleHeight();
    const QRectF windowed = WindowedVideoArea();
    emit frm->tmrFade->Tick();
    EXPECT_FALSE(frm->ControlsHidden);
    EXPECT_EQ(Rect(*frm->framPlayer),
        QRectF(windowed.left() - 50, windowed.top() - 50, W + windowed.left() - 50, windowed.height() + 200));
    for (int tick = 0; tick < 5 && frm->tmrFade->Enabled(); ++tick)
        emit frm->tmrFade->Tick();
    EXPECT_FALSE(frm->tmrFade->Enabled());
    EXPECT_EQ(Rect(*frm->framPlayer), QRectF(0, 0, W, H));

    // Releasing a button over the video area brings the menus back.
    QTest::mouseClick(frm->framPlayer, Qt::LeftButton);
    EXPECT_TRUE(MenusShown());
    EXPECT_FALSE(frm->IdleHidden);

    frm->FullScreenToggle();
    EXPECT_FALSE(CursorBlank()) << "leaving full screen shows the cursor";
}

TEST_F(FullScreenAndAutoHide, TheKeysWorkWhileTheMenuBarIsHidden)
{
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get(), Patience));
    QTest::keyClick(frm.get(), Qt::Key_F2);
    ASSERT_TRUE(frm->FullScreen);
    // Left alone for a while, the menu bar goes; F2 (View, Full Screen) still leaves full screen.
    emit frm->tmrMax->Tick();
    ASSERT_TRUE(MenusHidden());
    QTest::keyClick(frm.get(), Qt::Key_F2);
    EXPECT_FALSE(frm->FullScreen);
    EXPECT_TRUE(MenusShown());
}

TEST_F(FullScreenAndAutoHide, AMouseMoveDuringTheSlideStopsIt)
{
    emit frm->tmrMax->Tick();
    emit frm->tmrFade->Tick();
    CursorIntoWindow();
    emit frm->Media1->MouseMove();
    EXPECT_FALSE(frm->tmrFade->Enabled());
    EXPECT_EQ(Rect(*frm->framPlayer), WindowedVideoArea());
}

TEST_F(FullScreenAndAutoHide, TheRightButtonOverTheVideoPopsUpTheContextMenu)
{
    ScriptedUser user;
    QTest::mouseClick(frm->framPlayer, Qt::RightButton);
    EXPECT_EQ(user.PopupCount(), 1);
    emit frm->Media1->MouseUp(forms::Button::Right, 0, 0, 0);
    EXPECT_EQ(user.PopupCount(), 2);
    emit frm->Media1->MouseUp(forms::Button::Left, 0, 0, 0);
    QTest::mouseClick(frm->framPlayer, Qt::LeftButton);
    EXPECT_EQ(user.PopupCount(), 2);
}

TEST_F(FullScreenAndAutoHide, TheGripSizesTheWindowWhileItIsHeld)
{
    const QPoint start(300, 300);
    QCursor::setPos(start);
    const double width = frm->Width();
    const double height = frm->Height();
    QTimer::singleShot(30, [&] { QCursor::setPos(start + QPoint(10, 20)); });
    QTimer::singleShot(80, [&] { QTest::mouseRelease(frm->Frame1, Qt::LeftButton, {}, QPoint(2, 2)); });
    QTest::mousePress(frm->Frame1, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(frm->GripState, "No");
    // 23.5 twips for every pixel the cursor went, to the nearest pixel.
    EXPECT_NEAR(frm->Width(), width + 10 * 23.5, 8);
    EXPECT_NEAR(frm->Height(), height + 20 * 23.5, 8);
}

TEST_F(FullScreenAndAutoHide, FilesDroppedOnTheVideoGoToThePlaylist)
{
    ScriptedUser user;
    emit frm->Media1->OLEDragDrop(
        {QStringLiteral("/nowhere/one.mp3"), QStringLiteral("/nowhere/two.mp3")}, forms::Button::Left, 0, 0, 0);
    // The last row is opened; being nowhere, it is reported.
    ASSERT_FALSE(user.Boxes().empty());
    EXPECT_EQ(user.Boxes()[0].prompt, "Error Opening File - two");
}
