// The waveaudio and sequencer devices, driven through the command strings as the recorder sends
// them, against a real sound server.
#include "platform/mci/Errors.h"
#include "platform/mci/Mci.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/SoundTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

std::string Ask(const std::string& command, unsigned* error = nullptr)
{
    char reply[256] = {};
    const unsigned rc = mci::SendString(command, reply, sizeof reply);
    if (error) *error = rc;
    return reply;
}

unsigned Send(const std::string& command) { return mci::SendString(command); }

long Number(const std::string& command)
{
    std::string text = "0";
    text += Ask(command);
    return std::stol(text);
}

// Waits, with a generous limit, until the status query gives the answer.
bool WaitFor(const std::string& query, const std::string& answer, int limitMs = 30000)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        if (Ask(query) == answer) return true;
        QThread::msleep(20);
    }
    return false;
}

class WaveDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!sink_.Ready()) GTEST_SKIP() << "no sound server";
    }
    void TearDown() override { Send("close all"); }

    // The time a recording ran lies between the time from the end of its record command to the
    // start of its stop command, and the time from the start of the one to the end of the other.
    struct Span {
        qint64 shortest;
        qint64 longest;
    };

    // Records for about the given time.
    Span RecordFor(int ms)
    {
        QElapsedTimer outer;
        outer.start();
        EXPECT_EQ(Send("record capture"), 0u);
        QElapsedTimer inner;
        inner.start();
        QThread::msleep(ms);
        EXPECT_EQ(Ask("status capture mode"), "recording");
        const qint64 shortest = inner.elapsed();
        EXPECT_EQ(Send("stop capture"), 0u);
        return {shortest, outer.elapsed()};
    }

    TestSink sink_;
    TempDir dir_;
};

} // namespace

TEST_F(WaveDeviceTest, ToneFromTheSinkIsRecordedAndSavedInTheChosenFormat)
{
    struct Case {
        int rate, channels, bits;
    };
    for (const Case& c : {Case {22050, 1, 16}, Case {11025, 2, 8}}) {
        SCOPED_TRACE(c.rate);
        const int align = c.channels * c.bits / 8;
        ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
        ASSERT_EQ(Send("seek capture to start"), 0u);
        ASSERT_EQ(Send("set capture alignment " + std::to_string(align) + " bitspersample " + std::to_string(c.bits)
                      + " samplespersec " + std::to_string(c.rate) + " channels " + std::to_string(c.channels)
                      + " bytespersec " + std::to_string(align * c.rate)),
            0u);

        ASSERT_TRUE(sink_.PlayTone(880, 3.5));
        const Span recorded = RecordFor(2000);
        sink_.WaitForTone();

        // The recording holds the sound of the time it ran, give or take the sound server's blocks.
        ASSERT_EQ(Send("set capture time format ms"), 0u);
        const long lengthMs = Number("status capture length");
        EXPECT_GE(lengthMs, recorded.shortest - 200);
        EXPECT_LE(lengthMs, recorded.longest + 200);
        EXPECT_EQ(Number("status capture position"), lengthMs) << "a recording stops at its end";
        EXPECT_EQ(Number("status capture channels"), c.channels);
        EXPECT_EQ(Number("status capture bitspersample"), c.bits);
        EXPECT_EQ(Number("status capture samplespersec"), c.rate);
        ASSERT_EQ(Send("set capture time format bytes"), 0u);
        const long lengthBytes = Number("status capture length");

        const QString file = dir_.file(QStringLiteral("tone%1.wav").arg(c.rate));
        ASSERT_EQ(Send("save capture " + file.toStdString()), 0u);
        const WaveFileInfo wave = ReadWaveFile(file);
        ASSERT_TRUE(wave.valid);
        EXPECT_EQ(wave.format, 1);
        EXPECT_EQ(wave.rate, c.rate);
        EXPECT_EQ(wave.channels, c.channels);
        EXPECT_EQ(wave.bitsPerSample, c.bits);
        EXPECT_EQ(wave.blockAlign, align);
        EXPECT_EQ(wave.bytesPerSecond, align * c.rate);
        EXPECT_EQ(wave.data.size(), lengthBytes);
        EXPECT_NEAR(DominantFrequency(wave), 880, 10);
        ASSERT_EQ(Send("close capture"), 0u);
    }
}

