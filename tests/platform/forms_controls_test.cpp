#include "platform/forms/Controls.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/Menu.h"
#include "platform/forms/RuntimeError.h"
#include "platform/forms/ScrollBar.h"
#include "platform/forms/Timer.h"
#include "tests/support/Patience.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace forms;

TEST(ComboBox, SelectionRaisesClickAndRemovingTheSelectedRowLeavesNone)
{
    QWidget host;
    ComboBox list(&host);
    QSignalSpy clicks(&list, &ComboBox::Click);

    list.AddItem("a");
    list.AddItem("b");
    list.AddItem("c");
    EXPECT_EQ(list.ListIndex(), -1) << "adding rows selects nothing";
    EXPECT_EQ(list.ListCount(), 3);
    EXPECT_EQ(clicks.count(), 0);

    list.setListIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.Text(), "b");
    list.setListIndex(1);
    EXPECT_EQ(clicks.count(), 1) << "the same row again is no change";

    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(clicks.count(), 1);

    list.setListIndex(0);
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), 0) << "removing another row keeps the selection";

    EXPECT_THROW(list.setListIndex(5), RuntimeError);
    EXPECT_THROW(list.RemoveItem(7), RuntimeError);
    list.AddItem("first", 0);
    EXPECT_EQ(list.List(0), "first");
    EXPECT_EQ(list.List(9), "");
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
}

TEST(ListBox, KeepsTheSameRulesAsTheComboBox)
{
    QWidget host;
    ListBox list(&host);
    QSignalSpy clicks(&list, &ListBox::Click);
    list.AddItem("x");
    list.AddItem("y");
    EXPECT_EQ(list.ListIndex(), -1);
    list.setListIndex(1);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(list.Text(), "y");
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(ScrollBar, RefusesValuesOutsideItsRangeAndRaisesChange)
{
    QWidget host;
    VScrollBar bar(&host);
    bar.setMin(-20);
    bar.setMax(0);
    QSignalSpy changes(&bar, &ScrollBar::Change);

    bar.setValue(-16);
    EXPECT_EQ(bar.Value(), -16);
    EXPECT_EQ(changes.count(), 1);
    try {
        bar.setValue(1);
        FAIL() << "a value past Max is refused";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), Err::InvalidPropertyValue);
    }
    EXPECT_THROW(bar.setValue(-21), RuntimeError);
    EXPECT_EQ(bar.Value(), -16);
    EXPECT_EQ(changes.count(), 1);

    // A range whose Min is the larger runs the other way but takes the same values.
    HScrollBar reversed(&host);
    reversed.setMin(10);
    reversed.setMax(-10);
    reversed.setValue(-10);
    EXPECT_EQ(reversed.Value(), -10);
    EXPECT_THROW(reversed.setValue(11), RuntimeError);
}

TEST(Timer, TicksAtItsIntervalAndRestartsWhenEnabledAgain)
{
    QObject owner;
    forms::Timer timer(&owner, 200, true);
    QSignalSpy ticks(&timer, &forms::Timer::Tick);
    QElapsedTimer sinceEnabled;
    sinceEnabled.start();
    std::vector<qint64> tickedAfter;
    QObject::connect(&timer, &forms::Timer::Tick, [&] { tickedAfter.push_back(sinceEnabled.elapsed()); });

    // Re-enabling every 100 ms keeps pushing the first tick away: a tick comes only a whole
    // interval after the last enabling (a coarse timer may come up to 5 % early).
    for (int i = 0; i < 4; ++i) {
        QTest::qWait(100);
        timer.setEnabled(true);
        sinceEnabled.restart();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tickedAfter.empty(); }, Patience));
    for (const qint64 ms : tickedAfter)
        EXPECT_GE(ms, 180);

    timer.setEnabled(false);
    ticks.clear();
    QTest::qWait(300);
    EXPECT_EQ(ticks.count(), 0);

    forms::Timer never(&owner, 0, true);
    QSignalSpy none(&never, &forms::Timer::Tick);
    QTest::qWait(50);
    EXPECT_EQ(none.count(), 0) << "an interval of 0 never ticks";
}

TEST(Extent, GeometryInTwipsReadsBackAsSetAndNegativeSizesAreRefused)
{
    QWidget host;
    Label label(&host);
    label.Move(-1300, 7, 9600, 7200);
    EXPECT_EQ(label.Left(), -1300);
    EXPECT_EQ(label.Top(), 7);
    EXPECT_EQ(label.Width(), 9600);
    EXPECT_EQ(label.geometry(), QRect(-87, 0, 640, 480));

    EXPECT_THROW(label.Move(0, 0, -1, 10), RuntimeError);
    EXPECT_EQ(label.Width(), 9600) << "a refused move leaves the control where it was";

    label.setGeometry(10, 10, 20, 20);
    EXPECT_EQ(label.Left(), 150) << "pixels rule once something else moved the control";
    EXPECT_EQ(label.Width(), 300);
}

TEST(MenuItem, ChoosingAnItemRaisesClickWithoutTouchingItsCheckMark)
{
    QMenuBar bar;
    MenuItem menu(&bar, "&File");
    MenuItem item(&menu, "Repeat");
    QSignalSpy clicks(&item, &MenuItem::Click);
    item.setChecked(true);
    item.Action()->trigger();
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(item.Checked());
    EXPECT_TRUE(item.Action()->isChecked());
    item.setChecked(false);
    item.Action()->trigger();
    EXPECT_FALSE(item.Action()->isChecked());

    MenuItem separator(&menu, "-");
    EXPECT_TRUE(separator.Action()->isSeparator());
}

TEST(IgnoreErrors, SkipsAFailingStepAndRunsTheNext)
{
    std::vector<int> ran;
    IgnoreErrors run;
    run([&] { ran.push_back(1); });
    run([&] { Raise(Err::Overflow); });
    run([&] { ran.push_back(3); });
    EXPECT_EQ(ran, (std::vector<int> {1, 3}));
    EXPECT_EQ(run.LastError(), Err::Overflow);
}

TEST(CheckAndOptionButtons, ValuesAndGroups)
{
    QWidget host;
    CheckBox check(&host, "Add");
    check.setValue(CheckValue::Checked);
    EXPECT_EQ(check.Value(), CheckValue::Checked);
    EXPECT_THROW(check.setValue(3), RuntimeError);

    QWidget groupA(&host), groupB(&host);
    OptionButton a1(&groupA), a2(&groupA), b1(&groupB);
    a1.setValue(true);
    b1.setValue(true);
    a2.setValue(true);
    EXPECT_FALSE(a1.Value()) << "options in one container exclude each other";
    EXPECT_TRUE(b1.Value()) << "another container is another group";

    // Selecting in code clicks, also a button that was selected already.
    int clicks = 0;
    QObject::connect(&a2, &OptionButton::Click, [&] { ++clicks; });
    a2.setValue(true);
    a2.setValue(true);
    EXPECT_EQ(clicks, 2);
}
