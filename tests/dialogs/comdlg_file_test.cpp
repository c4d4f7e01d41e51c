#include "tests/dialogs/ComDlgHost.h"

#include "platform/forms/RuntimeError.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString PlayerFilter = QStringLiteral("Text File(*.txt)|*.txt|All Files(*.*)|*.*");

} // namespace

TEST(ComDlgOpen, FilterIsStoredWithNulsAndReachesTheDialogAsPairs)
{
    ComDlgHost h;
    h.dlg->setFilter(PlayerFilter);
    EXPECT_FALSE(h.dlg->Filter().contains(QLatin1Char('|')));
    EXPECT_EQ(h.dlg->Filter().count(QChar(0)), 3);

    h.dlg->ShowOpen();
    h.dlg->setFilter(PlayerFilter + QLatin1Char('|'));
    h.dlg->ShowOpen();
    h.dlg->setFilter(QString());
    h.dlg->ShowOpen();

    const auto& requests = h.user.FileRequests();
    ASSERT_EQ(requests.size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(requests[i].descriptions, (QStringList {"Text File(*.txt)", "All Files(*.*)"}));
        EXPECT_EQ(requests[i].patterns, (QStringList {"*.txt", "*.*"}));
    }
    EXPECT_TRUE(requests[2].descriptions.isEmpty()) << "an empty filter gives no filter list";
}

TEST(ComDlgOpen, RequestCarriesTitleFolderExtensionAndFlags)
{
    ComDlgHost h;
    h.dlg->setDialogTitle(QStringLiteral("Save Playlist"));
    h.dlg->setInitDir(QStringLiteral("/srv/music"));
    h.dlg->setDefaultExt(QStringLiteral("m3u"));
    h.dlg->setFlags(2);
    h.dlg->ShowSave();
    h.dlg->ShowOpen();
    const auto& requests = h.user.FileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_FALSE(requests[1].save);
    EXPECT_EQ(requests[0].title, QStringLiteral("Save Playlist"));
    EXPECT_EQ(requests[0].initialFolder, QStringLiteral("/srv/music"));
    EXPECT_EQ(requests[0].defaultExtension, QStringLiteral("m3u"));
    EXPECT_EQ(requests[0].flags, 2);
}

TEST(ComDlgOpen, FilterIndexIsOnlyAResult)
{
    ComDlgHost h;
    h.dlg->setFilter(PlayerFilter);
    h.dlg->setFilterIndex(2);
    h.user.ChooseFile(QStringLiteral("/music/a.txt"), 1);
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->FilterIndex(), 1);
    h.user.ChooseFile(QStringLiteral("/music/b.ogg"), 2);
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->FilterIndex(), 2);
}

TEST(ComDlgOpen, OkFillsNameTitleAndOffsetsTrimmingOnlyTheName)
{
    ComDlgHost h;
    QSignalSpy changed(h.dlg, &LumoCommonDialog::PropertyChanged);
    h.user.ChooseFile(QStringLiteral("/music/album/ track.01.mp3 "));
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->FileName(), QStringLiteral("/music/album/ track.01.mp3"));
    EXPECT_EQ(h.dlg->FileTitle(), QStringLiteral(" track.01.mp3 "));
    EXPECT_EQ(h.dlg->FileOffset(), 13);
    EXPECT_EQ(h.dlg->ExtensionOffset(), 23);
    EXPECT_EQ(changed.count(), 0) << "results are not announced";

    h.user.ChooseFile(QStringLiteral("/music/README"));
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->ExtensionOffset(), 13) << "no extension: the end of the name";
}

TEST(ComDlgOpen, CancelKeepsTheLastResult)
{
    ComDlgHost h;
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->FileName(), QString()) << "a fresh instance has no file";

    h.user.ChooseFile(QStringLiteral("/music/first.mp3"), 1);
    h.dlg->ShowOpen();
    h.user.CancelDialog();
    h.dlg->ShowOpen();
    EXPECT_EQ(h.dlg->FileName(), QStringLiteral("/music/first.mp3"));
    EXPECT_EQ(h.dlg->FileTitle(), QStringLiteral("first.mp3"));

    h.dlg->setCancelError(true);
    h.user.CancelDialog();
    const auto error = ErrorOf([&] { h.dlg->ShowSave(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), 32755);
    EXPECT_EQ(error->Source(), QStringLiteral("LumoCommonDialog user control"));
    EXPECT_EQ(error->Description(), QStringLiteral("Cancel was selected."));
    EXPECT_EQ(h.dlg->FileName(), QStringLiteral("/music/first.mp3"));
}

