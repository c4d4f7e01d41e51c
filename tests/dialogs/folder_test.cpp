// The folder browser: its tree, and the files it gathers into the player's playlist.
#include "tests/dialogs/PlayerHost.h"

#include "components/skin/Skin.h"
#include "dialogs/frmFolder.h"
#include "platform/files/Drives.h"
#include "platform/registry/Registry.h"
#include "platform/registry/ShellFolders.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace {

class FolderTest : public PlayerHostTest {
protected:
    void SetUp() override
    {
        PlayerHostTest::SetUp();
        desktop = Folder("desktop");
        documents = Folder("documents");
        registry::SetValue(registry::HKEY_CURRENT_USER, registry::ShellFoldersKey, "Desktop", desktop);
        registry::SetValue(registry::HKEY_CURRENT_USER, registry::ShellFoldersKey, "Personal", documents);
    }

    QString Folder(const QString& relative)
    {
        QDir(dir.path()).mkpath(relative);
        return dir.file(relative);
    }

    void File(const QString& relative)
    {
        Folder(QFileInfo(relative).path());
        Write(dir.file(relative), "x");
    }

    // Opens the browser from the player's Add Dir item; the steps run while it is up, modal.
    void AddDir(std::function<void(frmFolder&)> steps)
    {
        bool ran = false;
        user.AnswerModalForms([&](forms::Form& form) {
            ran = true;
            auto& w = static_cast<frmFolder&>(form);
            EXPECT_TRUE(w.isVisible());
            EXPECT_TRUE(w.isModal());
            EXPECT_FALSE(player->isEnabled()) << "the player waits while the browser is open";
            steps(w);
            if (forms::Instances::Exists<frmFolder>()) w.Unload();
        });
        Choose(player->mnuAddDir);
        EXPECT_TRUE(ran) << "the browser came up modally";
        EXPECT_FALSE(forms::Instances::Exists<frmFolder>());
        EXPECT_TRUE(player->isEnabled());
    }

    static void Click(frmFolder& w, const QString& key)
    {
        forms::TreeNode* node = w.DS->Node(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        w.DS->scrollToItem(node->item);
        QTest::mouseClick(w.DS->viewport(), Qt::LeftButton, {}, w.DS->visualItemRect(node->item).center());
    }

    static QStringList Children(frmFolder& w, const QString& key)
    {
        QStringList texts;
        QTreeWidgetItem* item = w.DS->Node(key)->item;
        for (int i = 0; i < item->childCount(); ++i)
            texts << item->child(i)->text(0);
        return texts;
    }

    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < player->lstPlaylist->ListCount(); ++i)
            rows << player->lstPlaylist->List(i);
        return rows;
    }

    TempDir dir;
    QString desktop;
    QString documents;
};

} // namespace

TEST_F(FolderTest, TheTreeShowsDesktopDocumentsAndDrivesAndReadsFoldersOnlyWhenOpened)
{
    Folder("desktop/zeta");
    Folder("desktop/alpha/inner");
    Folder("documents/b");
    Folder("documents/A/deeper");
    Folder("documents/c");
    Folder("documents/.hidden");
    AddDir([&](frmFolder& w) {
        EXPECT_EQ(w.lblSelDir->Caption(), "Select Directory");
        EXPECT_EQ(w.Check1->text(), "Add Sub Directorys");
        ASSERT_NE(w.DS->Node("Desktop"), nullptr);
        EXPECT_TRUE(w.DS->Node("Desktop")->Expanded());
        const QStringList top = Children(w, "Desktop");
        ASSERT_GE(top.size(), 4);
        EXPECT_EQ(top.mid(0, 2), (QStringList {"My Documents", "My Computer"}));
        EXPECT_TRUE(top.mid(2).contains("zeta") && top.mid(2).contains("alpha"));

        // Drives in the mount table's order, named by label and mount point when ready.
        QStringList drives;
        for (const files::Drive& d : files::Drives())
            drives << (d.ready ? d.volumeName + " (" + d.path + ")" : d.path);
        EXPECT_EQ(Children(w, "My Computer"), drives);
        EXPECT_FALSE(drives.isEmpty());

        // Documents are read on the first opening only, then sorted by name.
        EXPECT_EQ(Children(w, "My Documents"), QStringList {"dummy"});
        w.DS->Node("My Documents")->setExpanded(true);
        EXPECT_EQ(Children(w, "My Documents"), (QStringList {"A", "b", "c"}));
        EXPECT_EQ(Children(w, "My Documents/A"), QStringList {"dummy"}) << "a folder with subfolders";
        EXPECT_EQ(w.DS->Node("My Documents/b")->Children(), 0) << "no expand button, never read again";
        Folder("documents/b/later");
        w.DS->Node("My Documents/b")->setExpanded(true);
        EXPECT_EQ(w.DS->Node("My Documents/b")->Children(), 0);
        w.DS->Node("My Documents/A")->setExpanded(true);
        EXPECT_EQ(Children(w, "My Documents/A"), QStringList {"deeper"});
        EXPECT_NE(w.DS->Node("Desktop/alpha"), nullptr);

        Click(w, "My Computer");
        EXPECT_FALSE(w.cmdOK->isEnabled()) << "My Computer is no folder";
        Click(w, "My Documents/A");
        EXPECT_TRUE(w.cmdOK->isEnabled());
        EXPECT_EQ(w.lblCurDir->Caption(), documents + "/A");
        EXPECT_EQ(w.Caption(), documents + "/A");
        w.cmdCancel->click();
    });
    EXPECT_EQ(player->lstPlaylist->ListCount(), 0) << "Cancel adds nothing";
}

