// The display-resolution window on a virtual display with several modes.
#include "dialogs/frmChangeRes.h"
#include "platform/display/Reboot.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedUser.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

// Last: the X headers' names would clash with those above.
#include "tests/dialogs/ExtraModes.h"

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString Xrandr(const QStringList& arguments)
{
    QProcess xrandr;
    xrandr.start(QStringLiteral("xrandr"), arguments);
    xrandr.waitForFinished(20000);
    return QString::fromUtf8(xrandr.readAllStandardOutput());
}

// The output's modes as xrandr lists them, one row each, in its order.
QStringList XrandrRows()
{
    QStringList rows;
    static const QRegularExpression mode(QStringLiteral("^\\s+(\\d+)x(\\d+)\\S*\\s+\\(0x[0-9a-f]+\\)"));
    for (const QString& line : Xrandr({"--current", "--verbose"}).split('\n')) {
        const auto m = mode.match(line);
        if (m.hasMatch()) rows << m.captured(1) + 'x' + m.captured(2) + QStringLiteral("x24");
    }
    return rows;
}

QString CurrentSize()
{
    static const QRegularExpression current(QStringLiteral("current (\\d+) x (\\d+)"));
    const auto m = current.match(Xrandr({"--current"}));
    return m.hasMatch() ? m.captured(1) + 'x' + m.captured(2) : QString();
}

QStringList Rows(const forms::ListBox& list)
{
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.List(i);
    return rows;
}

class ChangeResolutionOnX : public ::testing::Test {
protected:
    void TearDown() override { Close(); }

    frmChangeRes& Open()
    {
        auto& w = forms::Instance<frmChangeRes>();
        w.Show();
        return w;
    }
    void Close()
    {
        if (auto* w = forms::Instances::Existing<frmChangeRes>()) w->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool ScreenIs(int width, int height)
    {
        return QTest::qWaitFor(
            [&] { return QGuiApplication::primaryScreen()->geometry().size() == QSize(width, height); }, 10000);
    }

    ExtraModes modes_;
    ScriptedUser user_;
};

} // namespace

TEST_F(ChangeResolutionOnX, ListsTheOutputsModesAndSwitchesToTheChosenOne)
{
    ASSERT_TRUE(modes_.Add(1024, 768, 60));
    ASSERT_TRUE(modes_.Add(1024, 768, 75));
    ASSERT_TRUE(modes_.Add(800, 600, 60));
    ASSERT_TRUE(modes_.Add(640, 480, 60));

    frmChangeRes& w = Open();
    const QStringList rows = Rows(*w.List1);
    EXPECT_EQ(rows, XrandrRows());
    ASSERT_EQ(rows, QStringList({"1280x1024x24", "1024x768x24", "1024x768x24", "800x600x24", "640x480x24"}));
    EXPECT_EQ(w.List1->ListIndex(), 0) << "the mode in use";
    EXPECT_EQ(w.DevModes[1].DisplayFrequency, 60u);
    EXPECT_EQ(w.DevModes[2].DisplayFrequency, 75u);

    // The mode in use again: nothing to say.
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));

    w.List1->setListIndex(3);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(CurrentSize(), QStringLiteral("800x600"));
    EXPECT_TRUE(Xrandr({"--current"}).contains(QStringLiteral("800x600+0+0")));
    EXPECT_TRUE(ScreenIs(800, 600));
    EXPECT_TRUE(forms::Instances::Exists<frmChangeRes>()) << "the window stays open";

    // With the display at 1024x768, both of its rows match; the last one is selected.
    w.List1->setListIndex(1);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1024x768"));
    ASSERT_TRUE(ScreenIs(1024, 768));
    Close();
    frmChangeRes& again = Open();
    EXPECT_EQ(again.List1->ListIndex(), 2);

    // Back to the largest: the screen grows again.
    again.List1->setListIndex(0);
    QTest::mouseClick(again.Command1, Qt::LeftButton);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(ChangeResolutionOnX, RefusedModesAndDepthsGetTheirMessages)
{
    ASSERT_TRUE(modes_.Add(800, 600, 60));
    frmChangeRes& w = Open();
    ASSERT_EQ(w.List1->ListCount(), 2);

    // A size the display does not offer.
    w.DevModes[1].PelsWidth = 12345;
    w.List1->setListIndex(1);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("Error changing resolution! Returned: -2"));
    EXPECT_EQ(user_.Boxes()[0].style, 0);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));

    // Another colour depth takes a restart: No leaves everything, Yes asks the login manager.
    int reboots = 0;
    display::SetRebootRequest([&] {
        ++reboots;
        return false;
    });
    w.DevModes[1].PelsWidth = 800;
    w.DevModes[1].BitsPerPel = 16;
    user_.AnswerBoxes({forms::MsgBoxResult::No, forms::MsgBoxResult::Yes});
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    display::SetRebootRequest(nullptr);
    ASSERT_EQ(user_.Boxes().size(), 3u);
    EXPECT_EQ(user_.Boxes()[1].prompt,
        QStringLiteral("This change will not take effect until you reboot the system.  Reboot now?"));
    EXPECT_EQ(user_.Boxes()[1].style, 4);
    EXPECT_EQ(reboots, 1);
    EXPECT_EQ(CurrentSize(), QStringLiteral("1280x1024"));
}

TEST_F(ChangeResolutionOnX, ThirtyModesFillATableOfThirtyThreeRecords)
{
    for (int i = 1; i < 30; ++i)
        ASSERT_TRUE(modes_.Add(640 + 8 * i, 480, 60));
    frmChangeRes& w = Open();
    EXPECT_EQ(w.List1->ListCount(), 30);
    EXPECT_EQ(w.DevModes.size(), 33u);
    EXPECT_EQ(w.LastMode, 29);
    EXPECT_EQ(w.List1->List(29), QStringLiteral("872x480x24"));
}
