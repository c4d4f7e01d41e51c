// The player's start-up and shutdown against its settings, recent-file and hand-off files.
#include "tests/player/PlayerFixture.h"

#include "engine/Docking.h"
#include "engine/Media.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/TempDir.h"

#include <QScopeGuard>

namespace {
const QByteArray DesignSettings
    = "#TRUE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,0,-16,#TRUE#,#TRUE#,#TRUE#,#FALSE#,#FALSE#\r\n";
}

TEST_F(PlayerTest, FirstRunWithoutFilesThenExitWritesTheThreeFiles)
{
    QFile::remove(Program("First.ini"));
    user_.CloseModalForms();
    frmPlayer& p = Start();
    EXPECT_EQ(user_.ModalForms(), std::vector<QString> {"Associate Tessel"}) << "the first run's association dialog";
    EXPECT_TRUE(Docking::IsAttached(&p)) << "the main window of docking";
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0) << "the empty start-up row is removed again";
    EXPECT_TRUE(user_.Boxes().empty());
    for (auto* recent : {p.mnuFileLast, p.mnuFileLast2, p.mnuFileLast3, p.mnuFileLast4})
        EXPECT_FALSE(recent->Visible());
    EXPECT_FALSE(QFile::exists(Program("command"))) << "a start without a file leaves the hand-off file alone";

    Exit();
    EXPECT_EQ(Read(Program("Settings.ini")), DesignSettings);
    EXPECT_EQ(Read(Program("RecentFiles.ini")), QByteArray("\"\",\"\",\"\",\"\"\r\n"));
    EXPECT_TRUE(Read(Program("First.ini")).endsWith("\r\n"));
    EXPECT_GT(Read(Program("First.ini")).size(), 2);
    EXPECT_FALSE(QFile::exists(Program("command")));
}

TEST_F(PlayerTest, SettingsSurviveARestartAndADamagedItemKeepsItsDesignState)
{
    // Item 4 (Zoom 100%) and item 7 (Repeat) don't convert; everything else applies.
    Write(Program("Settings.ini"),
        "#FALSE#,#FALSE#,#TRUE#,maybe,#FALSE#,#FALSE#,x,0,-5,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#\r\n");
    frmPlayer& p = Start();
    EXPECT_FALSE(p.mnuOptionsHide->Checked());
    EXPECT_FALSE(p.mnuOptionsAspectRatio->Checked());
    EXPECT_TRUE(p.mnuOptionsStretch->Checked());
    EXPECT_FALSE(p.mnuOptionsDefaultSize->Checked()) << "design state";
    EXPECT_FALSE(p.mnuSysTray->Checked());
    EXPECT_TRUE(p.mnuRepeat->Checked()) << "design state";
    EXPECT_EQ(p.scrVolume->Value(), -5);
    EXPECT_FALSE(p.mnuResizeOnOpen->Checked());
    EXPECT_FALSE(p.mnuLeftSpeaker->Checked());
    EXPECT_FALSE(p.mnuRightSpeaker->Checked());
    EXPECT_TRUE(p.mnuViewZoom50->Checked());
    EXPECT_TRUE(p.mnuViewZoom200->Checked());

    p.mnuRepeat->setChecked(false);
    Exit();
    EXPECT_EQ(Read(Program("Settings.ini")),
        QByteArray(
            "#FALSE#,#FALSE#,#TRUE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#,0,-5,#FALSE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#\r\n"));
}

TEST_F(PlayerTest, BadSettingsFilesNeverStopTheStart)
{
    // Short, out-of-range and binary content: every item that doesn't convert keeps its design value.
    user_.CloseModalForms(); // an empty "First.ini" is a first run
    for (const QByteArray& content : {QByteArray(), QByteArray("#FALSE#"), QByteArray("1,1,1,1,0,1,1,0,99\r\n"),
             QByteArray("\x00\xff\xfe\"\r\n,,,\x01", 11)}) {
        Write(Program("Settings.ini"), content);
        Write(Program("RecentFiles.ini"), content);
        Write(Program("First.ini"), content);
        Write(Program("command"), content);
        frmPlayer& p = Start();
        EXPECT_EQ(p.scrVolume->Value(), -16) << "volume out of range or missing keeps the design value";
        EXPECT_TRUE(p.mnuSysTray->Checked());
        delete player_;
        player_ = nullptr;
    }
}

