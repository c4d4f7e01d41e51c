// Two real players on one program folder: the hand-off of a second start's file, and the files
// the player leaves behind when it ends.
#include "tests/e2e/PlayerProcess.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

namespace {

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

// The visible windows of a process that are not in the list.
QStringList NewWindows(qint64 pid, const QStringList& known)
{
    QProcess search;
    search.start("xdotool", {"search", "--onlyvisible", "--pid", QString::number(pid)});
    search.waitForFinished(10000);
    QStringList windows = QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    windows.removeIf([&](const QString& w) { return known.contains(w); });
    return windows;
}

// Chooses the last item of the menu that the keys open in the window: the mouse clicks it, as
// nothing on the virtual display hands the keyboard to the menu. Keys and click are repeated
// until a menu has come up and gone with the click.
void ChooseLastMenuItem(const QString& window, qint64 pid, const QStringList& keys)
{
    const QStringList before = NewWindows(pid, {window}) << window;
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer sinceKeys;
    while (clock.elapsed() < Patience) {
        const QStringList popups = NewWindows(pid, before);
        if (popups.isEmpty()) {
            if (!sinceKeys.isValid() || sinceKeys.elapsed() > 3000) {
                QProcess::execute("xdotool", {"windowfocus", "--sync", window});
                PressKeys(window, keys);
                sinceKeys.start();
            }
            QThread::msleep(50);
            continue;
        }
        const QRect menu = WindowGeometry(popups.first());
        QProcess::execute("xdotool",
            {"mousemove", QString::number(menu.left() + 20), QString::number(menu.bottom() - 8), "click", "1"});
        QElapsedTimer closing;
        closing.start();
        while (closing.elapsed() < 2000) {
            if (!NewWindows(pid, before).contains(popups.first())) return;
            QThread::msleep(50);
        }
    }
    ADD_FAILURE() << "no menu came up and took the click";
}

// Answers message boxes with that title until as many as expected have come up and none is left.
void AnswerBoxes(const QString& title, int expected)
{
    QSet<QString> seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < Patience) {
        const QStringList boxes = VisibleWindows(title);
        if (boxes.isEmpty() && seen.size() >= expected) return;
        for (const QString& box : boxes) {
            seen.insert(box);
            PressKeys(box, {"Return"});
        }
        QThread::msleep(100);
    }
    ADD_FAILURE() << seen.size() << " of " << expected << " boxes came up and were answered";
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
    second.Start({file});
    ASSERT_TRUE(second.WaitForExit()) << "the second start ends by itself";
    EXPECT_EQ(second.ExitCode(), 0);
    EXPECT_FALSE(QFile::exists(home.file("Settings.ini"))) << "the second start wrote no settings";
    EXPECT_EQ(Read(home.file("command")), (file + "\r\n").toUtf8());

    EXPECT_FALSE(first.WaitForWindow("Error Opening File").isEmpty()) << "the running player took the file";

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
    const QByteArray lastRun = Read(home.file("First.ini"));

    // One file, one message: once it is answered the player window comes up (the hand-off poll
    // does not try the file again); its File menu's Exit ends it.
    AnswerBoxes("Error Opening File", 1);
    ASSERT_FALSE(player.WaitForWindow("Morvane Media Player").isEmpty());
    EXPECT_TRUE(VisibleWindows("Error Opening File").isEmpty());
    const QStringList windows = VisibleWindows("Morvane Media Player");
    ASSERT_EQ(windows.size(), 1);
    ChooseLastMenuItem(windows[0], player.Process().processId(), {"alt+f"});

    ASSERT_TRUE(player.WaitForExit());
    EXPECT_EQ(player.ExitCode(), 0);
    EXPECT_TRUE(Read(home.file("Settings.ini")).startsWith("#TRUE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,0,"));
    EXPECT_EQ(Read(home.file("RecentFiles.ini")), QByteArray("\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_FALSE(Read(home.file("First.ini")).trimmed().isEmpty());
    EXPECT_NE(Read(home.file("First.ini")), lastRun) << "the date of this exit";
    EXPECT_FALSE(QFile::exists(home.file("command")));
}

TEST(PlayerHandoff, RunningPlayerPlaysAHandedOverClip)
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
    ASSERT_TRUE(second.WaitForExit());
    ASSERT_FALSE(first.WaitForWindow("handed clip").isEmpty()) << "the running player opened the clip";

    // The row the running player selected for it is what it names as its recent file at exit.
    ASSERT_TRUE(first.Terminate());
    EXPECT_EQ(first.ExitCode(), 0);
    EXPECT_EQ(Read(home.file("RecentFiles.ini")), ("\"\",\"" + clip + "\",\"\",\"\"\r\n").toUtf8());
}
