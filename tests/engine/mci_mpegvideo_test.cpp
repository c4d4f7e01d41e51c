// The MPEGVideo device over libmpv, with real files and null outputs.
#include "platform/mci/Errors.h"
#include "tests/engine/CommandLog.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace Err = mci::Err;

namespace {

QString Error(unsigned code) { return QStringLiteral("error %1").arg(code); }
int Number(const QString& command) { return Ask(command).toInt(); }

class MpegVideo : public ::testing::Test {
protected:
    void TearDown() override { Send("close all"); }
    void Open(const QString& file, const QString& alias = "v")
    {
        ASSERT_EQ(Send("open \"" + file + "\" type MPEGVideo alias " + alias), 0u) << file.toStdString();
    }
};

} // namespace

TEST_F(MpegVideo, OpenAnswersAtOnceWhatTheFileIs)
{
    Open(clips::Video());
    EXPECT_EQ(Ask("status v ready"), "true");
    EXPECT_EQ(Ask("status v mode"), "stopped");
    EXPECT_EQ(Ask("status v position"), "0");
    EXPECT_NEAR(Number("status v length"), 4000, 50);
    EXPECT_EQ(Ask("status v time format"), "milliseconds");
    EXPECT_EQ(Ask("where v source"), "0 0 320 240");
    EXPECT_EQ(Ask("status v nominal frame rate wait"), "25000");
    EXPECT_EQ(Ask("status v frame rate"), "25000");
    EXPECT_EQ(Ask("status v speed"), "1000");
    EXPECT_EQ(Ask("status v volume"), "1000");
    EXPECT_EQ(Ask("status v audio"), "on");
    EXPECT_EQ(Ask("status v video"), "on");
    EXPECT_EQ(Ask("status v monitor input"), "file");
    EXPECT_GT(Number("status v bitsperpel"), 0);
    EXPECT_FALSE(Ask("info v product").isEmpty());
    EXPECT_FALSE(Ask("info v version").startsWith("error"));

    EXPECT_EQ(Send("set v time format frames"), 0u);
    EXPECT_EQ(Ask("status v time format"), "frames");
    EXPECT_EQ(Ask("status v length"), "100");
    EXPECT_EQ(Send("set v time format tmsf"), Err::BadTimeFormat);
    EXPECT_EQ(Send("set v time format ms"), 0u);
    EXPECT_EQ(Ask("status v time format"), "milliseconds");

    EXPECT_EQ(Ask("status v colour"), Error(Err::UnrecognizedKeyword));
    EXPECT_EQ(Ask("status v"), Error(Err::MissingParameter));
    EXPECT_EQ(Send("record v"), Err::UnrecognizedCommand);
    EXPECT_EQ(Send("open \"" + clips::Video() + "\" type MPEGVideo alias V"), Err::DuplicateAlias);

    Open(clips::Mpeg4Video(), "m4");
    EXPECT_EQ(Ask("where m4 source"), "0 0 176 144");
    EXPECT_EQ(Ask("status m4 nominal frame rate"), "25000");
}

TEST_F(MpegVideo, PlayPauseResumeAndStopKeepTheFileOpen)
{
    Open(clips::Video());
    EXPECT_EQ(Send("play v"), 0u) << "play returns at once";
    EXPECT_EQ(Ask("status v mode"), "playing");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("status v position") > 100; }, 20000));

    EXPECT_EQ(Send("pause v"), 0u);
    EXPECT_EQ(Ask("status v mode"), "paused");
    const int paused = Number("status v position");
    QTest::qWait(150);
    EXPECT_EQ(Number("status v position"), paused);

    EXPECT_EQ(Send("resume v"), 0u);
    EXPECT_EQ(Ask("status v mode"), "playing");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("status v position") > paused; }, 20000));

    EXPECT_EQ(Send("stop v"), 0u);
    EXPECT_EQ(Ask("status v mode"), "stopped");
    EXPECT_EQ(Ask("status v ready"), "true") << "stop keeps the file open";
    EXPECT_EQ(Send("play v"), 0u);
    EXPECT_EQ(Ask("status v mode"), "playing");
}

