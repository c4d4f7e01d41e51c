#include "components/dvd/DvdControl.h"
#include "engine/Docking.h"
#include "platform/forms/Menu.h"
#include "platform/forms/RuntimeError.h"
#include "platform/mci/Mci.h"
#include "player/frmPlayer.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"
#include "tests/tools/DvdImage.h"
#include "tools/frmDVD.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class frmDVDTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("TESSEL_DVD", dvdimage::Folder().toLocal8Bit()); }
    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmDVD>()) w->Unload();
        QApplication::processEvents();
        qunsetenv("TESSEL_DVD");
    }

    frmDVD& Open()
    {
        auto& w = forms::Instance<frmDVD>();
        w.Show();
        return w;
    }

    // The time line as one tick of its timer leaves it.
    static QString TimeLine(frmDVD& w)
    {
        w.Timer1_Timer();
        return w.txtTime->Text();
    }

    static QString Click(frmDVD& w, forms::CommandButton* button)
    {
        button->click();
        EXPECT_TRUE(w.txtStatus->isVisible());
        return w.txtStatus->Text();
    }

    // Waits until the title plays in the chapter.
    static bool InChapter(frmDVD& w, int chapter)
    {
        return QTest::qWaitFor(
            [&] {
                try {
                    return w.DVD->CurrentTitle() == 1 && w.DVD->CurrentChapter() == chapter;
                } catch (const forms::RuntimeError&) {
                    return false;
                }
            },
            Patience);
    }

    static int Seconds(frmDVD& w)
    {
        static const QRegularExpression position(QStringLiteral("^(\\d+):(\\d\\d) / "));
        const auto m = position.match(TimeLine(w));
        return m.hasMatch() ? m.captured(1).toInt() * 60 + m.captured(2).toInt() : -1;
    }

    ScriptedUser user_;
};

} // namespace

TEST_F(frmDVDTest, TimesReadAsMinutesAndSecondsWithHoursUnpadded)
{
    frmDVD w;
    EXPECT_EQ(w.getThisTime(5000), QStringLiteral("0:05"));
    EXPECT_EQ(w.getThisTime(65000), QStringLiteral("1:05"));
    EXPECT_EQ(w.getThisTime((3600 + 2 * 60 + 5) * 1000), QStringLiteral("1:2:05"));
    EXPECT_EQ(w.getThisTime((3600 + 2 * 60 + 3) * 1000), QStringLiteral("1:2:03")); // 01:02:03:15
    EXPECT_EQ(w.getThisTime(2 * 3600 * 1000), QStringLiteral("2:0:00"));
    EXPECT_EQ(w.getThisTime(59000), QStringLiteral("0:59")); // 00:00:59:24
    EXPECT_EQ(w.getThisTime(2500), QStringLiteral("0:02")); // halves go to the even second
    EXPECT_EQ(w.getThisTime(3500), QStringLiteral("0:04"));
    EXPECT_EQ(w.getThisTime(0), QStringLiteral("0:00"));
}

