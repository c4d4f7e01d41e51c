#include "cdaudio/GyrelleIds.h"
#include "engine/Docking.h"
#include "platform/forms/Menu.h"
#include "platform/mci/Mci.h"
#include "player/frmPlayer.h"
#include "tests/cdaudio/GyrelleFixture.h"
#include "tests/support/Patience.h"
#include "tools/frmGyrelle.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

namespace Id = GyrelleIds;

namespace {

class frmGyrelleTest : public GyrelleFixture {
protected:
    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmGyrelle>()) w->Unload();
        QApplication::processEvents();
        GyrelleFixture::TearDown();
    }

    frmGyrelle& Open()
    {
        auto& w = forms::Instance<frmGyrelle>();
        w.Timer1->setEnabled(false); // the test ticks the display itself
        w.Show();
        return w;
    }

    // One second of the control's own polling, then one tick of the window.
    void Tick(frmGyrelle& w)
    {
        w.Gyrelle1->Call(Id::Update);
        w.Timer1_Timer();
    }
};

} // namespace

TEST_F(frmGyrelleTest, WithoutADiscItSaysSoAndStartsNothing)
{
    UseEmptyDrive();
    frmGyrelle& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("Tessel CD Player"));
    ASSERT_TRUE(w.fInitiated);
    TakeCommands();
    Tick(w);
    EXPECT_EQ(w.Label1->Caption(), QStringLiteral("NO DISC"));
    EXPECT_EQ(w.Label2->Caption(), QStringLiteral("Total Tracks  0             Total Time  "));
    EXPECT_EQ(w.HScroll1->Value(), 0);
    EXPECT_TRUE(TakeCommands().filter(QStringLiteral("play")).isEmpty());

    // Fast forward without a disc: the control raises an error, the window stays and stops repeating.
    QTest::mousePress(w.Command4, Qt::LeftButton);
    EXPECT_FALSE(w.tmrFF->Enabled());
    QTest::mouseRelease(w.Command4, Qt::LeftButton);
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(frmGyrelleTest, ShowsTrackAndTimeAndPlaysByItselfUntilPaused)
{
    frmGyrelle& w = Open();
    Tick(w); // first sight of the disc; the window starts track 1
    EXPECT_EQ(w.Label1->Caption(), QStringLiteral("[01]  00:00 / 00:03:00"));
    EXPECT_EQ(w.Label2->Caption(), QStringLiteral("Total Tracks  3             Total Time  00:09:00"));
    EXPECT_TRUE(TakeCommands().contains(QStringLiteral("play cd from 1")));
    EXPECT_TRUE(w.Gyrelle1->Get(Id::fPlaying).ToBool());

    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            w.Gyrelle1->Call(Id::Update);
            return w.Gyrelle1->Get(Id::sec).ToLong() >= 1;
        },
        Patience));
    const long second = w.Gyrelle1->Get(Id::sec).ToLong();
    w.Timer1_Timer();
    EXPECT_EQ(w.Label1->Caption(), QStringLiteral("[01]  00:%1 / 00:03:00").arg(second, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(w.HScroll1->Max(), 3);
    EXPECT_EQ(w.HScroll1->Value(), 1);

    w.Command6->click(); // pause: the bar keeps its place and nothing starts by itself any more
    EXPECT_TRUE(w.fUserStopped);
    TakeCommands();
    Tick(w);
    EXPECT_EQ(w.HScroll1->Value(), 1);
    EXPECT_TRUE(TakeCommands().filter(QStringLiteral("play")).isEmpty());

    w.Command1->click(); // resume
    EXPECT_EQ(TakeCommands().value(0), QStringLiteral("play cd"));
    w.Command7->click(); // stop
    Tick(w);
    EXPECT_EQ(w.HScroll1->Value(), 0);
    EXPECT_TRUE(TakeCommands().filter(QStringLiteral("play")).isEmpty());

    w.txtGoToTrack->setText(QStringLiteral("3"));
    w.cmdGoToTrack->click();
    Tick(w);
    EXPECT_EQ(w.Label1->Caption(), QStringLiteral("[03]  00:00 / 00:02:00"));
    w.txtGoToTrack->setText(QStringLiteral("three")); // refused by the control; the window goes on
    w.cmdGoToTrack->click();
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(frmGyrelleTest, ClosingTheWindowClosesEveryDeviceOfTheProcess)
{
    const QString clip = dir_.file(QStringLiteral("clip.wav"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("sox"),
                  {QStringLiteral("-n"), clip, QStringLiteral("synth"), QStringLiteral("1"), QStringLiteral("sine"),
                      QStringLiteral("440")}),
        0);
    ASSERT_EQ(mci::SendString(("open \"" + clip.toStdString() + "\" type MPEGVideo alias music")), 0u);
    frmGyrelle& w = Open();
    Tick(w);
    w.Unload();
    QApplication::processEvents();
    char reply[40] = {};
    EXPECT_NE(mci::SendString("status music mode", reply, sizeof reply), 0u);
    EXPECT_NE(mci::SendString("status cd mode", reply, sizeof reply), 0u);
}

TEST_F(frmGyrelleTest, WithoutTheRegisteredControlItSaysSoAndCloses)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral(TESSEL_BINARY_DIR "/bin/tessel-regsvr"),
                  {QStringLiteral("-u"), QStringLiteral(TESSEL_BINARY_DIR "/bin/libGyrelle.so")}),
        0);
    frmGyrelle& w = Open();
    EXPECT_FALSE(w.fInitiated);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_TRUE(user_.Boxes()[0].prompt.contains(QStringLiteral("Gyrelle.Gyrelle")));
    EXPECT_EQ(user_.Boxes()[0].style, 16);
    w.Timer1_Timer(); // harmless without the control
    EXPECT_TRUE(QTest::qWaitFor([] { return !forms::Instances::Exists<frmGyrelle>(); }, Patience));
}

TEST_F(frmGyrelleTest, ThePlayersAudioCdItemOpensItOnTopWhenThePlayerIsOnTop)
{
    frmPlayer& player = forms::Instance<frmPlayer>();
    player.mnuTop->setChecked(true);
    player.mnuCDDVDAudioCD->Action()->trigger();
    auto* w = forms::Instances::Existing<frmGyrelle>();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->Topmost());
    EXPECT_TRUE(w->fInitiated);
    EXPECT_TRUE(Docking::IsAttached(w));
    w->Unload();
    forms::Instances::Forget(&player);
    delete &player;
}
