// The go-to window and the file properties window against a player playing real clips.
#include "tests/dialogs/PlayerHost.h"

#include "components/skin/Skin.h"
#include "dialogs/Files.h"
#include "dialogs/frmGoTo.h"
#include "dialogs/frmProperties.h"
#include "engine/Slider.h"
#include "platform/forms/MsgBox.h"
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <cmath>

namespace {

// Three and a half minutes of quiet sound: long enough for every example time.
QString LongClip()
{
    const QString folder = QStringLiteral(TESSEL_BINARY_DIR "/test-media");
    const QString path = folder + QStringLiteral("/goto.wav");
    if (QFile::exists(path)) return path;
    QDir().mkpath(folder);
    const QString partial = path + QStringLiteral(".%1.part").arg(QCoreApplication::applicationPid());
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
        {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=300:sample_rate=8000", "-t", "210", "-ac", "1",
            "-c:a", "pcm_u8", "-f", "wav", partial});
    ffmpeg.waitForFinished(60000);
    EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
    // Another test program may have made it meanwhile.
    if (!QFile::rename(partial, path)) QFile::remove(partial);
    return path;
}

class GoToTest : public PlayerHostTest {
protected:
    // The window opened from the player's menu, on a paused long clip whose length the bar knows.
    frmGoTo& Open()
    {
        Play(LongClip());
        player->Media1->PauseMovie();
        EXPECT_TRUE(WaitFor([&] { return player->scrPosition->MaxValue() >= 200; })) << "the position timer set the bar";
        Choose(player->mnuGoTo);
        frmGoTo* w = forms::Instances::Existing<frmGoTo>();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    void GoTo(frmGoTo& w, const QString& h, const QString& m, const QString& s)
    {
        w.txtHour->setText(h);
        w.txtMin->setText(m);
        w.txtSec->setText(s);
        w.cmdGoTo->click();
    }

    double Position() { return player->Media1->getPositionInMS() / 1000.0; }
};

} // namespace

TEST_F(GoToTest, TypedTimesSeekTheClipAndTheBar)
{
    frmGoTo& w = Open();
    EXPECT_EQ(w.Caption(), "Go To Position");
    EXPECT_EQ(w.txtHour->Text(), "00");
    EXPECT_EQ(w.txtMin->Text(), "00");
    EXPECT_EQ(w.txtSec->Text(), "00");
    EXPECT_TRUE(w.isVisible());

    GoTo(w, "0", "1", "30");
    EXPECT_EQ(player->scrPosition->Value(), 90);
    EXPECT_NEAR(Position(), 90, 0.5);

    GoTo(w, "0", "0", "125");
    EXPECT_EQ(player->scrPosition->Value(), 125) << "seconds above 59 are taken as they are";
    EXPECT_NEAR(Position(), 125, 0.5);

    GoTo(w, "00", "00", "1.5");
    EXPECT_EQ(player->scrPosition->Value(), 1.5) << "a fraction is accepted";
    EXPECT_NEAR(Position(), 1.5, 0.05) << "the fraction reaches the playback control";

    // Enter in a box seeks as the button does.
    w.txtHour->setText("0");
    w.txtMin->setText("2");
    w.txtSec->setText("0");
    w.txtSec->setFocus();
    QTest::keyClick(w.txtSec, Qt::Key_Return);
    EXPECT_NEAR(Position(), 120, 0.5);
    EXPECT_TRUE(w.isVisible()) << "the window stays open after a seek";
}

TEST_F(GoToTest, FractionsOfASecondAreKeptPausedAndPlaying)
{
    frmGoTo& w = Open();
    const struct {
        const char* seconds;
        int ms;
    } examples[] = {{"1.5", 1500}, {"0.25", 250}, {"59.9", 59900}};
    CommandLog log;
    for (const auto& example : examples) {
        GoTo(w, "0", "0", example.seconds);
        EXPECT_TRUE(log.Take().contains(QStringLiteral("seek music to %1").arg(example.ms))) << example.seconds;
        EXPECT_NEAR(Position(), example.ms / 1000.0, 0.01) << example.seconds;
    }

    player->Media1->playMovie();
    ASSERT_TRUE(player->Media1->isMoviePlaying());
    for (const auto& example : examples) {
        log.Take();
        GoTo(w, "0", "0", example.seconds);
        EXPECT_TRUE(log.Take().contains(QStringLiteral("play music from %1").arg(example.ms))) << example.seconds;
        EXPECT_TRUE(player->Media1->isMoviePlaying());
    }
}

TEST_F(GoToTest, ABoxWithoutANumberSeeksToWhereTheBarStands)
{
    frmGoTo& w = Open();
    GoTo(w, "0", "0", "60");
    ASSERT_NEAR(Position(), 60, 0.5);
    player->scrPosition->setValue(30); // as a click on the bar leaves it, before the seek

    GoTo(w, "0", "x", "10");
    EXPECT_EQ(player->scrPosition->Value(), 30);
    EXPECT_NEAR(Position(), 30, 0.5);
    GoTo(w, "", "0", "10");
    EXPECT_NEAR(Position(), 30, 0.5);
    EXPECT_TRUE(user.Boxes().empty()) << "no message";
}

