#include "tests/dialogs/ComDlgHost.h"

#include "platform/forms/PropertyBag.h"
#include "platform/forms/RuntimeError.h"
#include "player/frmPlayer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(ComDlgProperties, FreshInstanceStoresNothing)
{
    ComDlgHost h;
    EXPECT_EQ(h.dlg->Copies(), 1);
    EXPECT_EQ(h.dlg->MaxFileSize(), 260);
    EXPECT_EQ(h.dlg->FontSize(), 8.0f);
    EXPECT_EQ(h.dlg->Orientation(), 1);
    forms::PropertyBag bag;
    h.dlg->WriteProperties(bag);
    EXPECT_EQ(bag.Count(), 0) << bag.Names().join(QLatin1Char(',')).toStdString();
}

TEST(ComDlgProperties, WrittenSetReadsBackInTableOrder)
{
    ComDlgHost h;
    h.dlg->setBrowseSpecialFolder(17);
    h.dlg->setFilter(QStringLiteral("Lists|*.m3u"));
    h.dlg->setCancelError(true);
    h.dlg->setFontSize(10.5f);
    h.dlg->setHelpKey(42);
    h.dlg->setMaxFileSize(1024);
    forms::PropertyBag bag;
    h.dlg->WriteProperties(bag);
    EXPECT_EQ(bag.Names(),
        (QStringList {"CancelError", "Filter", "MaxFileSize", "FontSize", "HelpKey", "BrowseSpecialFolder"}));

    ComDlgHost loaded;
    QSignalSpy changed(loaded.dlg, &LumoCommonDialog::PropertyChanged);
    loaded.dlg->ReadProperties(bag);
    EXPECT_EQ(loaded.dlg->BrowseSpecialFolder(), 17);
    EXPECT_EQ(loaded.dlg->Filter(), h.dlg->Filter());
    EXPECT_TRUE(loaded.dlg->CancelError());
    EXPECT_EQ(loaded.dlg->FontSize(), 10.5f);
    EXPECT_EQ(loaded.dlg->HelpKey(), QVariant(QStringLiteral("42")));
    EXPECT_EQ(loaded.dlg->MaxFileSize(), 1024);
    EXPECT_EQ(changed.count(), 0) << "reading the stored set announces nothing";
}

TEST(ComDlgProperties, StoredKeysMatchWithoutCase)
{
    ComDlgHost h;
    forms::PropertyBag bag {{QStringLiteral("_ExtentX"), 741}, {QStringLiteral("orientation"), 2},
        {QStringLiteral("browsespecialfolder"), 17}, {QStringLiteral("ACTION"), 1}};
    h.dlg->ReadProperties(bag);
    EXPECT_EQ(h.dlg->Orientation(), 2);
    EXPECT_EQ(h.dlg->BrowseSpecialFolder(), 17);
    EXPECT_EQ(h.dlg->Action(), 1);
    EXPECT_TRUE(h.user.FileRequests().empty()) << "a stored Action opens no dialog";
    EXPECT_EQ(h.dlg->Copies(), 1);

    forms::PropertyBag bad {{QStringLiteral("Copies"), QStringLiteral("many")}};
    const auto error = ErrorOf([&] { h.dlg->ReadProperties(bad); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), forms::Err::TypeMismatch);
}

TEST(ComDlgProperties, PlayerWindowHostsItsDialog)
{
    ScriptedUser user;
    frmPlayer player;
    ASSERT_NE(player.ComDlg, nullptr);
    EXPECT_EQ(player.ComDlg->Orientation(), 2);
    EXPECT_EQ(player.ComDlg->BrowseSpecialFolder(), 17);
    EXPECT_FALSE(player.ComDlg->CancelError());
    forms::PropertyBag bag;
    player.ComDlg->WriteProperties(bag);
    EXPECT_EQ(bag.Names(), (QStringList {"Orientation", "BrowseSpecialFolder"}));
}

TEST(ComDlgProperties, SettersAnnounceTheirKey)
{
    ComDlgHost h;
    QSignalSpy changed(h.dlg, &LumoCommonDialog::PropertyChanged);
    h.dlg->setFileName(QStringLiteral("a"));
    h.dlg->setFontUnderLine(true);
    h.dlg->sethDC(5);
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed[0].at(0).toString(), QStringLiteral("FileName"));
    EXPECT_EQ(changed[1].at(0).toString(), QStringLiteral("FontUnderLine"));
    EXPECT_EQ(changed[2].at(0).toString(), QStringLiteral("hDC"));

    const auto overflow = ErrorOf([&] { h.dlg->setCopies(40000); });
    ASSERT_TRUE(overflow) << "Integer properties hold 16 bits";
    EXPECT_EQ(overflow->Number(), forms::Err::Overflow);
    EXPECT_EQ(h.dlg->Copies(), 1);
}

TEST(ComDlgProperties, KeepsItsSizeOnTheHost)
{
    ComDlgHost h;
    h.dlg->Move(300, 600, 2000, 1000);
    EXPECT_EQ(h.dlg->Width(), 420);
    EXPECT_EQ(h.dlg->Height(), 420);
    EXPECT_EQ(h.dlg->Left(), 300);
}

TEST(ComDlgProperties, AboutShowsAnInformationBox)
{
    ComDlgHost h;
    h.dlg->About();
    ASSERT_EQ(h.user.Boxes().size(), 1u);
    EXPECT_EQ(h.user.Boxes()[0].style, 64);
    EXPECT_TRUE(h.user.Boxes()[0].prompt.contains(QStringLiteral("LumoCommonDialog")));
}
