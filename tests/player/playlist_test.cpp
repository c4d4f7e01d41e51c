// The playlist: opening rows, the file name rule, duplicates, playlist files and drops.
#include "tests/player/PlayerFixture.h"

#include "player/ListBox.h"
#include "tests/support/TempDir.h"

#include <QDir>

TEST_F(PlayerTest, FileNameIsTheTextBetweenTheLastSlashAndTheFirstDot)
{
    frmPlayer& p = Start();
    QString path = "  /music/live.at.home.mp3  ";
    EXPECT_EQ(p.GetFileName(path), "live");
    EXPECT_EQ(path, "/music/live.at.home.mp3") << "the caller's text is trimmed";
    QString noDot = "/music/README";
    EXPECT_EQ(p.GetFileName(noDot), "");
    QString onlyLeadingSlash = "/song.mp3";
    EXPECT_EQ(p.GetFileName(onlyLeadingSlash), "");
    QString dottedFolder = "/v.mp3s/clip";
    EXPECT_EQ(p.GetFileName(dottedFolder), "");
}

TEST_F(PlayerTest, EveryRowThatFailsToOpenIsReportedAndDropped)
{
    TempDir dir;
    frmPlayer& p = Start();
    Write(dir.file("bad one.txt"), "x");
    p.lstPlaylist->AddItem(dir.file("bad one.txt"));
    p.lstPlaylist->AddItem(dir.file("missing.avi"));
    p.lstPlaylist->setListIndex(0);

    ASSERT_EQ(user_.Boxes().size(), 2u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - bad one");
    EXPECT_EQ(user_.Boxes()[0].style, 16);
    EXPECT_EQ(user_.Boxes()[0].title, "Error Opening File");
    EXPECT_EQ(user_.Boxes()[1].prompt, "Error Opening File - missing");
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);
    EXPECT_NEAR(p.Width(), 9495, 15);
    EXPECT_NEAR(p.Height(), 7200, 15);
}

TEST_F(PlayerTest, RemoveWithoutSelectionOpensRowZeroAndClearKeepsNothing)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem("/nowhere/a.avi");
    p.lstPlaylist->AddItem("/nowhere/b.avi");
    p.RemoveCommand();
    ASSERT_EQ(user_.Boxes().size(), 2u) << "row 0 opened, failed, and the next row after it";
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - a");

    p.lstPlaylist->AddItem("/nowhere/c.avi");
    p.ClearCommand();
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);
    EXPECT_EQ(user_.Boxes().size(), 2u) << "Clear opens nothing";
}

TEST_F(PlayerTest, DuplicateRowsGoAndTheFirstOfEachStays)
{
    forms::ComboBox list(nullptr);
    for (const char* row : {"b", "a", "b", "B", "a", "", "c", "", "b"})
        list.AddItem(row);
    ListBox::RemoveDuplicateRows(list);
    EXPECT_EQ(Rows(list), (QStringList {"b", "a", "B", "", "c"}));
}

