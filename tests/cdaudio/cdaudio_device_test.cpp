#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"
#include "tests/cdaudio/DiscImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
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

TEST_F(CdAudioDeviceTest, TheDiscStaysInWhileItStartsAndAJumpIsReportedAtOnce)
{
    mci::CdAudioDevice cd;
    Ask(cd, QStringLiteral("set time format tmsf"));
    int error = 0;
    Ask(cd, QStringLiteral("play from 1"), &error);
    ASSERT_EQ(error, 0);
    // Every question reads the disc again while the player opens it.
    for (int i = 0; i < 20; ++i)
        ASSERT_EQ(Ask(cd, QStringLiteral("status media present")).toStdString(), "true");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("01:00:01"); }, 8000));

    Ask(cd, QStringLiteral("play from 3"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("03:00:00")));
    Ask(cd, QStringLiteral("play from 2"));
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("02:00:00")));
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("playing"));
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

namespace {

// What the sound server plays, recorded from the monitor of its null sink for a moment.
QByteArray RecordWhatIsHeard(int milliseconds)
{
    QProcess parec;
    parec.start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"),
        QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
        QStringLiteral("--raw")});
    if (!parec.waitForStarted()) return {};
    QTest::qWait(milliseconds);
    parec.terminate();
    parec.waitForFinished();
    return parec.readAllStandardOutput();
}

bool SoundServerRuns() { return QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("info")}) == 0; }

} // namespace

TEST_F(CdAudioDeviceTest, OnADiscThatStartsWithDataTracksPositionsAndSoundAgree)
{
    cue_ = MakeDiscImage(dir_.path(), QStringLiteral("mixed"), {4, 4, 4}, {.dataSeconds = 2, .binName = {}});
    ASSERT_FALSE(cue_.isEmpty());
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    // This test listens to the sound server, so the player must not use its silent outputs.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "listening");
    mci::CdAudioDevice cd;
    Ask(cd, QStringLiteral("set time format tmsf"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status number of tracks")), QStringLiteral("4"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("02:00:00:00"));
    Ask(cd, QStringLiteral("seek to 3"));
    Ask(cd, QStringLiteral("seek to start"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status position")), QStringLiteral("02:00:00:00"));

    // The data track plays nothing.
    int error = 0;
    Ask(cd, QStringLiteral("play from 1"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));
    EXPECT_EQ(Ask(cd, QStringLiteral("status current track")), QStringLiteral("1"));

    // Track 3 is the second tone, 400 Hz, and that is what is heard.
    Ask(cd, QStringLiteral("play from 3"), &error);
    ASSERT_EQ(error, 0);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("03:00:00:30"); }, 8000));
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("03:00:0")));
    if (SoundServerRuns()) {
        const double heard = ToneFrequency(RecordWhatIsHeard(1000), 44100);
        EXPECT_NEAR(heard, 400, 40);
    }
    Ask(cd, QStringLiteral("stop"));
    qputenv("QT_QPA_PLATFORM", platform);
}

TEST_F(CdAudioDeviceTest, ACueSheetIsFollowedToItsDataFileAndABadOneIsAnError)
{
    // The sheet names a data file of another name.
    cue_ = MakeDiscImage(dir_.path(), QStringLiteral("album"), {2, 3}, {.dataSeconds = 0, .binName = QStringLiteral("Disc One (2001).img")});
    ASSERT_FALSE(cue_.isEmpty());
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    {
        mci::CdAudioDevice cd;
        EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("true"));
        EXPECT_EQ(Ask(cd, QStringLiteral("status number of tracks")), QStringLiteral("2"));
        Ask(cd, QStringLiteral("set time format tmsf"));
        int error = 0;
        Ask(cd, QStringLiteral("play from 2"), &error);
        EXPECT_EQ(error, 0);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("02:00:00:30"); }, 8000));
        Ask(cd, QStringLiteral("stop"));
    }

    // A sheet whose data file is gone, and one that is not a sheet, are errors, not an empty drive.
    QFile::remove(dir_.path() + QStringLiteral("/Disc One (2001).img"));
    for (const QByteArray& content : {QByteArray("FILE \"Disc One (2001).img\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"),
             QByteArray(5000, '\x01')}) {
        QFile sheet(cue_);
        ASSERT_TRUE(sheet.open(QIODevice::WriteOnly | QIODevice::Truncate));
        sheet.write(content);
        sheet.close();
        mci::CdAudioDevice cd;
        int error = 0;
        Ask(cd, QStringLiteral("status media present"), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::Hardware));
        Ask(cd, QStringLiteral("play"), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::Hardware));
    }

    // Nor are sheets whose tracks do not lie in their data file, or are numbered wrongly: the
    // device never hands them to the library that reads the disc.
    Write(dir_.file(QStringLiteral("Disc One (2001).img")), QByteArray(225 * 2352, '\x11'));
    for (const QByteArray& content : UntrustworthySheets(QStringLiteral("Disc One (2001).img"))) {
        Write(cue_, content);
        mci::CdAudioDevice cd;
        int error = 0;
        Ask(cd, QStringLiteral("status number of tracks"), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::Hardware)) << content.toStdString();
        Ask(cd, QStringLiteral("play"), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::Hardware)) << content.toStdString();
    }
}

TEST_F(CdAudioDeviceTest, AnImageUnderTheDeviceFolderHasADoorToo)
{
    if (!QFileInfo(QStringLiteral("/dev/shm")).isWritable()) GTEST_SKIP() << "no /dev/shm";
    QTemporaryDir shm(QStringLiteral("/dev/shm/tessel-XXXXXX"));
    ASSERT_TRUE(shm.isValid());
    const QString cue = MakeDiscImage(shm.path(), QStringLiteral("disc"), {2});
    ASSERT_FALSE(cue.isEmpty());
    qputenv("TESSEL_CDROM", cue.toLocal8Bit());
    mci::CdAudioDevice cd;
    int error = -1;
    Ask(cd, QStringLiteral("set door open"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("false"));
    Ask(cd, QStringLiteral("set door closed"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_EQ(Ask(cd, QStringLiteral("status media present")), QStringLiteral("true"));
}

TEST_F(CdAudioDeviceTest, HugeTimesAreOutOfRange)
{
    mci::CdAudioDevice cd;
    const std::pair<const char*, const char*> cases[] = {
        {"tmsf", "1:99999999999:00:00"},
        {"tmsf", "1:35791395:00:00"}, // minutes that overflow 32 bits once made frames
        {"msf", "4294967296:00:00"},
        {"msf", "30000000:00:00"},
        {"milliseconds", "9223372036854775807"},
        {"milliseconds", "30000000000"},
    };
    for (const auto& [format, time] : cases) {
        Ask(cd, QStringLiteral("set time format %1").arg(QLatin1String(format)));
        int error = 0;
        Ask(cd, QStringLiteral("seek to %1").arg(QLatin1String(time)), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::OutOfRange)) << format << " " << time;
        Ask(cd, QStringLiteral("play from %1").arg(QLatin1String(time)), &error);
        EXPECT_EQ(error, static_cast<int>(mci::Err::OutOfRange)) << format << " " << time;
    }
}
