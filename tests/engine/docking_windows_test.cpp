#include "engine/Docking.h"
#include "platform/forms/Form.h"
#include "tests/support/Patience.h"

#include <QCoreApplication>
#include <QCursor>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class MainWindow : public forms::Form { };
class ToolWindow : public forms::Form { };
class OtherWindow : public forms::Form { };

// Lets the window system report the new places (at once offscreen, after a round trip on X11).
void ProcessEvents() { QTest::qWait(100); }

// Places a window's outer rectangle as the program does.
void Place(forms::Form& form, QRect frame)
{
    const QMargins m = form.windowHandle()->frameMargins();
    form.setGeometry(frame.marginsRemoved(m));
    ProcessEvents();
}

// Moves or sizes a window as the desktop does when the user drags it.
void UserPlaces(forms::Form& form, QRect frame)
{
    const QMargins m = form.windowHandle()->frameMargins();
    form.windowHandle()->setGeometry(frame.marginsRemoved(m));
    ProcessEvents();
}

class DockingWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (forms::Form* form : {static_cast<forms::Form*>(&main), static_cast<forms::Form*>(&tool)}) {
            form->Show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form, Patience));
        }
        Place(main, {100, 100, 300, 200});
        Place(tool, {600, 500, 200, 100});
        Docking::AttachForm(&main, true);
        Docking::AttachForm(&tool, false);
        // Each test starts a move loop of its own.
        QTest::qWait(600);
    }
    void TearDown() override
    {
        Docking::DetachForm(&tool);
        Docking::DetachForm(&main);
        tool.Unload();
        main.Unload();
    }

    MainWindow& main = forms::Instance<MainWindow>();
    ToolWindow& tool = forms::Instance<ToolWindow>();
};

} // namespace

TEST_F(DockingWindows, ADraggedWindowEndsFlushWithANearbyWindow)
{
    QCursor::setPos(460, 260);
    UserPlaces(tool, {407, 250, 200, 100});
    EXPECT_EQ(tool.frameGeometry(), QRect(400, 250, 200, 100));

    // The program's own moves are not snapped.
    Place(tool, {405, 250, 200, 100});
    EXPECT_EQ(tool.frameGeometry(), QRect(405, 250, 200, 100));
}

TEST_F(DockingWindows, SizingFromTheLeftSnapsTheLeftAndBottomEdges)
{
    Place(tool, {420, 150, 200, 145});
    QTest::qWait(600);
    UserPlaces(tool, {406, 150, 214, 144});
    EXPECT_EQ(tool.frameGeometry(), QRect(QPoint(400, 150), QPoint(619, 299))) << "left 400, bottom 300";
}

TEST_F(DockingWindows, AWindowDockedUnderTheMainWindowFollowsIt)
{
    // Its top edge on the main window's bottom edge, not overlapping it sideways.
    Place(tool, {500, 300, 200, 100});
    QTest::qWait(600);
    QCursor::setPos(220, 140);
    UserPlaces(main, {150, 130, 300, 200});
    EXPECT_EQ(main.frameGeometry(), QRect(150, 130, 300, 200));
    EXPECT_EQ(tool.frameGeometry(), QRect(550, 330, 200, 100));

    // A window not touching the main window stays.
    Place(tool, {700, 600, 100, 100});
    QCursor::setPos(190, 150);
    UserPlaces(main, {120, 140, 300, 200});
    EXPECT_EQ(tool.frameGeometry(), QRect(700, 600, 100, 100));

    // Once the main window has left docking, nothing follows it.
    Place(tool, {120, 340, 100, 100});
    Docking::DetachForm(&main);
    QCursor::setPos(220, 160);
    UserPlaces(main, {150, 150, 300, 200});
    EXPECT_EQ(tool.frameGeometry(), QRect(120, 340, 100, 100));
}

TEST_F(DockingWindows, AttachingTwiceAndDetachingOnceLeavesAWindowUnregistered)
{
    auto& other = forms::Instance<OtherWindow>();
    other.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, Patience));
    Place(other, {600, 300, 100, 100});
    Docking::AttachForm(&other, false);
    Docking::AttachForm(&other, false);
    EXPECT_TRUE(Docking::IsAttached(&other));
    Docking::DetachForm(&other);
    EXPECT_FALSE(Docking::IsAttached(&other));

    QTest::qWait(600);
    UserPlaces(other, {407, 300, 100, 100});
    EXPECT_EQ(other.frameGeometry(), QRect(407, 300, 100, 100)) << "no longer snapped";
    other.Unload();
}
