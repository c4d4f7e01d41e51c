// Two real players on one program folder: the hand-off of a second start's file, and the files
// the player leaves behind when it ends.
#include "tests/e2e/PlayerProcess.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Presses keys in a window of the virtual display.
void PressKeys(const QString& windowId, const QStringList& keys)
{
    QProcess xdotool;
    xdotool.start(
        QStringLiteral("xdotool"), QStringList {"windowfocus", "--sync", windowId, "key", "--clearmodifiers"} + keys);
    xdotool.waitForFinished(10000);
}

} // namespace

TEST(PlayerHandoff, SecondStartPassesItsFileToTheRunningPlayerAndEnds)
{
    TempDir home;
    PlayerProcess first(home.path());
    first.Start();
    ASSERT_FALSE(first.WaitForWindow("Morvane Media Player").isEmpty());

    // A file the player can't play: the running player reports it in a box of its own.
    TempDir media;
    const QString file = media.file("handed over.txt");
    Write(file, "not a media file");

    PlayerProcess second(home.path());
    QElapsedTimer clock;
    clock.start();
    second.Start({file});
    ASSERT_TRUE(second.WaitForExit(10000)) << "the second start ends by itself";
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.file("Settings.ini"))) << "the second start wrote no settings";
    EXPECT_EQ(Read(home.file("command")), (file + "\r\n").toUtf8());

    EXPECT_FALSE(first.WaitForWindow("Error Opening File", 5000).isEmpty()) << "the running player took the file";
    EXPECT_LT(clock.elapsed(), 5000);

    ASSERT_TRUE(first.Terminate());
    EXPECT_EQ(first.ExitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.file("command")));
}

TEST(PlayerHandoff, ACrashedPlayerDoesNotBlockTheNextStart)
{
    TempDir home;
    {
        PlayerProcess crashed(home.path());
        crashed.Start();
        ASSERT_FALSE(crashed.WaitForWindow("Morvane Media Player").isEmpty());
        crashed.Process().kill();
        ASSERT_TRUE(crashed.WaitForExit());
    }
    PlayerProcess next(home.path());
    next.Start();
    EXPECT_FALSE(next.WaitForWindow("Morvane Media Player").isEmpty());
    ASSERT_TRUE(next.Terminate());
}

TEST(PlayerExit, ExitWritesTheSettingsFilesAndRemovesTheHandoff)
{
    TempDir home;
    TempDir media;
    const QString file = media.file("clip.txt");
    Write(file, "x");

    PlayerProcess player(home.path());
    player.Start({file});
    const QString box = player.WaitForWindow("Error Opening File");
    ASSERT_FALSE(box.isEmpty());
    EXPECT_EQ(Read(home.file("command")), (file + "\r\n").toUtf8());
    EXPECT_FALSE(QFile::exists(home.file("First.ini"))) << "first run";

    // Once the box is answered the player window comes up; the desktop's log-out then ends it.
    PressKeys(box, {"Return"});
    ASSERT_FALSE(player.WaitForWindow("Morvane Media Player").isEmpty());

    ASSERT_TRUE(player.Terminate());
    EXPECT_EQ(player.ExitCode(), 0);
    EXPECT_TRUE(Read(home.file("Settings.ini")).startsWith("#TRUE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,0,"));
    EXPECT_EQ(Read(home.file("RecentFiles.ini")), QByteArray("\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_FALSE(Read(home.file("First.ini")).trimmed().isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("command")));
}