TEST_F(MpegVideo, SeekStepAndPlayRangesLandWhereAsked)
{
    Open(clips::Video());
    EXPECT_EQ(Send("seek v to 2000"), 0u);
    EXPECT_NEAR(Number("status v position"), 2000, 40);
    EXPECT_EQ(Ask("status v mode"), "stopped");
    EXPECT_EQ(Send("seek v to end"), 0u);
    EXPECT_EQ(Ask("status v position"), Ask("status v length"));
    EXPECT_EQ(Send("seek v to start"), 0u);
    EXPECT_EQ(Ask("status v position"), "0");
    EXPECT_EQ(Send("seek v to 4500"), Err::OutOfRange);
    EXPECT_EQ(Send("play v from -1"), Err::OutOfRange);
    EXPECT_EQ(Send("seek v to soon"), Err::BadInteger);
    EXPECT_EQ(Send("seek v"), Err::MissingParameter);

    EXPECT_EQ(Send("set v time format frames"), 0u);
    EXPECT_EQ(Send("step v by 5"), 0u);
    EXPECT_EQ(Ask("status v position"), "5");
    EXPECT_EQ(Ask("status v mode"), "paused");
    EXPECT_EQ(Send("step v by -2"), 0u);
    EXPECT_EQ(Ask("status v position"), "3");
    EXPECT_EQ(Send("step v reverse"), 0u);
    EXPECT_EQ(Ask("status v position"), "2");
    EXPECT_EQ(Send("seek v to 50"), 0u);
    EXPECT_EQ(Ask("status v position"), "50");

    EXPECT_EQ(Send("set v time format milliseconds"), 0u);
    EXPECT_EQ(Send("play v from 1000 to 1400 wait"), 0u) << "wait returns when the range is played";
    EXPECT_EQ(Ask("status v mode"), "stopped");
    EXPECT_NEAR(Number("status v position"), 1400, 100);

    EXPECT_EQ(Send("play v from 3800 wait"), 0u);
    EXPECT_EQ(Ask("status v mode"), "stopped") << "playing to the end stops the device";
    EXPECT_EQ(Ask("status v position"), Ask("status v length"));
    EXPECT_EQ(Send("play v"), 0u);
    EXPECT_EQ(Ask("status v mode"), "stopped") << "at the end there is nothing left to play";
}

TEST_F(MpegVideo, WindingThroughALongGopFileKeepsMoving)
{
    Open(clips::LongGopVideo());
    ASSERT_EQ(Send("play v"), 0u);
    // Fast forward plays on from a little further every timer tick; each jump lands between key
    // frames ten seconds apart. The position follows at once, the picture as fast as it decodes.
    int target = 0;
    for (int tick = 0; tick < 150; ++tick) {
        target += 300;
        ASSERT_EQ(Send("play v from " + QString::number(target)), 0u);
        EXPECT_GE(Number("status v position"), target) << "tick " << tick;
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(Ask("status v mode"), "playing");
    // Once the wind stops, playback goes on from where it went.
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("status v position") > target + 200; }, 20000));
}

TEST_F(MpegVideo, SpeedVolumeAndChannelsChangeWhilePlaying)
{
    Open(clips::Video());
    EXPECT_EQ(Send("set v speed 2000"), 0u);
    EXPECT_EQ(Ask("status v speed"), "2000");
    EXPECT_EQ(Ask("status v frame rate"), "50000");
    EXPECT_EQ(Send("set v speed 0"), Err::OutOfRange);

    // How fast it plays on a loaded machine is the benchmark's business; here it plays on.
    EXPECT_EQ(Send("play v"), 0u);
    const int before = Number("status v position");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("status v position") > before + 500; }, 20000));

    EXPECT_EQ(Send("setaudio v volume to 500"), 0u);
    EXPECT_EQ(Send("setaudio v left volume to 300"), 0u);
    EXPECT_EQ(Send("setaudio v right volume to 800"), 0u);
    EXPECT_EQ(Ask("status v volume"), "500");
    EXPECT_EQ(Ask("status v left volume"), "300");
    EXPECT_EQ(Ask("status v right volume"), "800");
    EXPECT_EQ(Send("setaudio v volume to 1001"), Err::OutOfRange);
    EXPECT_EQ(Send("setaudio v volume to loud"), Err::BadInteger);

    EXPECT_EQ(Send("set v audio left off"), 0u);
    EXPECT_EQ(Ask("status v audio"), "on");
    EXPECT_EQ(Send("set v audio right off"), 0u);
    EXPECT_EQ(Ask("status v audio"), "off");
    EXPECT_EQ(Send("set v audio all on"), 0u);
    EXPECT_EQ(Ask("status v audio"), "on");
    EXPECT_EQ(Send("set v audio left maybe"), Err::BadConstant);

    const int during = Number("status v position");
    EXPECT_EQ(Ask("status v mode"), "playing") << "channel changes do not restart playback";
    EXPECT_TRUE(QTest::qWaitFor([&] { return Number("status v position") > during; }, 20000));

    EXPECT_EQ(Send("setvideo v off"), 0u);
    EXPECT_EQ(Ask("status v video"), "off");
    EXPECT_EQ(Send("set all video on"), 0u);
    EXPECT_EQ(Ask("status v video"), "on");
}

