// The dialogs of the player's menus, opened from their menu items in the real program.
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QStringList ProcessWindows(qint64 pid)
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished(10000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

void PressKeys(const QString& window, const QStringList& keys)
{
    QProcess::execute("xdotool", QStringList {"key", "--window", window} + keys);
}

// Opens a menu of the window with its keys and chooses its item at the position given (0 is the
// first), with the keyboard sent to the menu itself.
void ChooseMenuItem(PlayerProcess& player, const QString& window, const QString& menuKeys, int position)
{
    const qint64 pid = player.Process().processId();
    const QStringList before = ProcessWindows(pid);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        QProcess::execute("xdotool", {"windowfocus", "--sync", window});
        PressKeys(window, {menuKeys});
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < 3000) {
            QStringList popups = ProcessWindows(pid);
            popups.removeIf([&](const QString& w) { return before.contains(w); });
            if (!popups.isEmpty()) {
                QStringList keys;
                for (int i = 0; i < position; ++i)
                    keys << "Down";
                PressKeys(popups.first(), keys << "Return");
                return;
            }
            QThread::msleep(50);
        }
    }
    ADD_FAILURE() << "the menu " << menuKeys.toStdString() << " did not come up";
}

// Presses the shortcut in the window until a window with the title comes up (a key pressed while
// the program is still starting is lost); returns its id.
QString PressUntilWindow(PlayerProcess& player, const QString& window, const QString& keys, const QString& title)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        QProcess::execute("xdotool", {"windowfocus", "--sync", window});
        PressKeys(window, {keys});
        const QString found = player.WaitForWindow(title, 3000);
        if (!found.isEmpty()) return found;
    }
    return QString();
}

// A running player (not a first run) playing the clip a second start handed to it.
QString StartPlaying(PlayerProcess& player, const TempDir& home, const QString& clip)
{
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    if (window.isEmpty()) return window;
    PlayerProcess second(home.path());
    second.Start({clip});
    second.WaitForExit();
    return player.WaitForWindow(QFileInfo(clip).completeBaseName());
}

bool Painted(const QImage& image)
{
    if (image.isNull()) return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            if (image.pixel(x, y) != first) return true;
    return false;
}

// Keeps a picture of the window once it has drawn itself.
void KeepScreenshot(PlayerProcess& player, const QString& window, const QString& name)
{
    QImage image;
    QElapsedTimer clock;
    clock.start();
    do {
        image = QImage(player.Screenshot(window, name));
        if (Painted(image)) break;
        QThread::msleep(100);
    } while (clock.elapsed() < Patience);
    ASSERT_TRUE(Painted(image)) << name.toStdString();
    EXPECT_GT(image.width(), 100);
}

} // namespace

TEST(DialogWindows, GoToAndPropertiesOpenFromThePlayersMenus)
{
    TempDir home;
    TempDir media;
    const QString clip = media.file("menu clip.mp4");
    ASSERT_TRUE(QFile::copy(clips::Video(), clip));
    PlayerProcess player(home.path());
    const QString window = StartPlaying(player, home, clip);
    ASSERT_FALSE(window.isEmpty()) << "the player plays the handed clip";

    const QString goTo = PressUntilWindow(player, window, "F5", "Go To Position");
    ASSERT_FALSE(goTo.isEmpty()) << "F5 opens the go-to window";
    KeepScreenshot(player, goTo, "go-to-window");

    ChooseMenuItem(player, window, "alt+f", 2);
    const QString properties = player.WaitForWindow("menu clip.mp4 - Properties");
    ASSERT_FALSE(properties.isEmpty()) << "File, Properties opens the properties of the playing clip";
    KeepScreenshot(player, properties, "properties-window");

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(DialogWindows, TheFirstRunShowsTheAssociationDialogWithThePlayerBehindIt)
{
    TempDir home;
    PlayerProcess player(home.path());
    QFile::remove(home.file("First.ini"));
    player.Start();
    const QString dialog = player.WaitForWindow("Associate Tessel");
    ASSERT_FALSE(dialog.isEmpty()) << "the first run asks for the associations";
    EXPECT_FALSE(player.WaitForWindow("Morvane Media Player").isEmpty()) << "the player shows behind it";
    KeepScreenshot(player, dialog, "associate-first-run");

    // Ending the program closes the dialog without associating anything.
    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.file("config/tessel/registry")));
    EXPECT_FALSE(QFile(home.file("First.ini")).size() == 0) << "the next start is no first run";
}

TEST(DialogWindows, FileAssociateOpensFromTheSettingsMenu)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());
    ChooseMenuItem(player, window, "alt+s", 2);
    const QString dialog = player.WaitForWindow("Associate Tessel");
    ASSERT_FALSE(dialog.isEmpty()) << "Settings, File Associate opens the window";
    KeepScreenshot(player, dialog, "associate-window");
    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}

TEST(DialogWindows, AddDirOpensTheFolderBrowser)
{
    TempDir home;
    PlayerProcess player(home.path());
    player.Start();
    const QString window = player.WaitForWindow("Morvane Media Player");
    ASSERT_FALSE(window.isEmpty());
    const QString browser = PressUntilWindow(player, window, "ctrl+d", "Select Directory");
    ASSERT_FALSE(browser.isEmpty()) << "Ctrl+D, Add Dir, opens the folder browser";
    KeepScreenshot(player, browser, "folder-browser");
    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
}
