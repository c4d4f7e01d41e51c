// The data disc window: name rules, the views, drops, renames, writing and the refusals.
#include "components/cdwriter/CDWriterXP.h"
#include "platform/forms/MsgBox.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"
#include "writing/WriteSpeeds.h"
#include "writing/frmBurnData.h"
#include "writing/frmDataDiscInfo.h"

#include <QDir>
#include <QDropEvent>
#include <QSignalSpy>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList Prompts(const ScriptedUser& user)
{
    QStringList prompts;
    for (const auto& box : user.Boxes()) prompts << box.prompt;
    return prompts;
}

// The window with the disc-image recorder as its only drive, loaded.
struct BurnWindow {
    TempDir dir;
    ScriptedUser user;
    frmBurnData* window;

    BurnWindow()
    {
        qputenv("TESSEL_RECORDER", dir.file(QStringLiteral("recorder.iso")).toUtf8());
        window = &forms::Instance<frmBurnData>();
        window->Load();
    }
    ~BurnWindow()
    {
        if (!window->UiEnabled()) WaitFor([this] { return window->UiEnabled(); });
        window->Unload();
        qunsetenv("TESSEL_RECORDER");
    }
    QString Image() const { return dir.file(QStringLiteral("recorder.iso")); }
};

// Types a new label into the view's open editor and presses Enter, as the user does.
bool EditInPlace(QAbstractItemView* view, const QString& text)
{
    QLineEdit* editor = nullptr;
    WaitFor([&] {
        for (QLineEdit* e : view->findChildren<QLineEdit*>())
            if (e->isVisible()) editor = e;
        return editor != nullptr;
    }, 10000);
    if (!editor) {
        ADD_FAILURE() << "no editor; items editable: " << view->model()->rowCount();
        return false;
    }
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    return true;
}

QString LastPrompt(const ScriptedUser& user) { return user.Boxes().empty() ? QString() : user.Boxes().back().prompt; }

QStringList ListRow(frmBurnData& w, int row)
{
    return {w.lvwImageFiles->Text(row, 0), w.lvwImageFiles->Text(row, 1), w.lvwImageFiles->Text(row, 2)};
}

} // namespace

TEST(WriteSpeeds, FourLessEachStepThenHalvedWithHalvesToEven)
{
    EXPECT_EQ(WriteSpeeds(48), std::vector<int>({48, 44, 40, 36, 32, 28, 24, 20, 16, 12, 8, 4, 2, 1}));
    EXPECT_EQ(WriteSpeeds(10), std::vector<int>({10, 6, 2, 1}));
    EXPECT_EQ(WriteSpeeds(7), std::vector<int>({7, 3, 2, 1}));
    EXPECT_TRUE(WriteSpeeds(0).empty());
}

TEST(BurnData, NameRulesFollowTheComponentsSettings)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    // The component's defaults: Joliet.
    EXPECT_TRUE(w.ValidateItemName(QString(64, QLatin1Char('a'))));
    EXPECT_FALSE(w.ValidateItemName(QString(65, QLatin1Char('a'))));
    EXPECT_FALSE(w.ValidateItemName(QString()));

    w.CDWriterXP1->setJoliet(false);
    EXPECT_TRUE(w.ValidateItemName(QString(31, QLatin1Char('a'))));
    EXPECT_FALSE(w.ValidateItemName(QString(32, QLatin1Char('a'))));

    w.CDWriterXP1->setIsoLevel1(true);
    for (const char* good : {"ABCDEFGH.TXT", "A.B.C", "ABCDEFGH"}) EXPECT_TRUE(w.ValidateItemName(QString::fromLatin1(good))) << good;
    for (const char* bad : {"ABCDEFGHI.TXT", "README.TEXT"}) EXPECT_FALSE(w.ValidateItemName(QString::fromLatin1(bad))) << bad;

    EXPECT_EQ(Prompts(b.user), QStringList({
        QStringLiteral("Item Name violates Joliet naming rules (64 Char Max)."),
        QStringLiteral("Item name cannot be blank."),
        QStringLiteral("Item Name violates ISO9660 Level 2 naming rules (31 Char Max)."),
        QStringLiteral("Item Name violates ISO9660 Level 1 naming rules (8 + 3 Char Max)."),
        QStringLiteral("Item Name violates ISO9660 Level 1 naming rules (8 + 3 Char Max)."),
    }));
    EXPECT_EQ(b.user.Boxes().back().style, forms::MsgBoxStyle::Information);
}

