#include "engine/Media.h"
#include "engine/Slider.h"
#include "player/frmPlayer.h"
#include "tests/support/ScriptedUser.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void Press(QWidget* widget, QEvent::Type type, Qt::MouseButton button, int x = 5)
{
    const QPointF at(x, widget->height() / 2);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A player window whose message boxes go to a scripted user.
class TransportTest : public ::testing::Test {
protected:
    ScriptedUser user;
    frmPlayer player;
};

} // namespace

TEST_F(TransportTest, SpeedBarNearTheMiddleSnapsBackAndFurtherOutWinds)
{
    struct Case {
        int value;
        int after;
        bool forward;
        bool rewind;
    };
    for (const Case c : {Case {2, 0, false, false}, Case {-2, 0, false, false}, Case {1, 0, false, false},
             Case {3, 3, true, false}, Case {20, 20, true, false}, Case {-3, -3, false, true},
             Case {-20, -20, false, true}, Case {0, 0, false, false}}) {
        player.tmrFF2->setEnabled(!c.forward);
        player.tmrRW2->setEnabled(!c.rewind);
        player.scrSpeed->setValue(c.value);
        player.scrSpeed_Scroll();
        EXPECT_EQ(player.scrSpeed->Value(), c.after) << "value " << c.value;
        EXPECT_EQ(player.tmrFF2->Enabled(), c.forward) << "value " << c.value;
        EXPECT_EQ(player.tmrRW2->Enabled(), c.rewind) << "value " << c.value;
        EXPECT_TRUE(player.tmrMax->Enabled());
    }

    // Moving the value without dragging the thumb (an arrow click) switches nothing.
    player.scrSpeed->setValue(1);
    EXPECT_FALSE(player.tmrFF2->Enabled());
    EXPECT_FALSE(player.tmrRW2->Enabled());
    EXPECT_EQ(player.scrSpeed->Value(), 1);
}

TEST_F(TransportTest, WindButtonsRunTheirTimersWhileHeld)
{
    Press(player.cmdForw, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(player.tmrFF->Enabled());
    EXPECT_FALSE(player.tmrMax->Enabled());
    emit player.tmrFF->Tick();
    EXPECT_FALSE(player.tmrCurrent->Enabled()) << "the position refresh waits while winding";
    Press(player.cmdForw, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(player.tmrFF->Enabled());
    EXPECT_TRUE(player.tmrCurrent->Enabled());
    EXPECT_TRUE(player.tmrMax->Enabled());

    Press(player.cmdRew, QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_TRUE(player.tmrRW->Enabled());
    EXPECT_FALSE(player.tmrMax->Enabled());
    emit player.tmrRW->Tick();
    EXPECT_FALSE(player.tmrCurrent->Enabled());
    Press(player.cmdRew, QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(player.tmrRW->Enabled());
    EXPECT_TRUE(player.tmrCurrent->Enabled());
    EXPECT_TRUE(player.tmrMax->Enabled());
}

TEST_F(TransportTest, HoldingTheMouseOnThePositionBarStopsTheRefresh)
{
    player.scrPosition->setMaxValue(100);
    Press(player.scrPosition, QEvent::MouseButtonPress, Qt::LeftButton, 30);
    EXPECT_TRUE(player.PositionDragging);
    EXPECT_FALSE(player.tmrCurrent->Enabled());
    EXPECT_FALSE(player.tmrMax->Enabled());
    Press(player.scrPosition, QEvent::MouseButtonRelease, Qt::LeftButton, 30);
    EXPECT_FALSE(player.PositionDragging);
    EXPECT_TRUE(player.tmrCurrent->Enabled());
    EXPECT_TRUE(player.tmrMax->Enabled());
}

TEST_F(TransportTest, CaptionTimerNamesThePlayingFile)
{
    emit player.tmrCaption->Tick();
    EXPECT_EQ(player.Caption(), "Morvane Media Player");
    player.Media1->OpenFile("/nowhere/Summer Trip.part1.mp4");
    emit player.tmrCaption->Tick();
    EXPECT_EQ(player.Caption(), "Summer Trip - Morvane Media Player");
    player.Media1->OpenFile("/nowhere/README");
    emit player.tmrCaption->Tick();
    EXPECT_EQ(player.Caption(), " - Morvane Media Player") << "a name without a dot has no name part";
}
