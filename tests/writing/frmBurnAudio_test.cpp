// The audio disc window over the disc-image recorder.
#include "components/cdwriter/CDWriterXP.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"
#include "writing/RecorderChoice.h"
#include "writing/frmBurnAudio.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class frmBurnAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        image_ = dir_.file(QStringLiteral("recorder.iso"));
        qputenv("TESSEL_RECORDER", image_.toUtf8());
        for (const auto& [name, hz] : {std::pair {"one.wav", 440}, {"two.wav", 550}, {"three.wav", 660}})
            RunTool(QStringLiteral("sox"), {"-n", "-r", "44100", "-b", "16", "-c", "2", dir_.file(QString::fromLatin1(name)), "synth",
                "2", "sine", QString::number(hz), "vol", "0.3"});
        RunTool(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=330:duration=3",
            "-ac", "2", dir_.file(QStringLiteral("four.mp3"))});
        Write(dir_.file(QStringLiteral("notes.txt")), "not audio");
        QDir(dir_.path()).mkdir(QStringLiteral("folder"));
    }

    void TearDown() override
    {
        if (auto* w = forms::Instances::Existing<frmBurnAudio>()) {
            if (!w->UiEnabled()) {
                w->cmdCancel_Click();
                WaitFor([w] { return w->UiEnabled(); });
            }
            w->Unload();
        }
        QApplication::processEvents();
        qunsetenv("TESSEL_RECORDER");
    }

    frmBurnAudio& Open()
    {
        auto& w = forms::Instance<frmBurnAudio>();
        w.Show();
        return w;
    }

    QStringList Column(frmBurnAudio& w, int column)
    {
        QStringList texts;
        for (int row = 1; row <= w.lvwAudioTracks->Count(); ++row)
            texts << w.lvwAudioTracks->Text(row, column);
        return texts;
    }

    QString File(const char* name) { return dir_.file(QString::fromLatin1(name)); }

    TempDir dir_;
    QString image_;
    ScriptedUser user_;
};

} // namespace

TEST_F(frmBurnAudioTest, DroppedFilesBecomeTracksAtTheSelectedRow)
{
    frmBurnAudio& w = Open();
    EXPECT_EQ(w.Caption(), QStringLiteral("Burn Audio CD"));
    EXPECT_EQ(w.sbrStatus->Text(), QStringLiteral("Drag High Quality mp3 or wav Files"));
    ASSERT_GE(w.Recorder->SelectedDrive(), 0);
    EXPECT_TRUE(w.cmdWriteDisc->isEnabled());
    EXPECT_FALSE(w.cmdCancel->isEnabled());
    // The image recorder does not tell a speed.
    ASSERT_EQ(w.cboWriteSpeed->ListCount(), 1);
    EXPECT_EQ(w.cboWriteSpeed->List(0), QStringLiteral("Default"));

    w.lvwAudioTracks_Drop({File("one.wav"), File("two.wav")});
    EXPECT_FALSE(w.lblDragAndDrop->isVisible());
    w.lvwAudioTracks->setSelectedIndex(2);
    // A rejected file still takes its place in the count; a folder is passed over.
    w.lvwAudioTracks_Drop({File("four.mp3"), File("folder"), File("notes.txt"), File("three.wav")});
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, QStringLiteral("notes.txt - Invalid Audio Format...High quality .mp3 & .wav files only!"));
    EXPECT_EQ(Column(w, 1), (QStringList {"one.wav", "four.mp3", "two.wav", "three.wav"}));
    EXPECT_EQ(Column(w, 0), (QStringList {"01", "02", "03", "04"}));
    EXPECT_EQ(Column(w, 2), (QStringList {"WAV", "MP3", "WAV", "WAV"}));
    EXPECT_EQ(Column(w, 3), (QStringList {"0:02", "0:03", "0:02", "0:02"}));
    EXPECT_EQ(w.sbrStatus->Text(), QStringLiteral("0:09 Mins. Used"));

    w.lvwAudioTracks->setSelectedIndex(3);
    w.mnuFileRemove->Click();
    EXPECT_EQ(Column(w, 1), (QStringList {"one.wav", "four.mp3", "three.wav"}));
    w.mnuFileClear->Click();
    EXPECT_EQ(w.lvwAudioTracks->Count(), 0);
    EXPECT_EQ(w.CDWriterXP1->TrackCount(), 0);
    EXPECT_EQ(w.sbrStatus->Text(), QStringLiteral("0:07 Mins. Used")); // left until the next refresh
}