TEST(BurnData, DropsLandInTheSelectedFolderAndTheListShowsSizesAndDates)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    MakeFile(b.dir.file(QStringLiteral("a.bin")), 1536);
    MakeFile(b.dir.file(QStringLiteral("b.bin")), 1234567);
    MakeFile(b.dir.file(QStringLiteral("c.bin")), 0);
    QDir(b.dir.path()).mkpath(QStringLiteral("folder/inner"));
    MakeFile(b.dir.file(QStringLiteral("folder/inner/x.txt")), 10);
    const QDateTime stamp(QDate(2024, 3, 5), QTime(14, 7, 9));
    QFile(b.dir.file(QStringLiteral("a.bin"))).open(QIODevice::ReadWrite);
    {
        QFile file(b.dir.file(QStringLiteral("a.bin")));
        file.open(QIODevice::ReadWrite);
        file.setFileTime(stamp, QFileDevice::FileModificationTime);
    }

    // With the root selected the items go under the root.
    w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/")));
    w.AddDroppedItems({b.dir.file(QStringLiteral("a.bin")), b.dir.file(QStringLiteral("b.bin")), b.dir.file(QStringLiteral("c.bin")),
        b.dir.file(QStringLiteral("folder"))});
    ASSERT_EQ(w.lvwImageFiles->Count(), 3);
    EXPECT_EQ(ListRow(w, 1), QStringList({QStringLiteral("a.bin"), QStringLiteral("1.54 KB"), QStringLiteral("03/05/2024 02:07:09 PM")}));
    EXPECT_EQ(w.lvwImageFiles->Text(2, 1), QStringLiteral("1,234.57 KB"));
    EXPECT_EQ(w.lvwImageFiles->Text(3, 1), QStringLiteral("0.00 KB"));
    ASSERT_NE(w.tvwDirectories->Node(QStringLiteral("/folder/inner")), nullptr);
    EXPECT_EQ(w.sbrStatus->PanelText(2), QStringLiteral("Files: 4"));
    EXPECT_EQ(w.sbrStatus->PanelText(3), QStringLiteral("Directories: 2"));
    EXPECT_TRUE(w.sbrStatus->PanelText(1).startsWith(QStringLiteral("Data Image Size: 1.")));

    // With a folder selected, into that folder, whichever view takes the drop from the desktop.
    w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/folder")));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(b.dir.file(QStringLiteral("c.bin")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.lvwImageFiles->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.lvwImageFiles->viewport(), &drop);
    QMimeData text;
    text.setText(QStringLiteral("not a file list"));
    QDropEvent ignored(QPointF(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.tvwDirectories->viewport(), &ignored);
    EXPECT_EQ(w.lvwImageFiles->Count(), 1);
    EXPECT_EQ(w.lvwImageFiles->Text(1, 0), QStringLiteral("c.bin"));

    // The volume identifier box names the root node.
    w.txtVolIdentifier->setText(QStringLiteral("HOLIDAY"));
    EXPECT_EQ(w.tvwDirectories->Node(QStringLiteral("/"))->Text(), QStringLiteral("HOLIDAY"));

    // Remove a folder; its node goes.
    w.mnuFileRemoveDir_Click();
    EXPECT_EQ(w.tvwDirectories->Node(QStringLiteral("/folder")), nullptr);
    EXPECT_EQ(w.sbrStatus->PanelText(2), QStringLiteral("Files: 3"));
}

TEST(BurnData, RenamesAreCheckedAndTheRootKeepsItsName)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    MakeFile(b.dir.file(QStringLiteral("a.txt")), 10);
    MakeFile(b.dir.file(QStringLiteral("b.txt")), 10);
    QDir(b.dir.path()).mkdir(QStringLiteral("dir"));
    w.AddDroppedItems({b.dir.file(QStringLiteral("a.txt")), b.dir.file(QStringLiteral("b.txt")), b.dir.file(QStringLiteral("dir"))});

    w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/")));
    w.mnuFileRenameDir_Click();
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Root directory can not be renamed."));
    EXPECT_FALSE(w.tvwDirectories->Node(QStringLiteral("/"))->item->flags() & Qt::ItemIsEditable);

    // A file renamed to a name that is taken is refused and the list shows the old name again.
    w.show();
    w.lvwImageFiles->setSelectedIndex(1);
    w.mnuFileRenameFile_Click();
    ASSERT_TRUE(EditInPlace(w.lvwImageFiles, QStringLiteral("b.txt")));
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("File could not be renamed."));
    EXPECT_EQ(w.lvwImageFiles->Text(1, 0), QStringLiteral("a.txt"));

    w.lvwImageFiles->setSelectedIndex(1);
    w.mnuFileRenameFile_Click();
    ASSERT_TRUE(EditInPlace(w.lvwImageFiles, QString(70, QLatin1Char('n'))));
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Item Name violates Joliet naming rules (64 Char Max)."));
    w.lvwImageFiles->setSelectedIndex(1);
    w.mnuFileRenameFile_Click();
    ASSERT_TRUE(EditInPlace(w.lvwImageFiles, QStringLiteral("renamed.txt")));
    EXPECT_EQ(w.lvwImageFiles->Text(2, 0), QStringLiteral("renamed.txt"));

    // A folder rename moves its key.
    w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/dir")));
    w.mnuFileRenameDir_Click();
    ASSERT_TRUE(EditInPlace(w.tvwDirectories, QStringLiteral("photos")));
    EXPECT_NE(w.tvwDirectories->Node(QStringLiteral("/photos")), nullptr);
    EXPECT_EQ(w.tvwDirectories->Node(QStringLiteral("/photos"))->Text(), QStringLiteral("photos"));
}

