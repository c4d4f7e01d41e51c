// Two real players on one program folder: the hand-off of a second start's file, and the files
// the player leaves behind when it ends.
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRect>
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

// The visible windows of the virtual display whose title holds the text.
QStringList VisibleWindows(const QString& title)
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--name", title});
    search.waitForFinished(10000);
    return QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Presses keys in a window, or where the keyboard is when no window is named.
void PressKeys(const QString& window, const QStringList& keys)
{
    QStringList arguments {"key"};
    if (!window.isEmpty()) arguments << "--window" << window;
    QProcess::execute("xdotool", arguments + keys);
}

// The position and size of a window on the virtual display.
QRect WindowGeometry(const QString& window)
{
    QProcess query;
    query.start("xdotool", {"getwindowgeometry", "--shell", window});
    query.waitForFinished(10000);
    QMap<QString, int> values;
    for (const QString& line : QString::fromUtf8(query.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
        values.insert(line.section('=', 0, 0), line.section('=', 1).toInt());
    return QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
}

// Chooses the last item of the menu that the keys open in the window: the mouse clicks it, as
// nothing on the virtual display hands the keyboard to the menu.
void ChooseLastMenuItem(const QString& window, qint64 pid, const QStringList& keys)
{
    QProcess::execute("xdotool", {"windowfocus", "--sync", window});
    PressKeys(window, keys);
    QThread::msleep(300);
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished(10000);
    for (const QString& popup : QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        if (popup == window) continue;
        const QRect menu = WindowGeometry(popup);
        QProcess::execute("xdotool",
            {"mousemove", QString::number(menu.left() + 20), QString::number(menu.bottom() - 8), "click", "1"});
        return;
    }
}

// Answers every message box with that title until none has come up for a second.
void AnswerBoxes(const QString& title)
{
    QElapsedTimer quiet;
    quiet.start();
    QElapsedTimer clock;
    clock.start();
    while (quiet.elapsed() < 1000 && clock.elapsed() < 10000) {
        const QStringList boxes = VisibleWindows(title);
        for (const QString& box : boxes)
            PressKeys(box, {"Return"});
        if (!boxes.isEmpty()) quiet.restart();
        QThread::msleep(100);
    }
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
    ASSERT_FALSE(player.WaitForWindow("Error Opening File").isEmpty());
    EXPECT_EQ(Read(home.file("command")), (file + "\r\n").toUtf8());
    EXPECT_FALSE(QFile::exists(home.file("First.ini"))) << "first run";

    // Once its boxes are answered (the first hand-off poll takes the file once more), the player
    // window comes up; its File menu's Exit ends it.
    AnswerBoxes("Error Opening File");
    ASSERT_FALSE(player.WaitForWindow("Morvane Media Player").isEmpty());
    const QStringList windows = VisibleWindows("Morvane Media Player");
    ASSERT_EQ(windows.size(), 1);
    ChooseLastMenuItem(windows[0], player.Process().processId(), {"alt+f"});

    ASSERT_TRUE(player.WaitForExit(10000));
    EXPECT_EQ(player.ExitCode(), 0);
    EXPECT_TRUE(Read(home.file("Settings.ini")).startsWith("#TRUE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,0,"));
    EXPECT_EQ(Read(home.file("RecentFiles.ini")), QByteArray("\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_FALSE(Read(home.file("First.ini")).trimmed().isEmpty());
    EXPECT_FALSE(QFile::exists(home.file("command")));
}

TEST(PlayerHandoff, RunningPlayerPlaysAHandedOverClipWithinASecond)
{
    TempDir home;
    TempDir media;
    const QString clip = media.file("handed clip ü.mp4");
    ASSERT_TRUE(QFile::copy(clips::Video(), clip));

    PlayerProcess first(home.path());
    first.Start();
    ASSERT_FALSE(first.WaitForWindow("Morvane Media Player").isEmpty());

    PlayerProcess second(home.path());
    second.Start({clip});
    ASSERT_TRUE(second.WaitForExit(10000));
    QThread::msleep(1500);

    // The row the running player selected for it is what it names as its recent file at exit.
    ASSERT_TRUE(first.Terminate());
    EXPECT_EQ(first.ExitCode(), 0);
    EXPECT_EQ(Read(home.file("RecentFiles.ini")), ("\"\",\"" + clip + "\",\"\",\"\"\r\n").toUtf8());
}
