#include "engine/Media.h"
#include "engine/Slider.h"
#include "platform/mci/Mci.h"
#include "player/frmPlayer.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/ScriptedUser.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Two minutes of quiet sound, long enough for the speed bar's step to reach whole seconds.
QString LongClip()
{
    const QString path = QStringLiteral(TESSEL_BINARY_DIR "/test-media/long.wav");
    if (QFile::exists(path)) return path;
    const QString partial = path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=300:sample_rate=8000", "-t", "120", "-ac", "1",
            "-c:a", "pcm_u8", "-f", "wav", partial});
    ffmpeg.waitForFinished(60000);
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
    QFile::rename(partial, path);
    return path;
}

void MouseOn(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, int x)
{
    const QPointF at(x, widget->height() / 2);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A player window that plays real files; its message boxes go to a scripted user.
class PlaybackTest : public ::testing::Test {
protected:
    void TearDown() override { player.Media1->closeMovie(); }

    // Fills the playlist and opens one row, as choosing it in the list does.
    void Play(const QStringList& rows, int selected)
    {
        for (const QString& row : rows)
            player.lstPlaylist->AddItem(row);
        player.lstPlaylist->setListIndex(selected);
        ASSERT_EQ(player.Media1->GetFileName(), rows.at(selected));
        ASSERT_TRUE(player.Media1->isMoviePlaying());
    }

    // Moves playback to half a second before the end of the file.
    void NearTheEnd()
    {
        player.Media1->forwardByMS(player.Media1->getLengthInMS() - player.Media1->getPositionInMS() - 500);
    }

    bool WaitFor(const std::function<bool()>& condition, int ms = Patience) { return QTest::qWaitFor(condition, ms); }

    ScriptedUser user;
    frmPlayer player;
};

} // namespace

TEST_F(PlaybackTest, RepeatAfterTheLastOfThreeRowsPlaysTheFirst)
{
    player.mnuRepeat->setChecked(true);
    Play({clips::Wav(), clips::Mp3(), clips::Video()}, 2);
    NearTheEnd();
    ASSERT_TRUE(WaitFor([&] { return player.lstPlaylist->ListIndex() == 0; }));
    EXPECT_EQ(player.Media1->GetFileName(), clips::Wav());
    EXPECT_TRUE(player.Media1->isMoviePlaying());

    NearTheEnd();
    ASSERT_TRUE(WaitFor([&] { return player.lstPlaylist->ListIndex() == 1; })) << "then the next row";
    EXPECT_EQ(player.Media1->GetFileName(), clips::Mp3());
    EXPECT_TRUE(player.Media1->isMoviePlaying());
    EXPECT_TRUE(user.Boxes().empty());
}

TEST_F(PlaybackTest, RepeatWithOneRowPlaysItAgainFromTheStart)
{
    player.mnuRepeat->setChecked(true);
    Play({clips::Wav()}, 0);
    NearTheEnd();
    ASSERT_TRUE(WaitFor([&] { return player.Media1->getPositionInMS() < 1000; }));
    EXPECT_TRUE(player.Media1->isMoviePlaying());
    EXPECT_EQ(player.lstPlaylist->ListIndex(), 0);
}

TEST_F(PlaybackTest, WithoutRepeatPlaybackStopsAtTheEnd)
{
    player.mnuRepeat->setChecked(false);
    Play({clips::Wav(), clips::Mp3()}, 0);
    NearTheEnd();
    ASSERT_TRUE(WaitFor([&] { return !player.Media1->isMoviePlaying(); }));
    QTest::qWait(300);
    EXPECT_EQ(player.lstPlaylist->ListIndex(), 0);
    EXPECT_EQ(player.Media1->GetFileName(), clips::Wav());
    EXPECT_FALSE(player.Media1->isMoviePlaying());
    EXPECT_EQ(player.Media1->getPositionInMS(), player.Media1->getLengthInMS());
}

