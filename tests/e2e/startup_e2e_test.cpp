#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"

#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

TEST(PlayerStartup, ShowsThePlayerWindowAndClosesCleanly)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty()) << "the player window appears";

    const QString shot = player.Screenshot(window, "player-window");
    const QImage image(shot);
    ASSERT_FALSE(image.isNull()) << "a screenshot was kept at " << shot.toStdString();
    EXPECT_GT(image.width(), 300);
    EXPECT_GT(image.height(), 200);

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