TEST_F(FolderTest, ARegistryThatCannotBeWrittenStillLeadsToTheDesktopsOwnFolders)
{
    // The registry on a full disk of its own: it holds no shell folders and can take none.
    const QString folder = QFileInfo(registry::StorePath()).absolutePath();
    QDir().mkpath(folder);
    ScratchMount disk(folder, "size=64k");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    disk.Fill();
    AddDir([&](frmFolder& w) {
        Click(w, "Desktop");
        EXPECT_EQ(w.lblCurDir->Caption(), registry::UserFolder("Desktop"));
        Click(w, "My Documents");
        EXPECT_EQ(w.lblCurDir->Caption(), registry::UserFolder("Personal"));
        EXPECT_TRUE(w.cmdOK->isEnabled());
        w.cmdCancel->click();
    });
    EXPECT_FALSE(registry::QueryValue(registry::HKEY_CURRENT_USER, registry::ShellFoldersKey, "Desktop"));
}

TEST_F(FolderTest, OkGathersTheFolderOrTheWholeTreeBreadthFirst)
{
    File("documents/music/b.mp3");
    File("documents/music/a.wav");
    File("documents/music/.hidden.mp3");
    File("documents/music/sub/c.avi");
    File("documents/music/sub/deep/d.mpg");
    File("documents/music/zsub/e.mov");
    const QString music = documents + "/music";

    AddDir([&](frmFolder& w) {
        w.DS->Node("My Documents")->setExpanded(true);
        Click(w, "My Documents/music");
        w.cmdOK->click();
    });
    EXPECT_EQ(Rows(), (QStringList {music + "/a.wav", music + "/b.mp3"})) << "hidden files are left out";
    EXPECT_EQ(player->lstPlaylist->ListIndex(), -1) << "nothing is selected";

    player->lstPlaylist->Clear();
    AddDir([&](frmFolder& w) {
        EXPECT_EQ(w.Dir1->Path(), music) << "the folder chosen last";
        w.Check1->setValue(forms::CheckValue::Checked);
        w.cmdOK->click();
    });
    EXPECT_EQ(Rows(), (QStringList {music + "/a.wav", music + "/b.mp3", music + "/sub/c.avi", music + "/zsub/e.mov",
                          music + "/sub/deep/d.mpg"}));
}

TEST_F(FolderTest, AFolderReachedWithTheKeyboardIsTheOneOkGathers)
{
    File("documents/first/one.mp3");
    File("documents/second/two.mp3");
    File("documents/third/three.mp3");
    AddDir([&](frmFolder& w) {
        w.DS->Node("My Documents")->setExpanded(true);
        Click(w, "My Documents/first");
        ASSERT_EQ(w.lblCurDir->Caption(), documents + "/first");

        QTest::keyClick(w.DS, Qt::Key_Down);
        EXPECT_EQ(w.DS->SelectedItem()->Key(), "My Documents/second");
        EXPECT_EQ(w.lblCurDir->Caption(), documents + "/second") << "an arrow key chooses the folder";
        EXPECT_EQ(w.Caption(), documents + "/second");

        QTest::keyClicks(w.DS, "thi");
        EXPECT_EQ(w.DS->SelectedItem()->Key(), "My Documents/third");
        EXPECT_EQ(w.lblCurDir->Caption(), documents + "/third") << "typing a name's start chooses the folder";
        EXPECT_EQ(w.Caption(), documents + "/third");
        w.cmdOK->click();
    });
    EXPECT_EQ(Rows(), QStringList {documents + "/third/three.mp3"});
}

