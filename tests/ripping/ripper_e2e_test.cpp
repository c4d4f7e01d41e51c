// The CD ripper opened from the player's menu in the real program, ripping a track of a disc image.
#include "tests/cdaudio/DiscImage.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Extras > Audio > Audio CD Rip.
constexpr MenuRow ExtrasAudio {0, 3};
constexpr MenuRow AudioCdRip {1, 7};

void Keys(const QString& window, const QString& keys)
{
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), keys});
}

} // namespace

TEST(RipperE2E, RipsATrackOfTheImageFromTheExtrasMenu)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    const QString cue = MakeDiscImage(home.path(), QStringLiteral("disc"), {2, 2});
    ASSERT_FALSE(cue.isEmpty());
    qputenv("TESSEL_CDROM", cue.toLocal8Bit());
    PlayerProcess player(home.path());
    QProcessEnvironment env = player.Process().processEnvironment();
    env.insert(QStringLiteral("HOME"), home.path()); // the ripper proposes its files there
    player.Process().setProcessEnvironment(env);
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString ripper = OpenFromMenu(player, window, "alt+e", {ExtrasAudio, AudioCdRip}, "Tessel CD Ripper");
    ASSERT_FALSE(ripper.isEmpty()) << "the ripper window opens";

    // File > Select All Tracks, then Extract > Selected Track(s).
    const qint64 pid = player.Process().processId();
    ASSERT_TRUE(ChooseMenuItem(ripper, pid, "alt+f", {{0, 3}}));
    QTest::qWait(500);
    const QImage shot(player.Screenshot(ripper, "cd-ripper-window"));
    EXPECT_GT(shot.width(), 400);
    const QString extract = OpenFromMenu(player, ripper, "alt+e", {{0, 1}}, "Extract MP3 Files");
    ASSERT_FALSE(extract.isEmpty()) << "the extraction dialog opens";
    Keys(extract, QStringLiteral("alt+g"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo(home.file("Track02.mp3")).size() > 1000; }, 60000));
    EXPECT_GT(QFileInfo(home.file("Track01.mp3")).size(), 1000);
    QTest::qWait(500);
    const QImage done(player.Screenshot(extract, "cd-ripper-extract-dialog"));
    EXPECT_GT(done.width(), 300);

    ASSERT_TRUE(player.Terminate());
}
