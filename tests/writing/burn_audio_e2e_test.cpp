// The audio disc window opened from the player's menu in the real program.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/MenuDriver.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Extras > Audio > Audio CD Burn.
constexpr MenuRow ExtrasAudio {0, 3};
constexpr MenuRow AudioCdBurn {0, 7};

} // namespace

TEST(BurnAudioE2E, OpensFromTheExtrasMenuWithTheImageRecorder)
{
    TempDir home;
    Write(home.file("First.ini"), "\"not the first run\"\n");
    qputenv("TESSEL_RECORDER", home.file("recorder.iso").toUtf8());
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    const QString burn = OpenFromMenu(player, window, "alt+e", {ExtrasAudio, AudioCdBurn}, "Burn Audio CD");
    ASSERT_FALSE(burn.isEmpty()) << "the audio disc window opens";
    const QImage shot(player.Screenshot(burn, "burn-audio-window"));
    EXPECT_GT(shot.width(), 400);
    ASSERT_TRUE(player.Terminate());
    qunsetenv("TESSEL_RECORDER");
}
