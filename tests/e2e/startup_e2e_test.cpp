#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"

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

namespace {

// Share of the picture's pixels in strong colour: the player's own controls are greys, the test
// clip is coloured bars.
double ColouredShare(const QImage& image)
{
    qint64 coloured = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (image.pixelColor(x, y).hsvSaturation() > 120) ++coloured;
    return double(coloured) / ((image.width() / 2) * (image.height() / 2));
}

} // namespace

TEST(PlayerStartup, PlaysTheFileItIsStartedWithInItsWindow)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start({clips::Video()});
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());
    QThread::msleep(2000);

    const QImage image(player.Screenshot(window, "player-playing"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(ColouredShare(image), 0.15) << "the clip's picture shows in the window";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
