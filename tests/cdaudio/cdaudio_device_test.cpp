#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"
#include "tests/cdaudio/DamagedDrive.h"
#include "tests/cdaudio/DiscImage.h"
#include "tests/cdaudio/DiscListener.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/SoundTest.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <malloc.h>
#include <optional>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

// Stops this whole process, the player's threads with it, for the given milliseconds, as a busy
// machine now and then does; returns once it runs again.
void HoldThisProcessStill(int milliseconds)
{
    const pid_t self = getpid();
    const pid_t child = fork();
    if (child == 0) {
        // The child of a process with threads may only make async-signal-safe calls (fork(2)).
        kill(self, SIGSTOP);
        const timespec held {milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
        nanosleep(&held, nullptr);
        kill(self, SIGCONT);
        _exit(0);
    }
    if (child > 0)
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
}

class CdAudioDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        cue_ = MakeDiscImage(dir_.path(), QStringLiteral("disc"), {3, 4, 2});
        ASSERT_FALSE(cue_.isEmpty());
        qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    }

    void TearDown() override
    {
        if (listening_) qputenv("QT_QPA_PLATFORM", platform_);
    }

    QString Ask(mci::CdAudioDevice& device, const QString& command, int* error = nullptr)
    {
        QString reply;
        const int rc = device.Command(command.split(QLatin1Char(' ')), reply);
        if (error) *error = rc;
        return reply;
    }

    // Puts a disc of the given seconds whose every frame is different (DistinctFrames) in the
    // drive, with the given tracks, and has the player play to the sound server rather than to
    // its silent outputs, for the test to listen to. Returns the disc's audio.
    QByteArray PutInADiscOfDistinctFrames(int seconds, const QByteArray& tracks = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")
    {
        const QByteArray disc = DistinctFrames(qsizetype(seconds) * 44100);
        Write(dir_.file(QStringLiteral("distinct.bin")), disc);
        cue_ = dir_.file(QStringLiteral("distinct.cue"));
        Write(cue_, "FILE \"distinct.bin\" BINARY\n" + tracks);
        qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
        platform_ = qgetenv("QT_QPA_PLATFORM");
        listening_ = true;
        qputenv("QT_QPA_PLATFORM", "listening");
        return disc;
    }

    TempDir dir_;
    QString cue_;
    bool listening_ = false;
    QByteArray platform_;
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

TEST(DiscTocTest, TheLastAudioTrackOfACdExtraDiscEndsWithItsSession)
{
    // Ten audio tracks of four minutes, then a data session: its track starts 11,400 sectors after
    // the audio session's end (lead-out, lead-in, pregap).
    mci::DiscToc extra;
    for (int t = 0; t < 10; ++t)
        extra.trackStarts.push_back(t * 18000);
    extra.trackStarts.push_back(10 * 18000 + 11400);
    extra.audio.assign(10, true);
    extra.audio.push_back(false);
    extra.copyPermitted.assign(11, true);
    extra.leadOut = extra.trackStarts.back() + 30000;
    extra.lastSession = extra.trackStarts.back();
    EXPECT_EQ(extra.TrackEnd(10), 180000);
    EXPECT_EQ(extra.TrackEnd(9), extra.TrackStart(10));
    EXPECT_EQ(extra.TrackEnd(11), extra.leadOut);

    // A data track first, then audio, in one session: every track ends where the next starts.
    mci::DiscToc mixed;
    mixed.trackStarts = {0, 30000, 48000};
    mixed.audio = {false, true, true};
    mixed.copyPermitted = {true, true, true};
    mixed.leadOut = 66000;
    mixed.lastSession = 0; // the start of its only session
    EXPECT_EQ(mixed.TrackEnd(1), 30000);
    EXPECT_EQ(mixed.TrackEnd(2), 48000);
    EXPECT_EQ(mixed.TrackEnd(3), 66000);

    // A plain audio disc.
    mci::DiscToc plain;
    plain.trackStarts = {0, 15000};
    plain.audio = {true, true};
    plain.copyPermitted = {true, true};
    plain.leadOut = 33000;
    EXPECT_EQ(plain.TrackEnd(1), 15000);
    EXPECT_EQ(plain.TrackEnd(2), 33000);

    // A session start that does not fall inside the last audio track is not believed.
    extra.lastSession = 5000;
    EXPECT_EQ(extra.TrackEnd(10), extra.TrackStart(11));
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
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("02:00:01"); }, Patience));
    const QString playing = Ask(cd, QStringLiteral("status position"));
    EXPECT_TRUE(playing >= QStringLiteral("02:00:01") && playing.startsWith(QStringLiteral("02:")))
        << playing.toStdString();

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
    const QString stopped = Ask(cd, QStringLiteral("status position"));
    EXPECT_TRUE(stopped >= paused && stopped.startsWith(QStringLiteral("02:")))
        << "played on from the pause, stopped there";

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
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("01:00:01"); }, Patience));

    Ask(cd, QStringLiteral("play from 3"), &error);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("03:00:0")));
    Ask(cd, QStringLiteral("play from 2"));
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("02:00:0")));
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


