#include "tests/e2e/Desktop.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
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

// The file a player is started with stays its playlist's row: File, Properties names it and File,
// Exit keeps it as a recent file. The position timer's hand-off polls, which find that very file
// in the hand-off file, pass meanwhile; the first run's association dialog comes first.
TEST(PlayerStartup, TheStartFileStaysTheCurrentRowOfTheFirstAndOfALaterRun)
{
    for (const bool firstRun : {false, true}) {
        SCOPED_TRACE(firstRun ? "first run" : "a player that has run before");
        TempDir home;
        const QString clip = home.file("start clip.mp4");
        ASSERT_TRUE(QFile::copy(clips::LongVideo(), clip));
        PlayerProcess player(home.path());
        if (firstRun) QFile::remove(home.file("First.ini"));
        player.Start({clip});
        if (firstRun) {
            const QString associate = player.WaitForWindow("Associate Tessel");
            ASSERT_FALSE(associate.isEmpty());
            desktop::PressKeys(associate, {"alt+F4"});
        }
        const QString window = player.WaitForWindow("start clip - Morvane Media Player");
        ASSERT_FALSE(window.isEmpty());
        // Time for a few polls: there is nothing to wait for when all goes well.
        QThread::msleep(3000);

        QStringList properties;
        ASSERT_TRUE(desktop::WaitUntil([&] {
            desktop::PressKeys(window, {"alt+f", "Down", "Down", "Return"});
            return desktop::WaitUntil(
                [&] {
                    return !(properties = desktop::WindowsOf(player.Process().processId(), "Properties")).isEmpty();
                },
                3000);
        }));
        EXPECT_FALSE(player.WaitForWindow("start clip.mp4 - Properties").isEmpty());

        // File, Exit, below Open, Copy To and Properties while no recent file shows.
        ASSERT_TRUE(desktop::WaitUntil([&] {
            desktop::PressKeys(window, {"alt+f", "Down", "Down", "Down", "Return"});
            return player.WaitForExit(3000);
        }));
        EXPECT_EQ(player.ExitCode(), 0);
        EXPECT_EQ(Read(home.file("RecentFiles.ini")), ("\"\",\"" + clip + "\",\"\",\"\"\r\n").toUtf8());
    }
}