TEST_F(WaveDeviceTest, FormatIsRefusedWhenItsFiguresDisagree)
{
    ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
    EXPECT_EQ(Send("set capture alignment 2 bitspersample 16 samplespersec 11025 channels 1 bytespersec 22051"),
        mci::Err::OutOfRange);
    EXPECT_EQ(Send("set capture alignment 4 bitspersample 16 samplespersec 11025 channels 1 bytespersec 44100"),
        mci::Err::OutOfRange);
    EXPECT_EQ(Send("set capture alignment 3 bitspersample 12 samplespersec 11025 channels 2 bytespersec 33075"),
        mci::Err::WaveSetInputUnsuitable);
    EXPECT_EQ(Number("status capture bitspersample"), 8) << "a refused format changes nothing";

    // 8-bit mono: one byte a sample, bytes per second equal to the rate.
    EXPECT_EQ(Send("set capture alignment 1 bitspersample 8 samplespersec 6000 channels 1 bytespersec 6000"), 0u);
    EXPECT_EQ(Number("status capture samplespersec"), 6000);
    EXPECT_EQ(Number("status capture alignment"), 1);

    RecordFor(300);
    EXPECT_EQ(Send("set capture samplespersec 8000"), mci::Err::NonapplicableFunction)
        << "recorded sound keeps its format";
    EXPECT_EQ(Send("set capture time format frames"), mci::Err::BadTimeFormat);
}