TEST_F(MpegVideo, SoundFilesHaveNoPictureAndNoFrames)
{
    for (const QString& file : {clips::Mp3(), clips::Wav()}) {
        Open(file);
        EXPECT_NEAR(Number("status v length"), 3000, 60) << file.toStdString();
        EXPECT_EQ(Ask("where v source"), "0 0 0 0");
        EXPECT_EQ(Send("set v time format frames"), Err::BadTimeFormat);
        EXPECT_EQ(Ask("status v time format"), "milliseconds");
        EXPECT_EQ(Ask("status v nominal frame rate"), Error(Err::UnsupportedFunction));
        EXPECT_EQ(Send("step v by 1"), Err::UnsupportedFunction);
        EXPECT_EQ(Send("play v from 1000"), 0u);
        EXPECT_EQ(Ask("status v mode"), "playing");
        // Once the sound has been playing, a seek still lands exactly where it was sent.
        EXPECT_TRUE(QTest::qWaitFor([] { return Number("status v position") > 1100; }, Patience));
        EXPECT_EQ(Send("seek v to 2000"), 0u);
        EXPECT_EQ(Ask("status v position"), "2000");
        EXPECT_EQ(Send("close v"), 0u);
    }
}

TEST_F(MpegVideo, AFileThatIsMissingOrNoMediaDoesNotOpen)
{
    EXPECT_EQ(Send("open \"/no/such/clip.mp4\" type MPEGVideo alias v"), Err::FileNotFound);
    EXPECT_EQ(Send("open \"" + clips::Damaged() + "\" type MPEGVideo alias v"), Err::InvalidFile);
    EXPECT_EQ(Ask("status v ready"), Error(Err::InvalidDeviceName));
    Open(clips::Video()) /* the alias is still free */;
}

TEST_F(MpegVideo, TheWindowHandleBindsThePictureToAWindow)
{
    Open(clips::Video());
    QWidget surface;
    surface.resize(200, 100);
    EXPECT_EQ(Send(QStringLiteral("window v handle %1").arg(surface.winId())), 0u);
    EXPECT_EQ(Ask("where v destination max"), "0 0 200 100");
    EXPECT_EQ(Ask("where v destination"), "0 0 200 100");
    EXPECT_EQ(Send("put v destination at 10 10 50 40"), 0u);
    EXPECT_EQ(Ask("where v destination"), "10 10 50 40");
    EXPECT_EQ(Send("put v destination"), 0u);
    EXPECT_EQ(Ask("where v destination"), "0 0 200 100");
    EXPECT_EQ(Send("put v window at 1 2 -3 4"), Err::OutOfRange);
    EXPECT_EQ(Send("window v state minimized"), 0u);
    EXPECT_EQ(Send("window v state sideways"), Err::BadConstant);
    EXPECT_EQ(Send("window v handle default"), 0u);
    EXPECT_EQ(Ask("where v destination max"), "0 0 320 240") << "without a window, the picture's own size";
}

TEST_F(MpegVideo, CloseAllClosesEveryAliasOfTheProcess)
{
    Open(clips::Video(), "first");
    Open(clips::Mp3(), "second");
    EXPECT_EQ(Send("close all"), 0u);
    EXPECT_EQ(Send("status first mode"), Err::InvalidDeviceName);
    EXPECT_EQ(Send("status second mode"), Err::InvalidDeviceName);
}