TEST_F(PlayerTest, PlaylistFileRoundTripSplitsItemsByTheDelimitedRule)
{
    TempDir dir;
    const QString path = dir.file("list.txt");
    forms::ComboBox list(nullptr);
    for (const char* row :
        {"/m/plain.mp3", "/m/with, comma.avi", "/m/blank name ü.ogg", "  /m/padded.wav  ", "\"/m/quoted.mp3\" tail"})
        list.AddItem(QString::fromUtf8(row));
    ASSERT_TRUE(ListBox::SaveListBox(path, list));
    EXPECT_EQ(Read(path),
        QString::fromUtf8("/m/plain.mp3\r\n/m/with, comma.avi\r\n/m/blank name ü.ogg\r\n"
                          "  /m/padded.wav  \r\n\"/m/quoted.mp3\" tail\r\n")
            .toUtf8());

    forms::ComboBox back(nullptr);
    ListBox::LoadListBox(path, back);
    EXPECT_EQ(Rows(back),
        (QStringList {"/m/plain.mp3", "/m/with", "comma.avi", QString::fromUtf8("/m/blank name ü.ogg"), "/m/padded.wav",
            "/m/quoted.mp3"}));

    // Importing again appends every row once more: no de-duplication while loading.
    ListBox::LoadListBox(path, back);
    EXPECT_EQ(back.ListCount(), 12);
    EXPECT_EQ(back.ListIndex(), -1) << "loading selects nothing";

    // A missing file adds nothing; a long one loads whole.
    ListBox::LoadListBox(dir.file("missing.txt"), back);
    EXPECT_EQ(back.ListCount(), 12);
    QByteArray many;
    for (int i = 0; i < 1234; ++i)
        many += "/m/" + QByteArray::number(i) + ".mp3\r\n";
    Write(path, many);
    forms::ComboBox big(nullptr);
    ListBox::LoadListBox(path, big);
    ASSERT_EQ(big.ListCount(), 1234);
    EXPECT_EQ(big.List(1233), "/m/1233.mp3");
}

TEST_F(PlayerTest, DropOnThePlaylistAppendsWithoutPlayingAndOnTheWindowPlaysTheLastRow)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem("/m/a.avi");
    p.lstPlaylist_OLEDragDrop({"/m/a.avi", "/m/b.avi", "/m/b.avi"}, 1, 0, 0, 0);
    EXPECT_EQ(Rows(*p.lstPlaylist), (QStringList {"/m/a.avi", "/m/b.avi"}));
    EXPECT_TRUE(user_.Boxes().empty()) << "nothing opened";
    EXPECT_EQ(p.lstPlaylist->ListIndex(), -1);

    p.framPlayer_OLEDragDrop({"/m/c.avi", "/m/a.avi"}, 1, 0, 0, 0);
    ASSERT_FALSE(user_.Boxes().empty()) << "the last row was opened";
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - c");
}

TEST_F(PlayerTest, RecentEntryAppendsItsCaptionAndOpensIt)
{
    frmPlayer& p = Start();
    p.mnuFileLast3->setCaption("/m/recent, one.avi");
    emit p.mnuFileLast3->Click();
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - recent, one");
}

TEST_F(PlayerTest, HandoffPollTakesTheFileUpToACommaAndOpensIt)
{
    frmPlayer& p = Start();
    Write(Program("command"), "/m/clip one, two.avi\r\n");
    p.PollHandoff();
    EXPECT_EQ(p.LastHandoff, "/m/clip one");
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - ") << "a name without a dot is empty";
    p.PollHandoff();
    EXPECT_EQ(user_.Boxes().size(), 1u);
}

TEST_F(PlayerTest, OpenClearsThePlaylistAndACancelledOpenReusesThePreviousName)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem("/m/old.avi");

    // A fresh dialog that is cancelled appends an empty row, which opening removes again.
    user_.CancelDialog();
    emit p.mnuOpen->Click();
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0);
    EXPECT_TRUE(user_.Boxes().empty());
    ASSERT_EQ(user_.FileRequests().size(), 1u);
    EXPECT_FALSE(user_.FileRequests()[0].save);
    EXPECT_EQ(user_.FileRequests()[0].descriptions.value(1), "All Files(*.*)");

    user_.ChooseFile("/m/new clip, ü.avi");
    emit p.mnuCustomOpen->Click();
    ASSERT_EQ(user_.Boxes().size(), 1u) << "the chosen file was opened";
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - new clip, ü");

    p.lstPlaylist->AddItem("/m/other.avi");
    user_.CancelDialog();
    emit p.mnuOpen->Click();
    ASSERT_EQ(user_.Boxes().size(), 2u) << "the previous name was opened again";
    EXPECT_EQ(user_.Boxes()[1].prompt, "Error Opening File - new clip, ü");
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0) << "the playlist was cleared first";
}

