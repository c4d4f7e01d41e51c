// The player's menu commands: the view modes, the check marks, Copy To and Properties.
#include "tests/player/PlayerFixture.h"

#include "dialogs/LumoCommonDialog.h"
#include "engine/Media.h"
#include "platform/forms/MsgBox.h"
#include "platform/shell/TrayIcon.h"
#include "player/frmMouseScroll.h"
#include "tests/engine/MediaClips.h"
#include "tests/support/Patience.h"
#include "tests/support/TempDir.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

namespace {

void Choose(forms::MenuItem* item) { item->Action()->trigger(); }

std::vector<forms::MenuItem*> ViewModes(frmPlayer& p)
{
    return {p.mnuOptionsAspectRatio, p.mnuViewZoom50, p.mnuOptionsDefaultSize, p.mnuViewZoom200, p.mnuOptionsStretch};
}

std::vector<forms::MenuItem*> Checked(const std::vector<forms::MenuItem*>& items)
{
    std::vector<forms::MenuItem*> checked;
    for (auto* item : items)
        if (item->Checked()) checked.push_back(item);
    return checked;
}

qsizetype TrayIcons(frmPlayer& p) { return p.TrayIcon->findChildren<QSystemTrayIcon*>().size(); }

} // namespace

TEST_F(PlayerTest, ViewModesStayExclusiveAndTheLastOneChosenSurvivesARestart)
{
    frmPlayer& p = Start();
    ASSERT_EQ(Checked(ViewModes(p)), std::vector<forms::MenuItem*> {p.mnuOptionsAspectRatio});

    Choose(p.mnuViewZoom200);
    EXPECT_EQ(Checked(ViewModes(p)), std::vector<forms::MenuItem*> {p.mnuViewZoom200});
    Choose(p.mnuViewZoom200);
    EXPECT_EQ(Checked(ViewModes(p)), std::vector<forms::MenuItem*> {p.mnuViewZoom200}) << "choosing it again keeps it";
    Choose(p.mnuCustomStretchMovie);
    EXPECT_EQ(Checked(ViewModes(p)), std::vector<forms::MenuItem*> {p.mnuOptionsStretch});
    Choose(p.mnuViewZoom50);
    Choose(p.mnuViewZoom200);
    Exit();

    frmPlayer& again = Start();
    EXPECT_EQ(Checked(ViewModes(again)), std::vector<forms::MenuItem*> {again.mnuViewZoom200});
}

TEST_F(PlayerTest, CheckMarkItemsFlipAndAreSavedAtExit)
{
    frmPlayer& p = Start();
    for (auto* item : {p.mnuRepeat, p.mnuResizeOnOpen, p.mnuOptionsHide, p.mnuLeftSpeaker, p.mnuRightSpeaker})
        Choose(item);
    p.tmrMax->setEnabled(false);
    Choose(p.mnuOptionsHide);
    EXPECT_TRUE(p.tmrMax->Enabled()) << "the idle timer runs again whichever way the item went";
    EXPECT_TRUE(p.mnuOptionsHide->Checked());

    Choose(p.mnuTop);
    EXPECT_TRUE(p.mnuTop->Checked());
    EXPECT_TRUE(p.Topmost());
    Exit();
    EXPECT_EQ(Read(Program("Settings.ini")),
        QByteArray(
            "#TRUE#,#TRUE#,#FALSE#,#FALSE#,#TRUE#,#TRUE#,#FALSE#,0,-16,#FALSE#,#FALSE#,#FALSE#,#FALSE#,#FALSE#\r\n"));

    frmPlayer& again = Start();
    EXPECT_TRUE(again.Topmost()) << "the window is on top again from the start";
    Choose(again.mnuTop);
    EXPECT_FALSE(again.Topmost());
}

TEST_F(PlayerTest, ShowInSystemTrayRemovesTheIconAndAddsItBackOnce)
{
    frmPlayer& p = Start();
    ASSERT_TRUE(p.mnuSysTray->Checked());
    ASSERT_EQ(TrayIcons(p), 1);

    Choose(p.mnuSysTray);
    EXPECT_FALSE(p.mnuSysTray->Checked());
    EXPECT_EQ(TrayIcons(p), 0);
    EXPECT_FALSE(p.TrayIcon->Added());

    Choose(p.mnuSysTray);
    EXPECT_TRUE(p.mnuSysTray->Checked());
    EXPECT_EQ(TrayIcons(p), 1);
}

TEST_F(PlayerTest, CopyToWithAnEmptyPlaylistAsksNothing)
{
    frmPlayer& p = Start();
    Choose(p.mnuCopyTo);
    Choose(p.mnuCustomCopyTo);
    EXPECT_TRUE(user_.FileRequests().empty());
    EXPECT_TRUE(user_.Boxes().empty());
}

