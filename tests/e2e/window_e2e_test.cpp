// The player window under a window manager, as a user meets it: kept on top, placed with its
// whole frame on the screen, and the picture drawn throughout.
#include "tests/e2e/Desktop.h"
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QFile>
#include <QRect>
#include <gtest/gtest.h>

using namespace desktop;

namespace {

const QString PlayerTitle = QStringLiteral("Morvane Media Player");
const QRect Screen(0, 0, 1280, 1024);

// Waits until the window shows a picture of the clip; keeps the last look under the name.
bool PictureShows(PlayerProcess& player, const QString& window, const QString& name)
{
    return WaitUntil([&] { return ColouredShare(QImage(player.Screenshot(window, name))) > 0.15; });
}

// Waits until the player plays the file of that name in its window, framed by the window manager;
// returns the window.
QString WaitForPlaying(PlayerProcess& player, const QString& name)
{
    const QString window = player.WaitForWindow(name + " - " + PlayerTitle);
    if (window.isEmpty()) return {};
    if (!WaitUntil([&] { return FrameRect(window) != ClientRect(window); })) return {};
    if (!PictureShows(player, window, name + "-playing")) return {};
    return window;
}

bool Above(const QString& window) { return WmStates(window).contains("_NET_WM_STATE_ABOVE"); }

// Hands a file to the running player, as a second start does.
void HandOff(const QString& home, const QString& file)
{
    PlayerProcess second(home);
    second.Start({file});
    ASSERT_TRUE(second.WaitForExit());
}

} // namespace