TEST_F(CdAudioDeviceTest, OnADiscThatStartsWithDataTracksPositionsAndSoundAgree)
{
    cue_ = MakeDiscImage(dir_.path(), QStringLiteral("mixed"), {4, 4, 4}, {.dataSeconds = 2, .binName = {}});
    ASSERT_FALSE(cue_.isEmpty());
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    // This test listens to the sound server, so the player must not use its silent outputs.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "listening");
    const TestSink sink;
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
        [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("03:00:00:30"); }, Patience));
    EXPECT_TRUE(Ask(cd, QStringLiteral("status position")).startsWith(QStringLiteral("03:00:0")));
    if (sink.Ready()) {
        const double heard = ToneFrequency(RecordWhatIsHeard(sink, 1000), 44100);
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
            [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("02:00:00:30"); }, Patience));
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

TEST_F(CdAudioDeviceTest, ASheetWithAByteOrderMarkPlaysAndOneWithAFilePerTrackIsUnreadable)
{
    // The mark on a sheet whose data file is "<cue name>.bin", and on one that names another.
    for (const QString& binName : {QString(), QStringLiteral("Disc One.img")}) {
        cue_ = MakeDiscImage(dir_.path(), QStringLiteral("marked"), {2, 3}, {.dataSeconds = 0, .binName = binName});
        ASSERT_FALSE(cue_.isEmpty());
        Write(cue_, "\xEF\xBB\xBF" + Read(cue_));
        qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
        mci::CdAudioDevice cd;
        EXPECT_EQ(Ask(cd, QStringLiteral("status number of tracks")), QStringLiteral("2")) << binName.toStdString();
        Ask(cd, QStringLiteral("set time format tmsf"));
        int error = -1;
        Ask(cd, QStringLiteral("play from 2"), &error);
        EXPECT_EQ(error, 0);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return Ask(cd, QStringLiteral("status position")) >= QStringLiteral("02:00:00:30"); }, Patience));
        Ask(cd, QStringLiteral("stop"));
    }

    // One data file for each track: not a disc the drive can read.
    Write(dir_.file(QStringLiteral("01 First.bin")), QByteArray(150 * 2352, '\x11'));
    Write(dir_.file(QStringLiteral("02 Second.bin")), QByteArray(150 * 2352, '\x22'));
    cue_ = dir_.file(QStringLiteral("tracks.cue"));
    Write(cue_, "FILE \"01 First.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                "FILE \"02 Second.bin\" BINARY\n  TRACK 02 AUDIO\n    INDEX 00 00:00:00\n    INDEX 01 00:00:32\n");
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    mci::CdAudioDevice cd;
    int error = 0;
    Ask(cd, QStringLiteral("status media present"), &error);
    EXPECT_EQ(error, static_cast<int>(mci::Err::Hardware));
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


