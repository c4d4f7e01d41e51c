#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/Errors.h"
#include "tests/cdaudio/DiscImage.h"
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
#include <cstring>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unordered_map>

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

namespace {

// Records what is played into the test's own sink as 16-bit stereo at 44.1 kHz, until stopped.
bool Listen(QProcess& parec, const TestSink& sink)
{
    parec.start(QStringLiteral("parec"), {QStringLiteral("-d"), sink.Name() + QStringLiteral(".monitor"),
        QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
        QStringLiteral("--raw"), QStringLiteral("--latency-msec=20")});
    return parec.waitForStarted();
}

// What is played into the test's sink for a moment.
QByteArray RecordWhatIsHeard(const TestSink& sink, int milliseconds)
{
    QProcess parec;
    if (!Listen(parec, sink)) return {};
    QTest::qWait(milliseconds);
    parec.terminate();
    parec.waitForFinished();
    return parec.readAllStandardOutput();
}

} // namespace

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

namespace {

// Follows a recording of the sound server against the disc's audio: every frame heard must be
// silence or a frame of the disc, the one after the last as long as a play goes on. Counts the
// plays heard to the disc's end, and every frame that is neither silence nor the disc's.
class DiscListener {
public:
    explicit DiscListener(QByteArray disc)
        : disc_(std::move(disc))
    {
        for (qsizetype i = 0; i < Frames(); ++i)
            where_.emplace(Frame(disc_, i), i);
    }

    void Hear(const QByteArray& bytes)
    {
        heard_ += bytes;
        for (; (done_ + 1) * 4 <= heard_.size(); ++done_) {
            const quint32 frame = Frame(heard_, done_);
            if (next_ >= 0 && next_ < Frames() && frame == Frame(disc_, next_)) {
                Heard(next_);
            } else if (frame == 0) {
                // Silence, between plays or while the server waited for data.
            } else if (const auto at = where_.find(frame); at != where_.end()) {
                // A play from elsewhere (or a moment the recording lost under load).
                Heard(at->second);
            } else {
                if (stray_ == 0) firstStray_ = done_;
                ++stray_;
            }
        }
    }

    // Plays heard into the disc's last hundredth of a second.
    int EndsHeard() const { return ends_; }
    // Frames of the disc heard before its last hundredth of a second.
    qsizetype FramesBeforeTheEndHeard() const { return framesBeforeEnd_; }
    // Frames heard since the disc's end was last heard.
    qsizetype FramesSinceEnd() const { return done_ - lastEnd_; }
    qsizetype StrayFrames() const { return stray_; }
    // Where the first stray frame was heard, with the bytes from there on.
    QString FirstStray() const
    {
        return QStringLiteral("frame %1: %2").arg(firstStray_).arg(QString::fromLatin1(heard_.mid(firstStray_ * 4, 32).toHex(' ')));
    }

private:
    static quint32 Frame(const QByteArray& bytes, qsizetype i)
    {
        quint32 v = 0;
        std::memcpy(&v, bytes.constData() + i * 4, 4);
        return v;
    }
    qsizetype Frames() const { return disc_.size() / 4; }
    void Heard(qsizetype at)
    {
        const bool atEnd = at >= Frames() - 441;
        if (atEnd && !inEnd_) ++ends_;
        if (atEnd) lastEnd_ = done_ + 1;
        inEnd_ = atEnd;
        if (!atEnd) ++framesBeforeEnd_;
        next_ = at + 1;
    }

    QByteArray disc_;
    std::unordered_map<quint32, qsizetype> where_;
    QByteArray heard_;
    qsizetype done_ = 0; // frames of heard_ followed so far
    qsizetype next_ = -1; // the disc frame that continues what was heard
    bool inEnd_ = false;
    int ends_ = 0;
    qsizetype lastEnd_ = 0;
    qsizetype framesBeforeEnd_ = 0;
    qsizetype stray_ = 0;
    qsizetype firstStray_ = 0;
};

// Frames that never repeat and stay well inside full scale: every one says where on the disc it is.
QByteArray DistinctFrames(qsizetype frames)
{
    QByteArray out(frames * 4, Qt::Uninitialized);
    for (qsizetype i = 0; i < frames; ++i) {
        // An odd multiplier is a bijection on 28 bits: no two frames are alike.
        const quint32 mixed = (quint32(i) * 0x9E3779Bu + 0x5A5A5u) & 0x0FFFFFFFu;
        const qint16 left = qint16(int(mixed & 0x3FFF) - 0x2000);
        const qint16 right = qint16(int(mixed >> 14) - 0x2000);
        std::memcpy(out.data() + i * 4, &left, 2);
        std::memcpy(out.data() + i * 4 + 2, &right, 2);
    }
    return out;
}

} // namespace

TEST_F(CdAudioDeviceTest, PlayingToTheEndOfTheDiscSoundsTheDiscThenSilenceOnly)
{
    const TestSink sink;
    if (!sink.Ready()) GTEST_SKIP() << "no sound server";
    // Thirty seconds whose every frame is different, so that anything heard can be placed.
    const QByteArray disc = DistinctFrames(30 * 44100);
    Write(dir_.file(QStringLiteral("long.bin")), disc);
    cue_ = dir_.file(QStringLiteral("long.cue"));
    Write(cue_, "FILE \"long.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "listening");
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
            ASSERT_EQ(playFrom(30000), 0);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] {
                    listen();
                    return listener.EndsHeard() >= play;
                },
                Patience))
                << "play " << play << " never reached the end of the disc";
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
    qputenv("QT_QPA_PLATFORM", platform);

    EXPECT_EQ(listener.EndsHeard(), 10);
    EXPECT_EQ(listener.StrayFrames(), 0) << listener.FirstStray().toStdString();
}