TEST_F(frmBurnAudioTest, WritesTheDiscThenRefusesItAsNotEmpty)
{
    frmBurnAudio& w = Open();
    w.lvwAudioTracks_Drop({File("one.wav"), File("four.mp3")});
    QSignalSpy started(w.CDWriterXP1, &CDWriterXP::PreparingToWrite);
    QSignalSpy done(w.CDWriterXP1, &CDWriterXP::WriteComplete);
    w.cmdWriteDisc_Click();
    ASSERT_TRUE(WaitFor([&] { return done.size() == 1; }));
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(w.sbrStatus->Text(), QStringLiteral("Writing Complete!"));
    ASSERT_FALSE(user_.Boxes().empty());
    EXPECT_EQ(user_.Boxes().back().prompt, QStringLiteral("Writing is complete!"));
    EXPECT_EQ(w.prgTotalProgress->Value(), 100);
    EXPECT_TRUE(QFileInfo::exists(image_ + QStringLiteral(".cue")));

    w.cmdWriteDisc_Click();
    EXPECT_EQ(user_.Boxes().back().prompt, QStringLiteral("Please insert an empty disc for recording."));
    EXPECT_TRUE(w.UiEnabled());
}

TEST_F(frmBurnAudioTest, ATestWriteCanBeCancelledAndTheWindowStaysWhileWriting)
{
    RunTool(QStringLiteral("sox"), {"-n", "-r", "44100", "-b", "16", "-c", "2", File("long.wav"), "synth", "120", "sine", "440"});
    frmBurnAudio& w = Open();
    w.lvwAudioTracks_Drop({File("long.wav")});
    w.chkTestWrite->setValue(forms::CheckValue::Checked);
    bool refused = false;
    QObject::connect(w.CDWriterXP1, &CDWriterXP::PreparingToWrite, &w, [&] { refused = !w.Unload(); });
    QSignalSpy ended(w.CDWriterXP1, &CDWriterXP::WriteCancelled);
    w.cmdWriteDisc_Click();
    // Cancelled at once, before the worker can be through two minutes of sound however busy the
    // machine is: waiting for its first progress report raced a fast write to its end. The job's
    // first event still comes before its last, so closing is tried while it writes.
    w.cmdCancel_Click();
    ASSERT_TRUE(WaitFor([&] { return ended.size() == 1; }));
    EXPECT_TRUE(refused) << "closing is refused while writing";
    EXPECT_TRUE(w.UiEnabled());
    EXPECT_EQ(w.sbrStatus->Text(), QStringLiteral("Writing Cancelled......"));
    EXPECT_EQ(w.CDWriterXP1->DiscStatus(), 0);
}

TEST_F(frmBurnAudioTest, WithoutARecorderTheWindowSaysSoAndRefusesToWrite)
{
    qunsetenv("TESSEL_RECORDER");
    frmBurnAudio& w = Open();
    if (w.CDWriterXP1->DeviceCount() > 0) GTEST_SKIP() << "this machine has a recorder";
    ASSERT_FALSE(user_.Boxes().empty());
    EXPECT_EQ(user_.Boxes()[0].prompt,
        QStringLiteral("There are no compatible CDR drives reported.\r\nSome older CDR drives are not currently supported."));
    EXPECT_EQ(w.cboWriteSpeed->ListCount(), 0);
    w.cmdWriteDisc_Click();
    EXPECT_EQ(user_.Boxes().back().prompt, QStringLiteral("A drive is not selected or does not exist."));
}