TEST(ComDlgOpen, OwnerIsTheHostUnlessSetExplicitly)
{
    ComDlgHost h;
    EXPECT_EQ(h.dlg->OwnerHwnd(), 0);
    h.dlg->ShowOpen();
    EXPECT_NE(h.dlg->OwnerHwnd(), 0);
    EXPECT_EQ(static_cast<quintptr>(h.dlg->OwnerHwnd()), h.form->hWnd());
    EXPECT_EQ(h.user.FileRequests().back().owner, h.form->hWnd());

    ComDlgHost other;
    QSignalSpy changed(other.dlg, &LumoCommonDialog::PropertyChanged);
    other.dlg->setOwnerHwnd(4242);
    other.dlg->ShowOpen();
    EXPECT_EQ(other.dlg->OwnerHwnd(), 4242);
    EXPECT_EQ(other.user.FileRequests().back().owner, 4242u);
    EXPECT_EQ(changed.count(), 0) << "the owner is not announced";
}

TEST(ComDlgOpen, BufferLengthLimits)
{
    ComDlgHost h;
    h.dlg->setMaxFileSize(32767);
    const auto overflow = ErrorOf([&] { h.dlg->ShowOpen(); });
    ASSERT_TRUE(overflow);
    EXPECT_EQ(overflow->Number(), forms::Err::Overflow);
    EXPECT_TRUE(h.user.FileRequests().empty()) << "no dialog opens";

    h.dlg->setMaxFileSize(12);
    h.dlg->setCancelError(true);
    h.user.ChooseFile(QStringLiteral("/music/longer-than-twelve.mp3"));
    const auto tooLong = ErrorOf([&] { h.dlg->ShowOpen(); });
    ASSERT_TRUE(tooLong) << "a path the buffer cannot hold fails like a cancel";
    EXPECT_EQ(tooLong->Number(), 32755);
    EXPECT_EQ(h.dlg->FileName(), QString());
}

TEST(ComDlgAction, RunsTheDialogOfItsValue)
{
    ComDlgHost h;
    QSignalSpy changed(h.dlg, &LumoCommonDialog::PropertyChanged);
    for (int bad : {-1, 7}) {
        const auto error = ErrorOf([&] { h.dlg->setAction(bad); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Number(), 380);
    }
    EXPECT_EQ(h.dlg->Action(), 0);

    h.user.ChooseFile(QStringLiteral("/music/a.mp3"));
    h.dlg->setAction(1);
    EXPECT_EQ(h.dlg->FileName(), QStringLiteral("/music/a.mp3"));
    h.dlg->setAction(2);
    h.dlg->setAction(3);
    h.dlg->setAction(4);
    h.dlg->setAction(6);
    h.dlg->setAction(0);
    EXPECT_EQ(h.user.FileRequests().size(), 2u);
    EXPECT_TRUE(h.user.FileRequests()[1].save);
    EXPECT_EQ(h.user.ColorRequests().size(), 1u);
    EXPECT_EQ(h.user.FontRequests().size(), 1u);
    EXPECT_EQ(h.user.HelpRequests().size(), 1u);
    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(changed.last().at(0).toString(), QStringLiteral("Action"));

    h.dlg->setCancelError(true);
    changed.clear();
    const auto cancelled = ErrorOf([&] { h.dlg->setAction(1); });
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->Number(), 32755);
    EXPECT_EQ(h.dlg->Action(), 1);
    EXPECT_EQ(changed.count(), 0) << "a cancelled dialog is not announced";
}

TEST(ComDlgAction, RunTimeOnlyPropertiesRefuseDesignMode)
{
    ComDlgHost h;
    h.dlg->setUserMode(false);
    for (const auto& set : std::vector<std::function<void()>> {
             [&] { h.dlg->setAction(1); },
             [&] { h.dlg->setFileTitle(QStringLiteral("x")); },
             [&] { h.dlg->setFileOffset(3); },
             [&] { h.dlg->sethDC(3); },
             [&] { h.dlg->setPrinterName(QStringLiteral("x")); },
         }) {
        const auto error = ErrorOf(set);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->Number(), 387);
    }
    EXPECT_TRUE(h.user.FileRequests().empty());
    EXPECT_EQ(h.dlg->FileTitle(), QString());
    EXPECT_EQ(h.dlg->FileOffset(), 0);
    h.dlg->setFileName(QStringLiteral("design.txt"));
    EXPECT_EQ(h.dlg->FileName(), QStringLiteral("design.txt"));
}
