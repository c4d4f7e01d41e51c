// The video tools opened from the player's menu in the real program.
#include "tests/e2e/Desktop.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QElapsedTimer>
#include <QImage>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Extras > Video > (Convert AVI, Video Capture).
constexpr MenuRow ExtrasVideo {1, 3};
constexpr MenuRow ConvertAvi {0, 2};
constexpr MenuRow VideoCapture {1, 2};

} // namespace

TEST(VideoToolsE2E, ConvertAviOpensFromTheExtrasMenu)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString convert = OpenFromMenu(player, window, "alt+e", {ExtrasVideo, ConvertAvi}, "Convert Avi");
    ASSERT_FALSE(convert.isEmpty()) << "the Convert AVI window opens";
    const QImage shot(player.Screenshot(convert, "convert-avi-window"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 250);

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(VideoToolsE2E, VideoCaptureOpensFromTheExtrasMenuShowingThePattern)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    qputenv("TESSEL_CAPTURE", "lavfi");
    PlayerProcess player(home.path());
    qunsetenv("TESSEL_CAPTURE");
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString capture = OpenFromMenu(player, window, "alt+e", {ExtrasVideo, VideoCapture}, "Video Capturing");
    ASSERT_FALSE(capture.isEmpty()) << "the Video Capture window opens";

    // The live picture of the test pattern fills the component's area once frames arrive.
    QImage shot;
    QElapsedTimer clock;
    clock.start();
    do {
        shot = QImage(player.Screenshot(capture, "video-capture-window"));
        if (!shot.isNull() && desktop::ColouredShare(shot) > 0.1) break;
        QThread::msleep(200);
    } while (clock.elapsed() < 20000);
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(desktop::ColouredShare(shot), 0.1) << "the pattern shows in the window";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