TEST(BurnData, WritesTwoSessionsImportsTheFirstAndRefusesToCloseMeanwhile)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    ASSERT_EQ(w.cboDevices->ListCount(), w.CDWriterXP1->DeviceCount());
    EXPECT_EQ(w.cboWriteSpeed->List(0), QStringLiteral("Default"));
    w.cboDevices->setListIndex(w.cboDevices->ListCount() - 1);
    MakeFile(b.dir.file(QStringLiteral("first.txt")), 50000);
    w.AddDroppedItems({b.dir.file(QStringLiteral("first.txt"))});
    w.txtVolIdentifier->setText(QStringLiteral("FIRSTDISC"));

    // While the write runs only Cancel is enabled, and the window does not close.
    bool checked = false;
    auto during = QObject::connect(w.CDWriterXP1, &CDWriterXP::PreparingTrack, &w, [&] {
        checked = true;
        EXPECT_FALSE(w.UiEnabled());
        EXPECT_TRUE(w.cmdCancel->isEnabled());
        EXPECT_FALSE(w.cmdWriteDisc->isEnabled());
        EXPECT_FALSE(w.mnuFile->Enabled());
        EXPECT_FALSE(w.Unload()) << "closing is refused while writing";
    });
    w.cmdWriteDisc_Click();
    ASSERT_TRUE(WaitFor([&] { return checked && w.UiEnabled(); }));
    QObject::disconnect(during);
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Writing is complete!"));
    EXPECT_EQ(w.sbrStatus->PanelText(1), QStringLiteral("Writing Complete!"));
    EXPECT_EQ(w.prgTrackProgress->Value(), w.prgTotalProgress->Value());

    // Import the first session, add a file of the same name (replacing after the question) and a
    // new one, and write the second session.
    w.mnuFileClear_Click();
    w.mnuCDRecorderImportPreviousSession_Click();
    EXPECT_EQ(w.txtVolIdentifier->Text(), QStringLiteral("FIRSTDISC"));
    ASSERT_EQ(w.lvwImageFiles->Count(), 1);
    QDir(b.dir.path()).mkdir(QStringLiteral("again"));
    MakeFile(b.dir.file(QStringLiteral("again/first.txt")), 777, 'r');
    b.user.AnswerBoxes({forms::MsgBoxResult::OK});
    w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/")));
    w.AddDroppedItems({b.dir.file(QStringLiteral("again/first.txt"))});
    const auto question = b.user.Boxes().back();
    EXPECT_EQ(question.title, QStringLiteral("Replace imported file..."));
    EXPECT_TRUE(question.prompt.startsWith(QStringLiteral("Imported file from the last session on this disc: \r\n/first.txt\r\n")));
    EXPECT_EQ(question.style, forms::MsgBoxStyle::OKCancel | forms::MsgBoxStyle::Question);
    w.cmdWriteDisc_Click();
    ASSERT_TRUE(WaitFor([&] { return !w.CDWriterXP1->Busy() && w.UiEnabled(); }));
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Writing is complete!"));
    EXPECT_EQ(SessionsOnImage(b.Image()), 2);
    const QString out = b.dir.file(QStringLiteral("out"));
    ASSERT_TRUE(ExtractImage(b.Image(), out));
    EXPECT_EQ(Read(out + QStringLiteral("/first.txt")), Read(b.dir.file(QStringLiteral("again/first.txt"))));
}