TEST_F(CdAudioDeviceTest, PlayingToTheEndOfTheDiscSoundsTheDiscThenSilenceOnly)
{
    const TestSink sink;
    if (!sink.Ready()) GTEST_SKIP() << "no sound server";
    // Thirty seconds whose every frame is different, so that anything heard can be placed.
    const QByteArray disc = PutInADiscOfDistinctFrames(30);
    // Memory handed out unfilled then holds a pattern, never the zeros that would pass for silence.
    mallopt(M_PERTURB, 0xa5);

    QProcess parec;
    ASSERT_TRUE(Listen(parec, sink));
    DiscListener listener(disc);
    const auto listen = [&] { listener.Hear(parec.readAllStandardOutput()); };

    {
        mci::CdAudioDevice cd;
        Ask(cd, QStringLiteral("set time format milliseconds"));
        // The disc ends at 32000 ms (two seconds of lead-in, thirty of audio). Each time, a moment
        // of its middle, then a jump to its last two seconds, which play to the end.
        const auto playFrom = [&](int ms) {
            int error = 0;
            Ask(cd, QStringLiteral("play from %1").arg(ms), &error);
            return error;
        };
        for (int play = 1; play <= 10; ++play) {
            ASSERT_EQ(playFrom(10000 + 997 * play), 0);
            // The middle itself must be heard: on a busy machine the recording may still bring
            // the end of the play before.
            const qsizetype before = listener.FramesBeforeTheEndHeard();
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    listen();
                    return listener.FramesBeforeTheEndHeard() - before >= 44100 / 4;
                },
                Patience));
            const qsizetype markEnd = listener.FramesHeard();
            ASSERT_EQ(playFrom(30000), 0);
            // Once only the last fifth of a second is left to hear, all of it has been read from the
            // disc and waits in the sound output's buffers. Held still there for longer than the
            // sound server holds, the output runs dry: what it still had must play when it goes on.
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    listen();
                    return Ask(cd, QStringLiteral("status position")).toInt() >= 31800;
                },
                Patience));
            HoldThisProcessStill(300);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    listen();
                    return listener.EndsHeard() >= play;
                },
                Patience))
                << "play " << play << " never reached the end of the disc" << listener.Describe(markEnd - 44100);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return Ask(cd, QStringLiteral("status mode")) == QStringLiteral("stopped"); }, Patience));
        }
        // A moment more: nothing but silence follows the last end.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                listen();
                return listener.FramesSinceEnd() >= 44100 / 2;
            },
            Patience));
    }
    parec.terminate();
    parec.waitForFinished();
    listen();
    mallopt(M_PERTURB, 0);

    EXPECT_EQ(listener.EndsHeard(), 10);
    EXPECT_EQ(listener.StrayFrames(), 0) << listener.FirstStray().toStdString();
}

TEST_F(CdAudioDeviceTest, PlayAndGoToStartAtTheAskedFrameWithNothingBeforeIt)
{
    const TestSink sink;
    if (!sink.Ready()) GTEST_SKIP() << "no sound server";
    // Three tracks of ten seconds whose every frame is different.
    constexpr qsizetype TrackFrames = 10 * 44100, CdFrame = 44100 / 75;
    const QByteArray disc = PutInADiscOfDistinctFrames(30, "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n"
                                                           "    INDEX 01 00:10:00\n  TRACK 03 AUDIO\n    INDEX 01 00:20:00\n");

    // A sink that works 2 ms ahead misses at most that much of a play's start.
    QProcess parec;
    ASSERT_TRUE(Listen(parec, sink, 2));
    DiscListener listener(disc);
    const auto listen = [&] { listener.Hear(parec.readAllStandardOutput()); };
    // Waits until a quarter of a second of the disc from about the given frame on has been heard
    // after the given frame of the recording.
    const auto hearFrom = [&](qsizetype mark, qsizetype frame) {
        return QTest::qWaitFor(
            [&] {
                listen();
                return std::any_of(listener.Runs().begin(), listener.Runs().end(), [&](const DiscListener::Run& run) {
                    return run.at >= mark && run.disc >= 0 && std::abs(run.disc - frame) < 44100 && run.length >= 44100 / 4;
                });
            },
            Patience);
    };
    // The first sound after the given frame of the recording, leaving out the rest of a play
    // heard there (also after a moment the sound server waited for it).
    const auto firstSoundAfter = [&](qsizetype mark) -> std::optional<DiscListener::Run> {
        std::optional<DiscListener::Run> last;
        for (const DiscListener::Run& run : listener.Runs()) {
            if (run.disc < 0) continue;
            if (run.at >= mark && !(last && run.disc == last->disc + last->length)) return run;
            last = run;
        }
        return std::nullopt;
    };
    mci::CdAudioDevice cd;
    Ask(cd, QStringLiteral("set time format tmsf"));
    // The first sound is the frame asked for (within a CD frame), and a tenth of a second of the
    // disc follows it without a break.
    const auto check = [&](const char* what, qsizetype mark, qsizetype asked) {
        const auto first = firstSoundAfter(mark);
        ASSERT_TRUE(first) << what << listener.Describe(mark);
        EXPECT_LE(std::abs(first->disc - asked), CdFrame) << what << listener.Describe(mark);
        EXPECT_GE(first->length, 44100 / 10) << what << listener.Describe(mark);
    };
    for (int round = 0; round < 2; ++round) {
        // Play from a stopped disc.
        listen();
        qsizetype mark = listener.FramesHeard();
        Ask(cd, QStringLiteral("play from 1"));
        ASSERT_TRUE(hearFrom(mark, 0)) << listener.Describe(mark);
        check("play", mark, 0);
        Ask(cd, QStringLiteral("stop"));

        // Go To Track 2 from a stopped disc.
        QTest::qWait(300);
        listen();
        mark = listener.FramesHeard();
        Ask(cd, QStringLiteral("play from 2"));
        ASSERT_TRUE(hearFrom(mark, TrackFrames)) << listener.Describe(mark);
        check("go to from stop", mark, TrackFrames);

        // Go To Track 3 while playing.
        listen();
        mark = listener.FramesHeard();
        Ask(cd, QStringLiteral("play from 3"));
        ASSERT_TRUE(hearFrom(mark, 2 * TrackFrames)) << listener.Describe(mark);
        check("go to while playing", mark, 2 * TrackFrames);
        Ask(cd, QStringLiteral("stop"));
        QTest::qWait(300);
    }
    parec.terminate();
    parec.waitForFinished();
}

