#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"
#include "tests/cdaudio/DiscImage.h"
#include "tests/support/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

class CdAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cue_ = MakeDiscImage(dir_.path(), QStringLiteral("disc"), {3, 4, 2});
        ASSERT_FALSE(cue_.isEmpty());
        qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    }

    QString Ask(mci::CdAudioDevice& device, const QString& command, int* error = nullptr)
    {
        QString reply;
        const int rc = device.Command(command.split(QLatin1Char(' ')), reply);
        if (error) *error = rc;
        return reply;
    }

    TempDir dir_;
    QString cue_;
};

} // namespace

TEST_F(CdAudioDeviceTest, ReportsTheTableOfContentsInEachTimeFormat)
{
    mci::CdAudioDevice cd;
    EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("true"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status number of tracks wait")), QStringLiteral("3"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));
    EXPECT_EQ(Ask(cd, QStringLiteral("set time format tmsf wait")), QString());
    EXPECT_EQ(Ask(cd, QStringLiteral("status length")), QStringLiteral("00:09:00"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status length track 2")), QStringLiteral("00:04:00"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("01:00:00:00"));

    int error = 0;
    Ask(cd, QStringLiteral("seek to 3"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("03:00:00:00"));
    Ask(cd, QStringLiteral("set time format milliseconds"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("9000")); // 2 s lead-in + 7 s
    EXPECT_EQ(Ask(cd, QStringLiteral("status length track 1")), QStringLiteral("3000"));
    Ask(cd, QStringLiteral("seek to 3500"), &error);
    EXPECT_EQ(error, 0);
    Ask(cd, QStringLiteral("set time format tmsf"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("01:00:01:37"));

    Ask(cd, QStringLiteral("seek to 4"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::OutOfRange));
    Ask(cd, QStringLiteral("set time format milliseconds"));
    Ask(cd, QStringLiteral("play from 11500"), &error); // beyond the end of the disc
    EXPECT_EQ(error, static_cast<int>(mci::Err::OutOfRange));
    Ask(cd, QStringLiteral("play from 1000"), &error); // before its start
    EXPECT_EQ(error, static_cast<int>(mci::Err::OutOfRange));
    Ask(cd, QStringLiteral("set time format furlongs"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::BadTimeFormat));
    Ask(cd, QStringLiteral("fly"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::UnrecognizedCommand));
}

TEST_F(CdAudioDeviceTest, PlaysPausesResumesAndStops)
{
    mci::CdAudioDevice cd;
    Ask(cd, QStringLiteral("set time format tmsf"));
    int error = 0;
    Ask(cd, QStringLiteral("play from 2"), &error);
    ASSERT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("playing"));
    // The sound server may take a moment to start the stream.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("02:00:01"); }, 8000));
    const QString playing = Ask(cd, QStringLiteral("status position"));
    EXPECT_TRUE(playing.startsWith(QStringLiteral("02:00:01"))) << playing.toStdString();

    Ask(cd, QStringLiteral("pause"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("paused"));
    const QString paused = Ask(cd, QStringLiteral("status position"));
    QTest::qWait(300);
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), paused);

    Ask(cd, QStringLiteral("play"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("playing"));
    Ask(cd, QStringLiteral("stop wait"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("02:00:01")));

    // A seek while playing stops playback there.
    Ask(cd, QStringLiteral("play from 3"));
    Ask(cd, QStringLiteral("seek to 1"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("01:00:00:00"));
}

TEST_F(CdAudioDeviceTest, OpeningTheDoorOfAnImageDriveTakesTheDiscOut)
{
    mci::CdAudioDevice cd;
    Ask(cd, QStringLiteral("set time format tmsf"));
    Ask(cd, QStringLiteral("play from 1"));
    Ask(cd, QStringLiteral("set door open"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("false"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("open"));
    int error = 0;
    Ask(cd, QStringLiteral("status position"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::DeviceNotReady));
    Ask(cd, QStringLiteral("play from 1"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::DeviceNotReady));

    Ask(cd, QStringLiteral("set door closed"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("true"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("01:00:00:00"));
}