TEST(BurnData, EachSessionFollowsTheLastAndTheDiscInformationFollowsTheDisc)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    // What Disc Information shows: the sessions and the free blocks.
    const auto discInfo = [&] {
        w.mnuCDRecorderDiscInfo_Click();
        frmDataDiscInfo& info = forms::Instance<frmDataDiscInfo>();
        const std::pair<int, int> counts {info.lblValueSessions->Caption().toInt(), info.lblValueFreeSpaceBlocks->Caption().toInt()};
        info.Unload();
        return counts;
    };
    std::vector<QString> files;
    int lastFree = 360000;
    for (int session = 1; session <= 5; ++session) {
        if (session > 1) {
            w.mnuCDRecorderImportPreviousSession_Click();
            EXPECT_EQ(w.lvwImageFiles->Count(), session - 1) << "session " << session;
            EXPECT_EQ(discInfo(), std::make_pair(session - 1, lastFree)) << "after the import before session " << session;
        }
        // Files of some hundred blocks each, so that a session written over another shows.
        files.push_back(b.dir.file(QStringLiteral("file%1.bin").arg(session)));
        MakeFile(files.back(), 400000 + session * 3000, char('a' + session));
        w.tvwDirectories->setSelectedItem(w.tvwDirectories->Node(QStringLiteral("/")));
        w.AddDroppedItems({files.back()});
        w.cmdWriteDisc_Click();
        ASSERT_TRUE(WaitFor([&] { return !w.CDWriterXP1->Busy() && w.UiEnabled(); }));
        ASSERT_EQ(LastPrompt(b.user), QStringLiteral("Writing is complete!")) << "session " << session;
        const auto [sessions, free] = discInfo();
        EXPECT_EQ(sessions, session);
        EXPECT_EQ(free, 360000 - NextWritableAddress(b.Image())) << "session " << session;
        EXPECT_LT(free, lastFree - 195) << "session " << session;
        lastFree = free;
        if (session == 1) w.mnuFileClear_Click();
    }

    EXPECT_EQ(SessionsOnImage(b.Image()), 5);
    for (int session = 1; session <= 5; ++session) {
        const QString out = b.dir.file(QStringLiteral("session%1").arg(session));
        ASSERT_TRUE(ExtractImage(b.Image(), out, session));
        for (int file = 1; file <= 5; ++file) {
            const QString read = out + QStringLiteral("/file%1.bin").arg(file);
            if (file <= session) EXPECT_TRUE(Read(read) == Read(files[std::size_t(file - 1)])) << "file " << file << " of session " << session;
            else EXPECT_FALSE(QFile::exists(read)) << "file " << file << " of session " << session;
        }
    }

    // An ISO file goes onto a blank disc only, and the message says so.
    b.user.ChooseFile(b.dir.file(QStringLiteral("all.iso")));
    w.mnuFileSaveImageAsISO_Click();
    b.user.ChooseFile(b.dir.file(QStringLiteral("all.iso")));
    w.mnuFileWriteDiscFromISO_Click();
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Error Writing ISO File.\r\nThe disc is not blank."));
    EXPECT_TRUE(w.UiEnabled());
}

TEST(BurnData, WhileADropIsAddedNothingWritesTheImageAndWhatCannotBeAddedIsSaid)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    w.show();
    // Forty folders of fifty files, with names as long as those of a music collection, and a pipe
    // that no disc can hold.
    const QString drop = b.dir.file(QStringLiteral("drop"));
    for (int folder = 0; folder < 40; ++folder) {
        const QString name = QStringLiteral("%1 - A folder whose name is long enough to run past the edge of the window").arg(folder, 2, 10, QLatin1Char('0'));
        QDir(drop).mkpath(name);
        for (int file = 0; file < 50; ++file)
            MakeFile(drop + QLatin1Char('/') + name + QStringLiteral("/track %1.txt").arg(file), 100 + file, char('a' + file % 26));
    }
    const QString pipe = drop + QStringLiteral("/a pipe");
    ASSERT_EQ(mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const int width = w.width();

    // The user presses Write Disc at the hundredth item.
    int added = 0;
    bool pressed = false;
    QSignalSpy started(w.CDWriterXP1, &CDWriterXP::PreparingToWrite);
    QObject::connect(w.CDWriterXP1, &CDWriterXP::ItemAdded, &w, [&] {
        if (++added != 100) return;
        pressed = true;
        EXPECT_FALSE(w.cmdWriteDisc->isEnabled());
        EXPECT_FALSE(w.mnuFileSaveImageAsISO->Enabled());
        EXPECT_FALSE(w.mnuFileWriteDiscFromISO->Enabled());
        EXPECT_FALSE(w.mnuCDRecorder->Enabled());
        QTest::mouseClick(w.cmdWriteDisc, Qt::LeftButton);
        EXPECT_FALSE(w.CDWriterXP1->StartWrite()) << "the component refuses it as well";
        EXPECT_FALSE(w.Unload()) << "the window stays while the items go in";
    });
    w.AddDroppedItems({drop});
    ASSERT_TRUE(pressed);
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(w.CDWriterXP1->FileCount(), 2000);
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("These items could not be added to the image:\r\n") + pipe);
    EXPECT_LE(w.width(), width) << "the long status texts of the drop do not widen the window";
    EXPECT_TRUE(w.cmdWriteDisc->isEnabled());
    EXPECT_TRUE(w.mnuFileSaveImageAsISO->Enabled());

    w.cmdWriteDisc_Click();
    ASSERT_TRUE(WaitFor([&] { return !w.CDWriterXP1->Busy() && w.UiEnabled(); }));
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Writing is complete!"));
    EXPECT_EQ(w.prgTrackProgress->Value(), 100);
    EXPECT_EQ(w.prgTotalProgress->Value(), 100);
    EXPECT_EQ(FilesOnImage(b.Image()).size(), 2000);
}