TEST(PlayerWindowE2E, AlwaysOnTopKeepsThePictureAndTheNextFilePlays)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start({clips::Video()});
    const QString window = WaitForPlaying(player, "clip");
    ASSERT_FALSE(window.isEmpty());

    for (int round = 0; round < 3; ++round) {
        PressKeys(window, {"F3"});
        ASSERT_TRUE(WaitUntil([&] { return Above(window); })) << "round " << round << ": the window manager keeps it on top";
        EXPECT_TRUE(PictureShows(player, window, "on-top")) << "round " << round;
        PressKeys(window, {"F3"});
        ASSERT_TRUE(WaitUntil([&] { return !Above(window); })) << "round " << round << ": and no longer";
    }
    PressKeys(window, {"F3"});
    ASSERT_TRUE(WaitUntil([&] { return Above(window); }));

    // A clip long enough to be seen playing, however loaded the machine.
    const QString next = home.file("next.mp4");
    ASSERT_TRUE(QFile::copy(clips::Video(), next));
    HandOff(home.path(), next);
    EXPECT_EQ(WaitForPlaying(player, "next"), window) << "the next file's picture is drawn";
    EXPECT_TRUE(Above(window));
    EXPECT_EQ(player.Process().state(), QProcess::Running);

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(PlayerWindowE2E, AFileThatOpensAfterOneThatFailedShowsItsPicture)
{
    // Three clips and a damaged file (an empty one) in a playlist file.
    TempDir home;
    QStringList rows;
    for (const QString name : {"one", "two", "three"}) {
        rows << home.file(name + ".mp4");
        ASSERT_TRUE(QFile::copy(clips::LongVideo(), rows.last()));
    }
    rows << home.file("damaged.mp3");
    Write(rows.last(), {});
    const QString list = home.file("list.txt");
    Write(list, (rows.join("\r\n") + "\r\n").toUtf8());

    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow(PlayerTitle);
    ASSERT_FALSE(window.isEmpty());
    // Playlist, Open List: the rows wait unplayed.
    QString dialog;
    ASSERT_TRUE(WaitUntil([&] {
        PressKeys(window, {"ctrl+e"});
        return !(dialog = player.WaitForWindow("Open", 3000)).isEmpty();
    }));
    // The list's path and Return, until the dialog takes them and goes: what is typed before its
    // file name box is ready is lost.
    ASSERT_TRUE(WaitUntil([&] {
        desktop::Run("xdotool", {"key", "--window", dialog, "ctrl+a"});
        desktop::Run("xdotool", {"type", "--window", dialog, "--delay", "5", list});
        desktop::Run("xdotool", {"key", "--window", dialog, "Return"});
        return WaitUntil([&] { return WindowsOf(player.Process().processId(), "Open").isEmpty(); }, 5000);
    })) << "the playlist file is opened";

    // Next plays the first row, then the second, the third, and tries the damaged one.
    PressKeys(window, {"ctrl+n", "ctrl+n"});
    const bool two = !WaitForPlaying(player, "two").isEmpty();
    if (!two) // what the screen showed instead
        desktop::Run("import", {"-window", "root", PlayerProcess::ArtefactFolder() + "/open-list-next-missing.png"});
    ASSERT_TRUE(two) << "Next, Next plays the second row";
    PressKeys(window, {"ctrl+n"});
    ASSERT_FALSE(WaitForPlaying(player, "three").isEmpty());
    PressKeys(window, {"ctrl+n"});
    ASSERT_FALSE(player.WaitForWindow("Error Opening File").isEmpty()) << "the damaged file is reported";
    // OK on the box (a key pressed before the box takes the keyboard is lost: again until it goes).
    ASSERT_TRUE(WaitUntil([&] {
        const QStringList boxes = WindowsOf(player.Process().processId(), "Error Opening File");
        for (const QString& box : boxes)
            PressKeys(box, {"Return"});
        return boxes.isEmpty();
    }));

    // Its row is dropped and the first row plays again, picture and all.
    EXPECT_FALSE(WaitForPlaying(player, "one").isEmpty()) << "the picture shows after the failed file";

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(PlayerWindowE2E, WindowsKeepTheirWholeFrameOnTheScreen)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start({clips::Video()});
    const QString window = WaitForPlaying(player, "clip");
    ASSERT_FALSE(window.isEmpty());
    const QRect frame = FrameRect(window);
    EXPECT_TRUE(Screen.contains(frame)) << "frame " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                        << frame.height();
    EXPECT_GT(frame.height(), ClientRect(window).height()) << "the window manager framed it";

    // The player sizes itself for the next file from where its frame is: it stays there.
    desktop::Run("xdotool", {"windowmove", "--sync", window, "300", "200"});
    ASSERT_TRUE(WaitUntil([&] { return FrameRect(window).topLeft() != frame.topLeft(); }));
    const QRect moved = FrameRect(window);
    HandOff(home.path(), clips::Wav());
    ASSERT_TRUE(WaitUntil([&] { return FrameRect(window).size() != moved.size(); })) << "sized for the sound file";
    EXPECT_TRUE(WaitUntil([&] { return FrameRect(window).topLeft() == moved.topLeft(); }))
        << "moved from " << moved.x() << "," << moved.y() << " to " << FrameRect(window).x() << ","
        << FrameRect(window).y();

    // The tool windows open with their close buttons in reach.
    const struct {
        QStringList keys;
        QString title;
    } tools[] = {
        {{"alt+s", "Down", "Down", "Down", "Return"}, "Mouse Scroll"},
        {{"F5"}, "Go To Position"},
    };
    for (const auto& tool : tools) {
        QStringList found;
        ASSERT_TRUE(WaitUntil([&] {
            PressKeys(window, tool.keys);
            return WaitUntil([&] { return !(found = WindowsOf(player.Process().processId(), tool.title)).isEmpty(); }, 3000);
        })) << tool.title.toStdString() << " opens from its menu";
        const QRect toolFrame = FrameRect(found.first());
        EXPECT_TRUE(Screen.contains(toolFrame)) << tool.title.toStdString() << " frame at " << toolFrame.x() << ","
                                                << toolFrame.y();
        player.Screenshot(found.first(), "framed-" + tool.title.section(' ', 0, 0).toLower());
    }

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(PlayerWindowE2E, FullScreenFillsTheScreenAtOnceAndComesBackWhereItWas)
{
    TempDir home;
    // Auto Hide Controls off: the video then covers the controls only because full screen gives it
    // the screen, never because the controls hid themselves after an idle while.
    Write(home.file("Settings.ini"), "#FALSE#\r\n");
    PlayerProcess player(home.path());
    player.Start({clips::Video()});
    const QString window = WaitForPlaying(player, "clip");
    ASSERT_FALSE(window.isEmpty());
    const QRect windowed = FrameRect(window);
    const auto fullScreen = [&] {
        return WmStates(window).contains("_NET_WM_STATE_FULLSCREEN") && ClientRect(window) == Screen;
    };
    const auto filled = [&](const QString& name) {
        return WaitUntil([&] { return ColouredShare(QImage(player.Screenshot(window, name))) > 0.45; });
    };

    for (int round = 0; round < 10; ++round) {
        PressKeys(window, {"F2"});
        ASSERT_TRUE(WaitUntil(fullScreen)) << "round " << round;
        if (round == 0) {
            EXPECT_TRUE(filled("full-screen")) << "the picture fills the screen";
        }
        PressKeys(window, {"F2"});
        ASSERT_TRUE(WaitUntil([&] {
            return FrameRect(window) == windowed && !WmStates(window).contains("_NET_WM_STATE_FULLSCREEN");
        }))
            << "round " << round << ": back at " << FrameRect(window).x() << "," << FrameRect(window).y() << " "
            << FrameRect(window).width() << "x" << FrameRect(window).height();
    }

    // The next track plays in full screen.
    PressKeys(window, {"F2"});
    ASSERT_TRUE(WaitUntil(fullScreen));
    HandOff(home.path(), clips::Mpeg4Video());
    EXPECT_TRUE(filled("full-screen-next-track"));
    EXPECT_TRUE(fullScreen());
    // A sound file has no picture: it takes the video's place, and the window stays full screen.
    HandOff(home.path(), clips::Wav());
    EXPECT_TRUE(WaitUntil([&] { return ColouredShare(QImage(player.Screenshot(window, "full-screen-sound"))) < 0.05; }));
    EXPECT_TRUE(fullScreen());
    PressKeys(window, {"F2"});
    EXPECT_FALSE(player.WaitForWindow("tone - " + PlayerTitle).isEmpty());
    EXPECT_TRUE(WaitUntil([&] { return FrameRect(window).topLeft() == windowed.topLeft(); }))
        << "back at " << FrameRect(window).x() << "," << FrameRect(window).y() << " " << FrameRect(window).width() << "x"
        << FrameRect(window).height() << ", was at " << windowed.x() << "," << windowed.y() << "; states "
        << WmStates(window).join(' ').toStdString();

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
