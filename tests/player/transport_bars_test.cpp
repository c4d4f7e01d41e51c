#include "engine/Media.h"
#include "engine/Slider.h"
#include "player/frmPlayer.h"
#include "tests/support/ScriptedUser.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>
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

TEST_F(TransportTest, DraggingTheSpeedBarsThumbWindsAtTheDraggedSpeed)
{
    player.resize(900, 500);
    player.show();
    forms::HScrollBar* bar = player.scrSpeed;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    const QRect thumb = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
    ASSERT_TRUE(thumb.isValid());
    const QPoint start = thumb.center();
    const int travel = (bar->width() - thumb.width()) / 2; // from the middle to one end

    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, start);
    // Three places: well right, well left, and near the middle.
    const struct {
        int dx;
        bool forward;
        bool rewind;
    } places[] = {{travel * 3 / 4, true, false}, {-travel * 3 / 4, false, true}, {travel / 40, false, false}};
    for (const auto& place : places) {
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(place.dx, 0)),
            bar->mapToGlobal(QPointF(start + QPoint(place.dx, 0))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        EXPECT_EQ(player.tmrFF2->Enabled(), place.forward) << "dragged by " << place.dx << " to " << bar->Value();
        EXPECT_EQ(player.tmrRW2->Enabled(), place.rewind) << "dragged by " << place.dx << " to " << bar->Value();
        if (place.forward) {
            EXPECT_GT(bar->Value(), 3);
        }
        if (place.rewind) {
            EXPECT_LT(bar->Value(), -3);
        }
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, start);
}
