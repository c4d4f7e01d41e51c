// The sound recorder opened from the player's menu in the real program: two seconds recorded
// and saved.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"
#include "tests/tools/SoundTest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Extras > Audio > Sound Recorder.
constexpr MenuRow ExtrasAudio {0, 3};
constexpr MenuRow SoundRecorder {6, 7};

// Clicks the window at a point given in twips of its client area.
void ClickAt(const QString& window, double xTwips, double yTwips)
{
    QProcess::execute("xdotool",
        {"mousemove", "--window", window, QString::number(int(xTwips / 15)), QString::number(int(yTwips / 15)), "click",
            "1"});
}

// The centre of the recorder's button in its row of six.
void ClickButton(const QString& window, int index) { ClickAt(window, 120 + index * 1200 + 547, 120 + 187); }

bool WaitForFile(const QString& path, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        if (ReadWaveFile(path).valid) return true;
        QThread::msleep(100);
    }
    return false;
}

// Waits until no visible window of the program has a title holding the text.
bool WaitForNoWindow(PlayerProcess& player, const QString& title, int limitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < limitMs) {
        QProcess search;
        search.start("xdotool",
            {"search", "--all", "--onlyvisible", "--pid", QString::number(player.Process().processId()), "--name",
                title});
        search.waitForFinished(20000);
        if (search.readAllStandardOutput().trimmed().isEmpty()) return true;
        QThread::msleep(100);
    }
    return false;
}

} // namespace

TEST(RecorderE2E, RecordsTwoSecondsAndSavesFromTheExtrasMenu)
{
    TestSink sink; // the program hears this test's own sink
    if (!sink.Ready()) GTEST_SKIP() << "no sound server";
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString recorder = OpenFromMenu(player, window, "alt+e", {ExtrasAudio, SoundRecorder}, "AudioRecorder: stopped", 60000);
    if (recorder.isEmpty()) // what the screen showed instead
        QProcess::execute(
            "import", {"-window", "root", PlayerProcess::ArtefactFolder() + "/sound-recorder-missing.png"});
    ASSERT_FALSE(recorder.isEmpty()) << "the recorder opens and reports its device";

    // The recording runs no longer than from the Record click to the stopped caption, and no
    // shorter than from the recording caption to the Stop click.
    ASSERT_TRUE(sink.PlayTone(440, 30));
    QElapsedTimer sinceRecord;
    sinceRecord.start();
    ClickButton(recorder, 0); // Record
    ASSERT_FALSE(player.WaitForWindow("AudioRecorder: recording", 60000).isEmpty());
    QElapsedTimer sinceRecording;
    sinceRecording.start();
    QThread::msleep(2000); // the recording itself
    const double shortest = sinceRecording.elapsed() / 1000.0;
    ClickButton(recorder, 1); // Stop
    ASSERT_FALSE(player.WaitForWindow("AudioRecorder: stopped", 60000).isEmpty());
    const double longest = sinceRecord.elapsed() / 1000.0;
    const QImage shot(player.Screenshot(recorder, "sound-recorder-window"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 400);

    ClickButton(recorder, 3); // Save
    const QString dialog = player.WaitForWindow("Save As", 60000);
    ASSERT_FALSE(dialog.isEmpty());
    const QString target = home.file("two seconds.wav");
    QProcess::execute("xdotool", {"key", "--window", dialog, "ctrl+a"});
    QProcess::execute("xdotool", {"type", "--window", dialog, "--delay", "20", target});
    QProcess::execute("xdotool", {"key", "--window", dialog, "Return"});

    // A name with a blank is saved under its short name and takes its own at the next Reset.
    ASSERT_TRUE(WaitForNoWindow(player, "Save As", 20000));
    ClickButton(recorder, 4); // Reset
    ASSERT_TRUE(WaitForFile(target, 20000)) << "the recording is saved under its name";
    const WaveFileInfo wave = ReadWaveFile(target);
    EXPECT_EQ(wave.rate, 11025);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.bitsPerSample, 16);
    const double seconds = wave.data.size() / double(wave.bytesPerSecond);
    EXPECT_GT(seconds, shortest - 0.2);
    EXPECT_LT(seconds, longest + 0.2);
    EXPECT_NEAR(DominantFrequency(wave), 440, 10);
    ASSERT_TRUE(player.Terminate());
}