TEST_F(GoToTest, ItsTimerShowsTheLengthOfThePlayingFile)
{
    frmGoTo& w = Open();
    EXPECT_TRUE(w.Timer1->Enabled());
    EXPECT_EQ(w.Timer1->Interval(), 1000);
    w.Timer1_Timer();
    EXPECT_EQ(w.lblTime->Caption(), "00:03:30");
    Choose(player->mnuGoTo);
    EXPECT_EQ(forms::Instances::Existing<frmGoTo>(), &w) << "one window";
}

namespace {

class PropertiesTest : public PlayerHostTest {
protected:
    frmProperties& Open()
    {
        Choose(player->mnuProperties);
        frmProperties* w = forms::Instances::Existing<frmProperties>();
        EXPECT_NE(w, nullptr);
        return *w;
    }

    // Waits for the window's next refresh.
    static void NextTick(frmProperties& w)
    {
        QSignalSpy tick(w.Timer1, &forms::Timer::Tick);
        ASSERT_TRUE(tick.wait(Patience));
    }

    TempDir dir;
};

} // namespace

TEST_F(PropertiesTest, AnEmptyPlaylistGetsTheMessageAndNoWindow)
{
    Choose(player->mnuCustomProperties);
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].prompt, "No File To Get Properties From!");
    EXPECT_EQ(user.Boxes()[0].style, forms::MsgBoxStyle::Information);
    EXPECT_FALSE(forms::Instances::Exists<frmProperties>());
}

TEST_F(PropertiesTest, AVideoShowsEveryField)
{
    QString video = dir.file("holiday clip.mp4");
    ASSERT_TRUE(QFile::copy(clips::Video(), video));
    Play(video);
    frmProperties& w = Open();
    EXPECT_EQ(w.Timer1->Interval(), 1);
    NextTick(w);
    EXPECT_EQ(w.Caption(), "holiday clip.mp4 - Properties");
    EXPECT_EQ(w.txtFileName->Text(), "holiday clip.mp4");
    EXPECT_EQ(w.txtPath->Text(), video);
    EXPECT_EQ(w.txtSize->Text(), Files::FileSizeText(video));
    EXPECT_TRUE(w.txtSize->Text().endsWith(" KB"));
    EXPECT_EQ(w.txtPlayLength->Text(), "00:00:04");
    EXPECT_EQ(w.txtVidSize->Text(), "320 X 240");
    EXPECT_EQ(w.txtType->Text(), "mp4 File");
    EXPECT_EQ(w.txtDate->Text(), Files::FileDateText(video));
    EXPECT_FALSE(w.txtDate->Text().isEmpty());
    EXPECT_TRUE(w.txtPosition->Text().startsWith("00:00:0"));
    EXPECT_EQ(w.SkinLabel7->Caption(), "Date Last Modified:");
}

TEST_F(PropertiesTest, SoundWithoutPictureAndAFileThatWentMissing)
{
    const QString wav = dir.file("tone.wav");
    ASSERT_TRUE(QFile::copy(clips::Wav(), wav));
    Play(wav);
    frmProperties& w = Open();
    NextTick(w);
    EXPECT_EQ(w.txtVidSize->Text(), "0 X 0");
    EXPECT_EQ(w.txtType->Text(), "wav File");
    EXPECT_EQ(w.txtPlayLength->Text(), "00:00:03");

    ASSERT_TRUE(QFile::remove(wav));
    NextTick(w);
    EXPECT_EQ(w.Caption(), " - Properties");
    EXPECT_EQ(w.txtFileName->Text(), "");
    EXPECT_EQ(w.txtPath->Text(), wav);
    EXPECT_EQ(w.txtSize->Text(), "");
    EXPECT_EQ(w.txtDate->Text(), "");
    EXPECT_EQ(w.txtType->Text(), "Unknown File");
}

TEST_F(PropertiesTest, ChoosingAnotherRowChangesEveryFieldWithinOneTick)
{
    const QString video = dir.file("first.mp4");
    const QString mp3 = dir.file("second song.mp3");
    ASSERT_TRUE(QFile::copy(clips::Video(), video));
    ASSERT_TRUE(QFile::copy(clips::Mp3(), mp3));
    Play(video);
    frmProperties& w = Open();
    NextTick(w);
    ASSERT_EQ(w.txtVidSize->Text(), "320 X 240");

    Play(mp3);
    NextTick(w);
    EXPECT_EQ(w.Caption(), "second song.mp3 - Properties");
    EXPECT_EQ(w.txtFileName->Text(), "second song.mp3");
    EXPECT_EQ(w.txtPath->Text(), mp3);
    EXPECT_EQ(w.txtSize->Text(), Files::FileSizeText(mp3));
    EXPECT_EQ(w.txtPlayLength->Text(), "00:00:03");
    EXPECT_EQ(w.txtVidSize->Text(), "0 X 0");
    EXPECT_EQ(w.txtType->Text(), "mp3 File");

    // A path the file system cannot list keeps the window alive.
    player->lstPlaylist->setText(QString(5000, QLatin1Char('/')) + QStringLiteral("x*"));
    NextTick(w);
    NextTick(w);
    EXPECT_TRUE(w.isVisible());
}