TEST_F(CdAudioDeviceTest, OnADamagedDiscOnlyUnreadableSectorsAreSilentAndStopAndCloseDoNotWaitForTheDrive)
{
    const TestSink sink;
    if (!sink.Ready()) GTEST_SKIP() << "no sound server";
    constexpr qsizetype SectorFrames = 588;
    const QByteArray disc = PutInADiscOfDistinctFrames(12);

    // Three sectors in the middle of what the player reads at once cannot be read: those three,
    // and only those, are silence.
    constexpr int Unreadable = 100;
    damage::MakeUnreadable(Unreadable, 3);
    QProcess parec;
    ASSERT_TRUE(Listen(parec, sink, 2));
    DiscListener listener(disc);
    {
        mci::CdAudioDevice cd;
        Ask(cd, QStringLiteral("set time format tmsf"));
        Ask(cd, QStringLiteral("play from 1"));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                listener.Hear(parec.readAllStandardOutput());
                const auto& runs = listener.Runs();
                return !runs.empty() && runs.back().disc >= 0 && runs.back().disc + runs.back().length > 140 * SectorFrames;
            },
            Patience))
            << listener.Describe();
    }
    parec.terminate();
    parec.waitForFinished();
    damage::Mend();
    // Around them: the disc up to their first frame, silence as long as they are, the disc from
    // the frame after them.
    const auto& runs = listener.Runs();
    const auto before = std::find_if(runs.begin(), runs.end(),
        [&](const auto& run) { return run.disc >= 0 && run.disc + run.length == Unreadable * SectorFrames; });
    ASSERT_TRUE(before != runs.end() && before + 2 < runs.end()) << listener.Describe();
    EXPECT_EQ(before[1].disc, DiscListener::Run::Silence) << listener.Describe();
    EXPECT_EQ(before[1].length, 3 * SectorFrames) << listener.Describe();
    EXPECT_EQ(before[2].disc, (Unreadable + 3) * SectorFrames) << listener.Describe();

    // A read of the disc from 8 s on never ends. Stop, eject and close answer all the same: when
    // one waited for the read, the read ran out of time before the answer came.
    damage::MakeHang(8 * 75);
    {
        mci::CdAudioDevice cd;
        Ask(cd, QStringLiteral("set time format tmsf"));
        const auto playIntoTheHang = [&](int reads) {
            int error = -1;
            Ask(cd, QStringLiteral("play from 1:00:07:00"), &error);
            EXPECT_EQ(error, 0);
            return QTest::qWaitFor([&] { return damage::Hanging() >= reads; }, Patience);
        };
        ASSERT_TRUE(playIntoTheHang(1));
        Ask(cd, QStringLiteral("stop"));
        EXPECT_EQ(damage::TimedOut(), 0) << "stop waited for the drive";
        EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("stopped"));

        ASSERT_TRUE(playIntoTheHang(2));
        Ask(cd, QStringLiteral("set door open"));
        EXPECT_EQ(damage::TimedOut(), 0) << "eject waited for the drive";
        EXPECT_EQ(Ask(cd, QStringLiteral("status mode")), QStringLiteral("open"));
        Ask(cd, QStringLiteral("set door closed"));

        ASSERT_TRUE(playIntoTheHang(3));
    }
    EXPECT_EQ(damage::TimedOut(), 0) << "closing waited for the drive";
    EXPECT_EQ(damage::Hanging(), 3);
    damage::Mend();
}
