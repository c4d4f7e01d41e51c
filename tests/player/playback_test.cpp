// Opening rows that really play: the window's size for audio and video, and a start with a clip.
#include "tests/player/PlayerFixture.h"

#include "engine/Media.h"
#include "engine/Slider.h"
#include "player/PlayerFiles.h"
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QRegularExpression>
#include <QSignalSpy>

namespace {

QString CopyTo(const QString& from, const QString& to)
{
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    EXPECT_TRUE(QFile::copy(from, to));
    return to;
}

} // namespace

TEST_F(PlayerTest, PlayableVideoStaysAndSizesTheWindowFromTheMovie)
{
    frmPlayer& p = Start();
    ASSERT_TRUE(p.mnuResizeOnOpen->Checked());
    p.lstPlaylist->AddItem(clips::Video());
    p.lstPlaylist->AddItem(clips::Video());
    p.lstPlaylist->setListIndex(1);

    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(p.Media1->GetFileName(), clips::Video());
    EXPECT_EQ(p.lstPlaylist->ListCount(), 1) << "the opened row's duplicate is gone";
    // The video area has the picture's shape, at least its size, and the width the buttons and
    // the resize grip beside them need: the grip shows and covers no button.
    EXPECT_NEAR(p.ScaleWidth(), std::max(320 * 15 + p.scrVolume->Width(), p.NarrowestClientWidth()), 15);
    EXPECT_GE(p.framPlayer->Width(), 320 * 15);
    EXPECT_NEAR(p.framPlayer->Height() / p.framPlayer->Width(), 240.0 / 320.0, 0.01);
    EXPECT_TRUE(p.Frame1->isVisibleTo(&p));
    const QRect next(p.cmdNext->mapTo(p.Client(), QPoint(0, 0)), p.cmdNext->size());
    EXPECT_FALSE(next.intersects(p.Frame1->geometry())) << "the grip lies clear of the Next button";

    // Clearing the list leaves the file playing.
    ASSERT_TRUE(p.Media1->isMoviePlaying());
    emit p.mnuPlayerClear->Click();
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);
    EXPECT_TRUE(p.Media1->isMoviePlaying());
}

TEST_F(PlayerTest, AudioMarkersAreCaseSensitiveAndFoundAnywhereInTheRow)
{
    TempDir dir;
    frmPlayer& p = Start();

    p.lstPlaylist->AddItem(clips::Mp3());
    p.lstPlaylist->setListIndex(0);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_NEAR(p.Width(), 9495, 15);
    EXPECT_NEAR(p.Height(), 7200, 15);

    // A sound file that no marker catches has no picture: it gets the sound window's size too.
    p.lstPlaylist->AddItem(CopyTo(clips::Wav(), dir.file("TONE.WAV")));
    p.lstPlaylist->setListIndex(1);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_NEAR(p.Width(), 9495, 15);
    EXPECT_NEAR(p.Height(), 7200, 15);

    // Capitals are not an audio marker: a video so named is sized from its picture.
    p.lstPlaylist->AddItem(CopyTo(clips::Video(), dir.file("CLIP.MP3")));
    p.lstPlaylist->setListIndex(2);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_LT(p.Width(), 9495 - 15);

    // A video in a folder whose name holds ".mp3" is taken for audio.
    p.lstPlaylist->AddItem(CopyTo(clips::Video(), dir.file("best.mp3s/clip.mp4")));
    p.lstPlaylist->setListIndex(3);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_NEAR(p.Width(), 9495, 15);
    EXPECT_NEAR(p.Height(), 7200, 15);
}

TEST_F(PlayerTest, StartWithAClipPlaysItAndItBecomesARecentFile)
{
    TempDir dir;
    const QString clip = CopyTo(clips::Video(), dir.file("my clip ü.mp4"));
    frmPlayer& p = Start(clip);
    EXPECT_TRUE(user_.Boxes().empty());
    EXPECT_EQ(p.lstPlaylist->ListCount(), 1);
    EXPECT_EQ(p.lstPlaylist->Text(), clip);
    EXPECT_EQ(p.Media1->GetFileName(), clip);

    Exit();
    EXPECT_EQ(Read(Program("RecentFiles.ini")), ("\"\",\"" + clip + "\",\"\",\"\"\r\n").toUtf8());
}

TEST_F(PlayerTest, TheStartFilePlaysOnceAndALaterStartsFileIsStillTaken)
{
    TempDir dir;
    const QString clip = CopyTo(clips::Video(), dir.file("own.mp4"));
    CommandLog log;
    frmPlayer& p = Start(clip);
    ASSERT_TRUE(p.Media1->isMoviePlaying());
    EXPECT_EQ(p.LastHandoff, clip) << "the start's own file counts as taken";
    log.Take();

    // The position timer ticks a few times; each tick polls the hand-off file, which holds the
    // start's own file. Playback only moves on: the file is neither opened again nor rewound.
    QSignalSpy ticks(p.tmrCurrent, &forms::Timer::Tick);
    int last = 0;
    while (ticks.size() < 4 && ticks.wait(10000)) {
        QCoreApplication::processEvents();
        const int now = p.Media1->getPositionInMS();
        EXPECT_GE(now, last) << "playback went back";
        last = now;
    }
    ASSERT_GE(ticks.size(), 4);
    const QStringList sent = log.Take();
    EXPECT_TRUE(sent.filter(QRegularExpression("^(open|close|seek) ")).isEmpty()) << sent.join(", ").toStdString();
    EXPECT_EQ(Rows(*p.lstPlaylist), QStringList {clip});
    EXPECT_EQ(p.lstPlaylist->ListIndex(), 0) << "the start file stays the current row";
    EXPECT_TRUE(user_.Boxes().empty());

    // A later start's file is handed over and plays.
    PlayerFiles::WriteHandoff(clips::Wav());
    p.PollHandoff();
    EXPECT_EQ(Rows(*p.lstPlaylist), (QStringList {clip, clips::Wav()}));
    EXPECT_EQ(p.lstPlaylist->Text(), clips::Wav());
    EXPECT_EQ(p.Media1->GetFileName(), clips::Wav());

    Exit();
    EXPECT_EQ(Read(Program("RecentFiles.ini")), ("\"\",\"" + clips::Wav() + "\",\"\",\"\"\r\n").toUtf8());
}

TEST_F(PlayerTest, DamagedMediaIsReportedAndDropped)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem(clips::Damaged());
    p.lstPlaylist->AddItem(clips::Wav());
    p.lstPlaylist->setListIndex(0);
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - damaged");
    EXPECT_EQ(p.lstPlaylist->ListCount(), 1);
    EXPECT_EQ(p.lstPlaylist->Text(), clips::Wav()) << "the next row opened in its place";
}

TEST_F(PlayerTest, AFileThatCannotBePlayedGivesOneMessage)
{
    frmPlayer& p = Start(clips::Damaged());
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - damaged");
    // The position timer finds the start's own file in the hand-off file.
    p.PollHandoff();
    p.PollHandoff();
    EXPECT_EQ(user_.Boxes().size(), 1u);

    // A good file handed over afterwards still plays.
    PlayerFiles::WriteHandoff(clips::Wav());
    p.PollHandoff();
    EXPECT_EQ(p.lstPlaylist->Text(), clips::Wav());
    EXPECT_EQ(user_.Boxes().size(), 1u);
}
