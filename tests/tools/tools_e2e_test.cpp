// The video tools opened from the player's menu in the real program.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Extras > Video > (Convert AVI, Video Capture).
constexpr MenuRow ExtrasVideo {1, 3};
constexpr MenuRow ConvertAvi {0, 2};

} // namespace

TEST(VideoToolsE2E, ConvertAviOpensFromTheExtrasMenu)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    ASSERT_TRUE(ChooseMenuItem(window, player.Process().processId(), "alt+e", {ExtrasVideo, ConvertAvi}));
    const QString convert = player.WaitForWindow("Convert Avi");
    ASSERT_FALSE(convert.isEmpty()) << "the Convert AVI window opens";
    const QImage shot(player.Screenshot(convert, "convert-avi-window"));
    ASSERT_FALSE(shot.isNull());
    EXPECT_GT(shot.width(), 250);

    ASSERT_TRUE(player.Terminate());
}