TEST_F(PlayerTest, AddFileAppendsAndOpensTheNewRow)
{
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem("/m/first.avi");
    user_.ChooseFile("/m/second.avi");
    emit p.mnuAddFile->Click();
    ASSERT_EQ(user_.Boxes().size(), 2u) << "the failing row goes, and row 0 opens in its place";
    EXPECT_EQ(user_.Boxes()[0].prompt, "Error Opening File - second");
    EXPECT_EQ(user_.Boxes()[1].prompt, "Error Opening File - first");
}

TEST_F(PlayerTest, OpenImportAndSaveListThroughTheDialog)
{
    TempDir dir;
    const QString list = dir.file("my list.txt");
    Write(list, "/m/a.mp3\r\n/m/b, c.avi\r\n");
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem("/m/gone.avi");

    user_.ChooseFile(list);
    emit p.mnuOpenList->Click();
    EXPECT_EQ(Rows(*p.lstPlaylist), (QStringList {"/m/a.mp3", "/m/b", "c.avi"}));
    EXPECT_EQ(p.lstPlaylist->ListIndex(), -1);
    EXPECT_EQ(user_.FileRequests().back().descriptions.value(0), "Text File(*.txt)");

    // A cancelled Import reads the previous list again.
    user_.CancelDialog();
    emit p.mnuImportList->Click();
    EXPECT_EQ(p.lstPlaylist->ListCount(), 6);
    EXPECT_TRUE(user_.Boxes().empty()) << "loading opens nothing";

    const QString saved = dir.file("saved.txt");
    user_.ChooseFile(saved);
    emit p.mnuSaveList->Click();
    EXPECT_TRUE(user_.FileRequests().back().save);
    EXPECT_EQ(Read(saved), QByteArray("/m/a.mp3\r\n/m/b\r\nc.avi\r\n/m/a.mp3\r\n/m/b\r\nc.avi\r\n"));

    // A cancelled Save writes nothing, and the name chosen before stays for the next dialog.
    QFile::remove(saved);
    user_.CancelDialog();
    emit p.mnuSaveList->Click();
    EXPECT_FALSE(QFile::exists(saved));
    p.lstPlaylist->Clear();
    user_.CancelDialog();
    emit p.mnuImportList->Click();
    EXPECT_EQ(p.lstPlaylist->ListCount(), 0) << "the saved list's name was kept, and that file is gone";
}

TEST_F(PlayerTest, VideoCdAppendsTheDiscsDatFilesOrSaysItFoundNone)
{
    TempDir disc;
    ASSERT_TRUE(QDir().mkpath(disc.file("mpegav/folder.dat")));
    Write(disc.file("mpegav/AVSEQ01.DAT"), "x");
    Write(disc.file("mpegav/avseq02.dat"), "x");
    Write(disc.file("mpegav/readme.txt"), "x");
    frmPlayer& p = Start();

    user_.ChooseFolder(disc.path());
    emit p.mnuVCD->Click();
    QStringList rows = Rows(*p.lstPlaylist);
    rows.sort();
    EXPECT_EQ(rows, (QStringList {disc.file("mpegav/AVSEQ01.DAT"), disc.file("mpegav/avseq02.dat")}));
    EXPECT_EQ(p.lstPlaylist->ListIndex(), -1);
    ASSERT_EQ(user_.FolderRequests().size(), 1u);
    EXPECT_EQ(user_.FolderRequests()[0].root, 17);
    EXPECT_TRUE(user_.Boxes().empty());

    user_.CancelDialog();
    emit p.mnuVCD->Click();
    ASSERT_EQ(user_.Boxes().size(), 1u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "Cannot Find VCD");
    EXPECT_EQ(user_.Boxes()[0].style, 16);
    EXPECT_EQ(user_.Boxes()[0].title, "Error Loading VCD");
    EXPECT_EQ(p.lstPlaylist->ListCount(), 2);
}
