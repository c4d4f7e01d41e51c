#include "tests/e2e/Desktop.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QThread>
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

TEST(PlayerStartup, PlaysTheFileItIsStartedWithInItsWindow)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start({clips::Video()});
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());

    // The picture comes once the clip has opened and its first frames are decoded.
    QImage image;
    QElapsedTimer clock;
    clock.start();
    do {
        image = QImage(player.Screenshot(window, "player-playing"));
        if (!image.isNull() && desktop::ColouredShare(image) > 0.15) break;
        QThread::msleep(200);
    } while (clock.elapsed() < 20000);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(desktop::ColouredShare(image), 0.15) << "the clip's picture shows in the window";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