TEST_F(frmDVDTest, WithoutADiscItOpensReadsOneSecondAndTheButtonsDoNoHarm)
{
    qputenv("TESSEL_DVD", "/nonexistent/dvd.iso");
    frmDVD& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("Tessel DVD Player"));
    EXPECT_EQ(TimeLine(w), QStringLiteral("0:01 / 0:01"));
    EXPECT_EQ(Click(w, w.cmdStartDVD), QStringLiteral("Starting Movie"));
    EXPECT_EQ(Click(w, w.cmdPlay), QStringLiteral("Playing"));
    EXPECT_EQ(Click(w, w.cmdNextChap), QStringLiteral("Playing")); // the chapter cannot be read
    EXPECT_EQ(Click(w, w.cmdFForward), QStringLiteral("Playing At 1x"));
    EXPECT_EQ(Click(w, w.cmdRewind), QStringLiteral("Playing At -2x"));
    for (forms::CommandButton* b : {w.cmdPause, w.cmdStop, w.cmdZoomIn, w.cmdZoomOut, w.cmdJumpRoot, w.cmdPrevChapter})
        b->click();
    EXPECT_EQ(TimeLine(w), QStringLiteral("0:01 / 0:01"));
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(frmDVDTest, PlaysTheTitleStepsThroughChaptersAndNamesEachCommandForTwoSeconds)
{
    frmDVD& w = Open();
    EXPECT_FALSE(w.txtStatus->isVisible());
    EXPECT_EQ(Click(w, w.cmdStartDVD), QStringLiteral("Starting Movie"));
    ASSERT_TRUE(InChapter(w, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return TimeLine(w).endsWith(QStringLiteral(" / 0:12")); }, Patience))
        << w.txtTime->Text().toStdString();

    EXPECT_EQ(Click(w, w.cmdPrevChapter), QStringLiteral("Chapter 1")); // chapter 0 is refused
    EXPECT_EQ(Click(w, w.cmdNextChap), QStringLiteral("Chapter 2"));
    EXPECT_EQ(Click(w, w.cmdNextChap), QStringLiteral("Chapter 3"));
    EXPECT_EQ(Click(w, w.cmdNextChap), QStringLiteral("Chapter 3")); // there is no chapter 4
    EXPECT_EQ(Click(w, w.cmdPrevChapter), QStringLiteral("Chapter 2"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Seconds(w) >= 4; }, Patience));

    EXPECT_EQ(Click(w, w.cmdPause), QStringLiteral("Paused"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.DVD->Speed() == 0; }, Patience));
    EXPECT_EQ(Click(w, w.cmdPlay), QStringLiteral("Playing"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.DVD->Speed() == 1; }, Patience));
    EXPECT_EQ(Click(w, w.cmdZoomIn), QStringLiteral("Zooming In"));
    EXPECT_EQ(w.DVD->ZoomRatio(), 2.0);
    EXPECT_EQ(Click(w, w.cmdZoomOut), QStringLiteral("Zooming Out"));
    EXPECT_EQ(w.DVD->ZoomRatio(), 1.0);

    // The status goes two seconds after the last command.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.txtStatus->isVisible(); }, Patience));
    EXPECT_FALSE(w.tmrStatus->Enabled());

    EXPECT_EQ(Click(w, w.cmdStop), QStringLiteral("Stopped"));
    EXPECT_EQ(w.DVD->CurrentTitle(), -1);
    EXPECT_EQ(TimeLine(w), QStringLiteral("0:01 / 0:01"));
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(frmDVDTest, FastForwardAndRewindShareOneSpeedCountAndRewindGoesBack)
{
    frmDVD& w = Open();
    w.cmdStartDVD->click();
    ASSERT_TRUE(InChapter(w, 1));
    for (int expected : {1, 2, 3, 4, 5, 6, 7, 8, 1})
        EXPECT_EQ(Click(w, w.cmdFForward), QStringLiteral("Playing At %1x").arg(expected));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.DVD->Speed() == 1; }, Patience));

    w.cmdNextChap->click();
    w.cmdNextChap->click();
    ASSERT_TRUE(InChapter(w, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Seconds(w) >= 9; }, Patience));
    const int from = Seconds(w);
    EXPECT_EQ(Click(w, w.cmdRewind), QStringLiteral("Playing At -2x"));
    EXPECT_EQ(w.DVD->Speed(), -2.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Seconds(w) >= 0 && Seconds(w) <= from - 2; }, Patience))
        << "from " << from << " to " << w.txtTime->Text().toStdString();
    EXPECT_EQ(w.ScanSpeed, 2);
}

TEST_F(frmDVDTest, ThePlayersDvdItemClosesItsMovieAndOpensTheWindowOnTop)
{
    const std::string open = "open \"" + clips::Video().toStdString() + "\" type MPEGVideo alias music";
    ASSERT_EQ(mci::SendString(open), 0u);
    frmPlayer& player = forms::Instance<frmPlayer>();
    player.mnuTop->setChecked(true);
    player.mnuDVD->Action()->trigger();
    auto* w = forms::Instances::Existing<frmDVD>();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Topmost());
    EXPECT_TRUE(Docking::IsAttached(w));
    char reply[40] = {};
    EXPECT_NE(mci::SendString("status music mode", reply, sizeof reply), 0u);

    // Closing the window ends the control's playback with it.
    w->cmdStartDVD->click();
    ASSERT_TRUE(InChapter(*w, 1));
    w->Unload();
    EXPECT_TRUE(QTest::qWaitFor([] { return !forms::Instances::Exists<frmDVD>(); }, Patience));
    forms::Instances::Forget(&player);
    delete &player;
}