TEST_F(PlayerTest, CopyToOffersTheFilesOwnTypeAndReplacesTheChosenFile)
{
    TempDir dir;
    const QString song = clips::Mp3();
    const QString target = dir.file("copy.mp3");
    Write(target, "an older file");
    frmPlayer& p = Start();
    p.lstPlaylist->AddItem(song);
    p.lstPlaylist->setListIndex(0);
    ASSERT_EQ(p.lstPlaylist->Text(), song);

    user_.ChooseFile(target);
    Choose(p.mnuCopyTo);
    ASSERT_EQ(user_.FileRequests().size(), 1u);
    const forms::FileRequest& request = user_.FileRequests()[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.descriptions, QStringList({"mp3 File", "All Files"}));
    EXPECT_EQ(request.patterns, QStringList({"*.mp3", "*.*"}));
    EXPECT_GT(Read(song).size(), 1000);
    EXPECT_EQ(Read(target), Read(song));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList {"copy.mp3"}) << "nothing is left beside the copy";
    p.Media1->closeMovie();
}

TEST_F(PlayerTest, CopyToCopiesNothingWhenCancelledOrOntoTheFileItself)
{
    TempDir dir;
    const QString song = dir.file("song.mp3");
    const QString other = dir.file("other.mp3");
    Write(song, "the song");
    Write(other, "another song");
    frmPlayer& p = Start();
    p.lstPlaylist->setText(song);
    // A name the dialog still holds from before must not become the target of a cancelled copy.
    p.ComDlg->setFileName(other);

    user_.CancelDialog();
    Choose(p.mnuCustomCopyTo);
    EXPECT_EQ(Read(other), QByteArray("another song"));
    EXPECT_FALSE(p.ComDlg->CancelError()) << "the dialog's own setting is kept";

    user_.ChooseFile(song);
    Choose(p.mnuCopyTo);
    EXPECT_EQ(Read(song), QByteArray("the song"));
    EXPECT_EQ(user_.FileRequests().size(), 2u);
}

TEST_F(PlayerTest, PropertiesWithAnEmptyPlaylistSaysSo)
{
    frmPlayer& p = Start();
    Choose(p.mnuProperties);
    Choose(p.mnuCustomProperties);
    ASSERT_EQ(user_.Boxes().size(), 2u);
    EXPECT_EQ(user_.Boxes()[0].prompt, "No File To Get Properties From!");
    EXPECT_EQ(user_.Boxes()[0].style, 64);
    EXPECT_EQ(user_.Boxes()[0].title, forms::AppTitle());
}

TEST_F(PlayerTest, MouseScrollingShowsTheOneSettingsWindowOnTopWhenThePlayerIs)
{
    // The program's own player, which the tool windows look up.
    frmPlayer& p = forms::Instance<frmPlayer>();
    player_ = &p;
    p.Load();
    p.mnuTop->Action()->trigger();

    Choose(p.mnusetMouse);
    frmMouseScroll* settings = forms::Instances::Existing<frmMouseScroll>();
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->Caption(), "Mouse Scroll Settings");
    EXPECT_TRUE(settings->Topmost());
    Choose(p.mnusetMouse);
    EXPECT_EQ(forms::Instances::Existing<frmMouseScroll>(), settings);
    settings->Unload();
    forms::Instances::Forget(&p);
}

TEST_F(PlayerTest, MenuKeysWorkWhileThePlaylistHasTheFocus)
{
    frmPlayer& p = Start();
    p.Show();
    p.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p, Patience));
    QLineEdit* edit = p.lstPlaylist->lineEdit();
    ASSERT_NE(edit, nullptr) << "the playlist stays a drop-down combo box";
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());

    // The keys a text box takes for its own editing.
    const struct {
        Qt::Key key;
        forms::MenuItem* item;
    } keys[] = {{Qt::Key_A, p.mnuAddFile}, {Qt::Key_C, p.mnuPlayerClear}, {Qt::Key_E, p.mnuOpenList},
        {Qt::Key_U, p.mnuPlayerPause}, {Qt::Key_Z, p.mnuOptionsDefaultSize}, {Qt::Key_I, p.mnuOptionsAspectRatio}};
    for (const auto& k : keys) {
        QSignalSpy clicks(k.item, &forms::MenuItem::Click);
        QTest::keyClick(edit, k.key, Qt::ControlModifier);
        EXPECT_EQ(clicks.size(), 1) << "Ctrl+" << char(k.key) << " reaches " << k.item->Caption().toStdString();
    }
    // The list's text still takes ordinary typing.
    p.lstPlaylist->setText(QString());
    QTest::keyClicks(edit, "abc");
    EXPECT_EQ(p.lstPlaylist->Text(), "abc");
}

TEST_F(PlayerTest, SeparatorsAreLinesWithoutText)
{
    frmPlayer& p = Start();
    for (forms::MenuItem* separator : {p.mnuCustomSep01, p.mnuSep01, p.mnuHelpSep01}) {
        EXPECT_TRUE(separator->Action()->isSeparator());
        EXPECT_TRUE(separator->Action()->text().isEmpty());
        EXPECT_EQ(separator->Caption(), "-");
    }
}

TEST_F(PlayerTest, TransportButtonsHaveSpokenNames)
{
    frmPlayer& p = Start();
    QStringList names;
    for (const auto* button : {p.cmdPrev, p.cmdRew, p.cmdPlay, p.cmdPause, p.cmdStop, p.cmdForw, p.cmdNext})
        names << button->accessibleName();
    EXPECT_EQ(names, QStringList({"Previous", "Rewind", "Play", "Pause", "Stop", "Forward", "Next"}));
}