TEST_F(PlaybackTest, WithRepeatOnStopStaysStoppedAndAppendedRowsWaitToBeChosen)
{
    ASSERT_TRUE(player.mnuRepeat->Checked());
    // Rows appended while nothing was ever opened do not start by themselves.
    player.lstPlaylist->AddItem(clips::Wav());
    player.lstPlaylist->AddItem(clips::Mp3());
    QTest::qWait(400);
    EXPECT_EQ(player.lstPlaylist->ListIndex(), -1);
    EXPECT_TRUE(player.Media1->GetFileName().isEmpty());

    player.lstPlaylist->Clear();
    Play({clips::Wav()}, 0);
    player.cmdStop->click();
    QTest::qWait(400);
    char mode[128] = {};
    EXPECT_NE(mci::SendString("status music mode", mode, sizeof mode), 0u) << "Stop closed the file: " << mode;

    player.lstPlaylist->Clear();
    Play({clips::Wav(), clips::Mp3()}, 0);
    player.cmdStop->click();
    QTest::qWait(400);
    EXPECT_EQ(player.lstPlaylist->ListIndex(), 0) << "Stop does not move on to the next row";
}

TEST_F(PlaybackTest, NextStopsAtTheLastRowAndPreviousLeavesNoRowBeforeTheFirst)
{
    Play({clips::Wav(), clips::Mp3()}, 0);
    player.cmdNext->click();
    EXPECT_EQ(player.lstPlaylist->ListIndex(), 1);
    EXPECT_EQ(player.Media1->GetFileName(), clips::Mp3());
    player.cmdNext->click();
    EXPECT_EQ(player.lstPlaylist->ListIndex(), 1) << "nothing past the last row";
    EXPECT_EQ(player.Media1->GetFileName(), clips::Mp3());

    player.cmdPrev->click();
    EXPECT_EQ(player.Media1->GetFileName(), clips::Wav());
    player.cmdPrev->click();
    EXPECT_EQ(player.lstPlaylist->ListIndex(), -1);
    EXPECT_EQ(player.lstPlaylist->ListCount(), 2);
    EXPECT_TRUE(player.tmrMax->Enabled());
    EXPECT_TRUE(user.Boxes().empty()) << "no message";
}

TEST_F(PlaybackTest, PlayPauseAndStop)
{
    Play({clips::Video()}, 0);
    player.cmdPause->click();
    EXPECT_FALSE(player.Media1->isMoviePlaying());
    player.cmdPause->click();
    EXPECT_TRUE(player.Media1->isMoviePlaying()) << "the same button resumes";

    player.scrPosition->setValue(3);
    player.cmdStop->click();
    EXPECT_EQ(player.scrPosition->Value(), 0);

    player.tmrPlaylist->setEnabled(false);
    player.cmdPlay->click();
    EXPECT_TRUE(player.tmrPlaylist->Enabled());
    char mode[128] = {};
    EXPECT_EQ(mci::SendString("status music mode", mode, sizeof mode), 0u) << "Play after Stop opens the file again";
    EXPECT_STREQ(mode, "playing");
}

TEST_F(PlaybackTest, PositionTimerShowsPositionAndLength)
{
    Play({clips::Video()}, 0);
    player.Media1->PauseMovie();
    player.Media1->setPositionTo(2);
    emit player.tmrCurrent->Tick();
    EXPECT_EQ(player.scrPosition->MaxValue(), 4);
    EXPECT_EQ(player.scrPosition->Value(), 2);
    EXPECT_EQ(player.scrPosition->Caption(), "00:00:02 / 00:00:04");

    emit player.tmrCaption->Tick();
    EXPECT_EQ(player.Caption(), "clip - Morvane Media Player");
}