TEST(BurnData, CancelStopsTheWriteAndSavesAnIsoFile)
{
    BurnWindow b;
    frmBurnData& w = *b.window;
    MakeFile(b.dir.file(QStringLiteral("big.bin")), 300 * 1024 * 1024);
    w.AddDroppedItems({b.dir.file(QStringLiteral("big.bin"))});
    w.chkCacheImage->setValue(forms::CheckValue::Unchecked);
    QObject::connect(w.CDWriterXP1, &CDWriterXP::WriteProgress, &w, [&] { if (w.cmdCancel->isEnabled()) w.cmdCancel_Click(); });
    w.cmdWriteDisc_Click();
    ASSERT_TRUE(WaitFor([&] { return !w.CDWriterXP1->Busy() && w.UiEnabled(); }));
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("Writing Cancelled!"));
    EXPECT_EQ(w.sbrStatus->PanelText(1), QStringLiteral("Writing Cancelled......"));
    EXPECT_EQ(w.CDWriterXP1->DiscStatus(), 0);

    w.mnuFileClear_Click();
    MakeFile(b.dir.file(QStringLiteral("small.txt")), 1000);
    w.AddDroppedItems({b.dir.file(QStringLiteral("small.txt"))});
    b.user.ChooseFile(b.dir.file(QStringLiteral("saved.iso")));
    w.mnuFileSaveImageAsISO_Click();
    EXPECT_EQ(b.user.FileRequests().back().title, QStringLiteral("Save as ISO File"));
    EXPECT_FALSE(b.user.FileRequests().back().save) << "the open-file dialog is shown";
    EXPECT_EQ(LastPrompt(b.user), QStringLiteral("ISO File Created successfully!"));
    EXPECT_TRUE(QFileInfo::exists(b.dir.file(QStringLiteral("saved.iso"))));
    EXPECT_TRUE(w.UiEnabled());

    // Cancelling the dialog leaves silently.
    const auto boxes = b.user.Boxes().size();
    w.mnuFileSaveImageAsISO_Click();
    EXPECT_EQ(b.user.Boxes().size(), boxes);
    EXPECT_TRUE(w.UiEnabled());
}

TEST(BurnData, WithoutDrivesTheMessageAppearsOnceAndTheListsStayEmpty)
{
    ScriptedUser user;
    qunsetenv("TESSEL_RECORDER");
    frmBurnData& w = forms::Instance<frmBurnData>();
    if (w.CDWriterXP1->DeviceCount() > 0) GTEST_SKIP() << "this machine has a recorder";
    w.Load();
    EXPECT_EQ(Prompts(user), QStringList({QStringLiteral("There are no compatible CDR drives reported.\r\nSome older CDR drives are not currently supported.")}));
    EXPECT_EQ(w.cboDevices->ListCount(), 0);
    EXPECT_EQ(w.cboWriteSpeed->ListCount(), 0);
    w.cmdWriteDisc_Click();
    w.mnuCDRecorderImportPreviousSession_Click();
    EXPECT_EQ(Prompts(user).mid(1), QStringList({QStringLiteral("A drive is not selected or does not exist."),
                                         QStringLiteral("A drive is not selected or does not exist.")}));
    w.Unload();
}