TEST_F(PlayerTest, RecentFilesAreShownAndRebuiltAtExit)
{
    Write(Program("RecentFiles.ini"), "\"\",\"/m/a.mp3\",\"/m/b, c.avi\",\"\"\r\n");
    frmPlayer& p = Start();
    EXPECT_EQ(p.mnuFileLast2->Caption(), "/m/a.mp3");
    EXPECT_EQ(p.mnuFileLast3->Caption(), "/m/b, c.avi");
    EXPECT_FALSE(p.mnuFileLast->Visible());
    EXPECT_TRUE(p.mnuFileLast2->Visible());
    EXPECT_TRUE(p.mnuFileLast3->Visible());
    EXPECT_FALSE(p.mnuFileLast4->Visible());

    // The playlist's current row goes into the first empty slot among 2 to 4.
    p.lstPlaylist->AddItem("/m/current.avi");
    {
        QSignalBlocker quiet(p.lstPlaylist);
        p.lstPlaylist->setCurrentIndex(0);
    }
    Exit();
    EXPECT_EQ(Read(Program("RecentFiles.ini")), QByteArray("\"\",\"/m/a.mp3\",\"/m/b, c.avi\",\"/m/current.avi\"\r\n"));
}

TEST_F(PlayerTest, StartWithAFileWritesItsLongPathForTheHandoff)
{
    TempDir dir;
    const QString file = dir.file("not media, ü.txt");
    Write(file, "plain text");
    frmPlayer& p = Start(dir.path() + "/./" + "not media, ü.txt");
    EXPECT_EQ(Read(Program("command")), (file + "\r\n").toUtf8());

    // The file can't be played: its box names it, and its row is gone.
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - not media, ü");
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);

    // The polls find the start's own file (read up to the comma) and leave it: it counts as
    // taken from the start.
    EXPECT_EQ(p.LastHandoff, dir.file("not media"));
    p.PollHandoff();
    p.PollHandoff();
    EXPECT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);

    Exit();
    EXPECT_FALSE(QFile::exists(Program("command")));
}

TEST_F(PlayerTest, QuotedCommandLineLosesItsQuotesAndHandsOffNothing)
{
    TempDir dir;
    const QString file = dir.file("clip.txt");
    Write(file, "x");
    Start("\"" + file + "\"");
    EXPECT_EQ(Read(Program("command")), QByteArray("\r\n"));
    ASSERT_EQ(user_.Boxes().size(), 1u) << "the row without quotes was opened";
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - clip");
}

TEST_F(PlayerTest, TrayClicksPopUpTheContextMenuAndDoubleClickRestores)
{
    frmPlayer& p = Start();
    p.TrayIcon_Message(514);
    p.TrayIcon_Message(517);
    p.TrayIcon_Message(512);
    EXPECT_EQ(user_.PopupCount(), 2);
    p.setState(forms::WindowState::Minimized);
    p.TrayIcon_Message(515);
    EXPECT_EQ(p.State(), forms::WindowState::Normal);
    EXPECT_TRUE(p.isVisible());
}

TEST_F(PlayerTest, SettingsThatCannotBeSavedAtExitAreReportedOnceAndTheOldFilesStay)
{
    // The program folder on a small disk of its own.
    TempDir dir;
    const QString folder = dir.file("program");
    QDir().mkpath(folder);
    ScratchMount disk(folder, "size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    const QByteArray home = qgetenv("TESSEL_HOME");
    qputenv("TESSEL_HOME", folder.toLocal8Bit());
    const auto restore = qScopeGuard([&] { qputenv("TESSEL_HOME", home); });
    Write(Program("First.ini"), "\"01/01/2026 12:00:00\"\r\n");

    frmPlayer& p = Start();
    p.mnuRepeat->setChecked(false);
    Exit();
    ASSERT_TRUE(user_.Boxes().empty());
    const QByteArray settings = Read(Program("Settings.ini"));
    const QByteArray recent = Read(Program("RecentFiles.ini"));
    const QByteArray first = Read(Program("First.ini"));

    // The disk fills up; the user turns Repeat back on, plays a file and quits.
    disk.Fill();
    frmPlayer& again = Start();
    again.mnuRepeat->setChecked(true);
    again.lstPlaylist->AddItem("/m/current.avi");
    {
        QSignalBlocker quiet(again.lstPlaylist);
        again.lstPlaylist->setCurrentIndex(0);
    }
    Exit();

    QStringList prompts;
    for (const auto& box : user_.Boxes())
        prompts << box.prompt;
    EXPECT_EQ(prompts,
        QStringList {"The player's settings could not be saved to " + files::ProgramFolder()
            + " (the disk may be full, or the folder not writable).\r\nThe next start uses the settings "
              "saved before."})
        << prompts.join('|').toStdString();
    EXPECT_EQ(Read(Program("Settings.ini")), settings) << "the file saved before stays whole";
    EXPECT_EQ(Read(Program("RecentFiles.ini")), recent);
    EXPECT_EQ(Read(Program("First.ini")), first);
}