TEST_F(PlaybackTest, HeldWindButtonsMovePlayback)
{
    Play({LongClip()}, 0);
    player.Media1->PauseMovie();
    MouseOn(player.cmdForw, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 5);
    ASSERT_TRUE(WaitFor([&] { return player.Media1->getPositionInSec() >= 5; }));
    MouseOn(player.cmdForw, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 5);
    EXPECT_TRUE(player.Media1->isMoviePlaying()) << "winding plays";
    EXPECT_GE(player.scrPosition->Value(), 4);
    EXPECT_TRUE(player.tmrCurrent->Enabled());

    const int before = player.Media1->getPositionInSec();
    MouseOn(player.cmdRew, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, 5);
    ASSERT_TRUE(WaitFor([&] { return player.Media1->getPositionInSec() <= before - 3; }));
    MouseOn(player.cmdRew, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, 5);
    EXPECT_FALSE(player.tmrRW->Enabled());
}

TEST_F(PlaybackTest, SpeedBarWindsWhileOffCentreAndSnapsBackToPlay)
{
    Play({LongClip()}, 0);
    player.Media1->setPositionTo(60);
    emit player.tmrCurrent->Tick();
    ASSERT_EQ(player.scrPosition->Value(), 60);

    player.scrSpeed->setValue(3);
    player.scrSpeed_Scroll();
    ASSERT_TRUE(player.tmrFF2->Enabled());
    ASSERT_TRUE(WaitFor([&] { return player.Media1->getPositionInSec() >= 65; })) << "a step of 60 / 75 s a tick";

    emit player.tmrCurrent->Tick();
    const int forward = player.Media1->getPositionInSec();
    player.scrSpeed->setValue(-20);
    player.scrSpeed_Scroll();
    EXPECT_FALSE(player.tmrFF2->Enabled());
    ASSERT_TRUE(WaitFor([&] { return player.Media1->getPositionInSec() <= forward - 5; }));

    player.Media1->PauseMovie();
    player.scrSpeed->setValue(2);
    player.scrSpeed_Scroll();
    EXPECT_EQ(player.scrSpeed->Value(), 0);
    EXPECT_FALSE(player.tmrRW2->Enabled());
    EXPECT_TRUE(player.Media1->isMoviePlaying()) << "back to normal play";
}

TEST_F(PlaybackTest, VolumeIsMinusFiftyTimesTheBar)
{
    Play({clips::Wav()}, 0);
    for (const auto& [bar, volume] :
        {std::pair {-20, 1000}, std::pair {-10, 500}, std::pair {0, 0}, std::pair {-16, 800}}) {
        player.scrVolume->setValue(bar);
        EXPECT_EQ(player.Media1->getVolume(), volume) << "bar " << bar;
    }
}

TEST_F(PlaybackTest, DraggingThePositionBarSeeksAndHoveringShowsTheTime)
{
    Play({LongClip()}, 0);
    player.Media1->PauseMovie();
    Slider* bar = player.scrPosition;
    bar->resize(600 + bar->HPicture().width(), bar->height());
    emit player.tmrCurrent->Tick();
    const double perUnit = bar->PixelsPerUnit();
    ASSERT_EQ(perUnit, 5) << "two minutes over 600 pixels";
    const auto at = [&](double seconds) { return int(seconds * perUnit + perUnit / 2); };

    MouseOn(bar, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at(30));
    MouseOn(bar, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at(40));
    MouseOn(bar, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, at(50));
    EXPECT_NEAR(player.Media1->getPositionInMS(), 40000, 300) << "each move seeks to the value the bar had";
    EXPECT_EQ(bar->Caption(), player.Media1->getFormatPosition() + " / 00:02:00");
    EXPECT_TRUE(player.PositionDragging);
    MouseOn(bar, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at(50));
    EXPECT_NEAR(player.Media1->getPositionInMS(), 50000, 300) << "releasing seeks to where the handle is";
    EXPECT_TRUE(player.tmrCurrent->Enabled());

    MouseOn(bar, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at(90));
    MouseOn(bar, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at(90));
    EXPECT_NEAR(player.Media1->getPositionInMS(), 90000, 300) << "a click seeks too";

    MouseOn(bar, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, at(75));
    EXPECT_EQ(bar->ToolTipText(), "00:01:15");
    EXPECT_NEAR(player.Media1->getPositionInMS(), 90000, 300) << "hovering does not seek";
}