TEST_F(WaveDeviceTest, FailedSaveLeavesNoFileAndKeepsTheRecording)
{
    ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
    RecordFor(400);
    Send("set capture time format bytes");
    const long length = Number("status capture length");
    ASSERT_GT(length, 0);

    const QString locked = dir_.file(QStringLiteral("locked"));
    QDir().mkpath(locked);
    Write(locked + QStringLiteral("/old.wav"), "old content");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool writable = QFile(locked + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    if (!writable) {
        EXPECT_EQ(Send("save capture " + locked.toStdString() + "/old.wav"), mci::Err::FileNotSaved);
        EXPECT_EQ(QDir(locked).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral("old.wav")});
        EXPECT_EQ(Read(locked + QStringLiteral("/old.wav")), "old content");
    } else {
        // Permissions don't stop this user: a folder of a read-only file system does.
        EXPECT_EQ(Send("save capture /proc/tessel-take.wav"), mci::Err::FileNotSaved);
        EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/tessel-take.wav")));
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(Send("save capture " + dir_.path().toStdString() + "/missing/x.wav"), mci::Err::FileNotSaved);
    EXPECT_EQ(Send("save capture"), mci::Err::UnnamedResource);
    EXPECT_EQ(Send("save capture " + dir_.path().toStdString() + "/with blank.wav"), mci::Err::UnrecognizedKeyword);

    EXPECT_EQ(Number("status capture length"), length) << "the recording is still there";
    const QString good = dir_.file(QStringLiteral("good.wav"));
    ASSERT_EQ(Send("save capture \"" + good.toStdString() + "\""), 0u);
    EXPECT_EQ(ReadWaveFile(good).data.size(), length);
}

TEST_F(WaveDeviceTest, PlaysFromAPositionToTheEndAndStops)
{
    ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
    Send("set capture alignment 2 bitspersample 16 samplespersec 11025 channels 1 bytespersec 22050");
    RecordFor(800);
    Send("set capture time format ms");
    const long length = Number("status capture length");

    unsigned error = 0;
    Ask("play capture from " + std::to_string(length + 1000), &error);
    EXPECT_EQ(error, mci::Err::OutOfRange);

    ASSERT_EQ(Send("play capture from 200"), 0u);
    EXPECT_EQ(Ask("status capture mode"), "playing");
    ASSERT_TRUE(WaitFor("status capture mode", "stopped"));
    EXPECT_EQ(Number("status capture position"), length);

    ASSERT_EQ(Send("play capture from 0"), 0u);
    ASSERT_EQ(Send("stop capture"), 0u);
    EXPECT_EQ(Ask("status capture mode"), "stopped");
    EXPECT_LT(Number("status capture position"), length) << "a stop keeps the position reached";
    EXPECT_EQ(Number("status capture length"), length);
}

TEST_F(WaveDeviceTest, CloseAllEndsRecordingAndMidiOfEveryOwner)
{
    const QString midi = dir_.file(QStringLiteral("TUNE.MID"));
    Write(midi, MidiFile(8));
    ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
    ASSERT_EQ(Send("open " + midi.toStdString() + " type sequencer alias midi"), 0u);
    ASSERT_EQ(Send("play midi"), 0u);
    ASSERT_EQ(Send("record capture"), 0u);
    QThread::msleep(300);
    EXPECT_EQ(Send("close all"), 0u);
    unsigned error = 0;
    Ask("status capture mode", &error);
    EXPECT_EQ(error, mci::Err::InvalidDeviceName);
    Ask("status midi mode", &error);
    EXPECT_EQ(error, mci::Err::InvalidDeviceName);
    // A new recording opens as before.
    ASSERT_EQ(Send("open new type waveaudio alias capture"), 0u);
    EXPECT_EQ(Number("status capture length"), 0);
}

TEST_F(WaveDeviceTest, SequencerPlaysAMidiFileToItsEnd)
{
    const QString midi = dir_.file(QStringLiteral("SHORT.MID"));
    Write(midi, MidiFile(2));
    ASSERT_EQ(Send("open " + midi.toStdString() + " type sequencer alias midi"), 0u);
    EXPECT_EQ(Ask("status midi mode"), "stopped");
    ASSERT_EQ(Send("play midi"), 0u);
    EXPECT_EQ(Ask("status midi mode"), "playing");
    ASSERT_TRUE(WaitFor("status midi mode", "stopped"));
    EXPECT_GE(Number("status midi position"), 900) << "two half-second notes were played";

    ASSERT_EQ(Send("play midi"), 0u);
    EXPECT_EQ(Ask("status midi mode"), "playing");
    ASSERT_EQ(Send("stop midi"), 0u);
    EXPECT_EQ(Ask("status midi mode"), "stopped");

    const QString text = dir_.file(QStringLiteral("NOTMIDI.MID"));
    Write(text, "not a MIDI file");
    EXPECT_EQ(Send("open " + text.toStdString() + " type sequencer alias other"), mci::Err::InvalidFile);
    EXPECT_EQ(
        Send("open " + dir_.path().toStdString() + "/GONE.MID type sequencer alias other"), mci::Err::FileNotFound);
}

TEST(WaveDeviceWithoutServer, OpeningFailsWithoutACrash)
{
    TempDir dir;
    const QString midi = dir.file(QStringLiteral("TUNE.MID"));
    Write(midi, MidiFile(2));
    NoSoundServer none;
    EXPECT_EQ(Send("open new type waveaudio alias capture"), mci::Err::WaveInputsUnsuitable);
    EXPECT_EQ(Send("set capture alignment 2 bitspersample 16 samplespersec 11025 channels 1 bytespersec 22050"),
        mci::Err::InvalidDeviceName);
    EXPECT_EQ(Send("record capture"), mci::Err::InvalidDeviceName);
    EXPECT_EQ(Send("open " + midi.toStdString() + " type sequencer alias midi"), mci::Err::SeqNoMidiPresent);
}