TEST_F(FolderTest, CancelForgetsTheFolderAndTheCloseBoxKeepsIt)
{
    Folder("documents/kept");
    File("documents/kept/x.mp3");
    AddDir([&](frmFolder& w) {
        w.DS->Node("My Documents")->setExpanded(true);
        Click(w, "My Documents/kept");
        w.close();
    });
    EXPECT_EQ(player->lstPlaylist->ListCount(), 0) << "the close box adds nothing";
    AddDir([&](frmFolder& w) {
        EXPECT_EQ(w.Dir1->Path(), documents + "/kept");
        w.cmdCancel->click();
    });
    AddDir([&](frmFolder& w) {
        EXPECT_EQ(w.Dir1->Path(), "") << "after Cancel the list starts at no folder";
        w.cmdOK->click();
    });
    EXPECT_EQ(player->lstPlaylist->ListCount(), 0) << "OK without a folder adds nothing";
}

TEST_F(FolderTest, ALinkToAFolderAboveIsGatheredOnce)
{
    File("documents/loop/a.mp3");
    ASSERT_TRUE(QFile::link(documents + "/loop", documents + "/loop/again"));
    AddDir([&](frmFolder& w) {
        w.DS->Node("My Documents")->setExpanded(true);
        Click(w, "My Documents/loop");
        w.Check1->setValue(forms::CheckValue::Checked);
        w.cmdOK->click();
    });
    EXPECT_EQ(Rows(), QStringList {documents + "/loop/a.mp3"});
}

TEST_F(FolderTest, ALargeTreeIsGatheredWhileTheWindowKeepsAnswering)
{
    // 20,000 files in 200 folders.
    for (int f = 0; f < 200; ++f) {
        const QString folder = Folder(QStringLiteral("documents/big/%1/%2").arg(f % 10).arg(f));
        for (int i = 0; i < 100; ++i)
            QFile(QStringLiteral("%1/%2.mp3").arg(folder).arg(i)).open(QIODevice::WriteOnly);
    }
    int ticks = 0;
    QElapsedTimer clock;
    AddDir([&](frmFolder& w) {
        w.DS->Node("My Documents")->setExpanded(true);
        Click(w, "My Documents/big");
        w.Check1->setValue(forms::CheckValue::Checked);
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(0);
        clock.start();
        w.cmdOK->click();
    });
    std::printf("gathered %d rows in %lld ms, %d event-loop passes\n", int(player->lstPlaylist->ListCount()),
        static_cast<long long>(clock.elapsed()), ticks);
    EXPECT_EQ(player->lstPlaylist->ListCount(), 20000);
    EXPECT_GE(ticks, 200) << "the window answered between the folders";
}

TEST(Drives, KindsFromTheMountTable)
{
    using files::DriveType;
    EXPECT_EQ(files::KindOfDrive("ext4", "/"), DriveType::Fixed);
    EXPECT_EQ(files::KindOfDrive("vfat", "/media/user/STICK"), DriveType::Removable);
    EXPECT_EQ(files::KindOfDrive("exfat", "/run/media/user/CARD"), DriveType::Removable);
    EXPECT_EQ(files::KindOfDrive("iso9660", "/media/user/DISC"), DriveType::CDRom);
    EXPECT_EQ(files::KindOfDrive("nfs4", "/home"), DriveType::Network);
    EXPECT_EQ(files::KindOfDrive("fuse.sshfs", "/media/user/server"), DriveType::Network);
    EXPECT_EQ(files::KindOfDrive("tmpfs", "/home"), DriveType::RamDisk);
    for (const files::Drive& d : files::Drives())
        EXPECT_TRUE(d.path == "/" || d.path.startsWith("/media/") || d.path.startsWith("/run/media/")
            || QDir::homePath().startsWith(d.path))
            << d.path.toStdString();
}
