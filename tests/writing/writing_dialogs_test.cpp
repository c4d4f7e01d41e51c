// The erase and disc-information dialogs on the disc-image recorder.
#include "components/cdwriter/CDWriterXP.h"
#include "tests/ripping/ModalDialog.h"
#include "tests/support/ScriptedUser.h"
#include "tests/writing/WriterFixture.h"
#include "writing/frmDataDiscInfo.h"
#include "writing/frmDataErase.h"

#include <gtest/gtest.h>

namespace {

QString LastPrompt(const ScriptedUser& user) { return user.Boxes().empty() ? QString() : user.Boxes().back().prompt; }

} // namespace

TEST(DiscInfo, AnOpenSessionIsTheOnlyOneThatCanBeClosedAndClosingCannotBeInterrupted)
{
    ScriptedUser user;
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    f.writer->setCloseSession(false);
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));

    frmDataDiscInfo& info = forms::Instance<frmDataDiscInfo>();
    info.ShowDiscInfo(f.writer.get(), nullptr);
    ASSERT_TRUE(info.isVisible());
    EXPECT_EQ(info.lblValueDiscStatus->Caption(), QStringLiteral("Disc Open"));
    EXPECT_EQ(info.lblValueDiscType->Caption(), QStringLiteral("CD-DA/CD-ROM"));
    EXPECT_EQ(info.lblValueLastSessionStatus->Caption(), QStringLiteral("Incomplete Session"));
    EXPECT_EQ(info.lblValueSessions->Caption(), QStringLiteral("1"));
    EXPECT_GT(info.lblValueFreeSpaceBlocks->Caption().toInt(), 300000);
    EXPECT_TRUE(info.cmdCloseSession->isEnabled());
    EXPECT_TRUE(info.cmdCloseDisc->isEnabled());

    info.cmdCloseSession->click();
    EXPECT_TRUE(info.Busy());
    EXPECT_FALSE(info.cmdOK->isEnabled());
    EXPECT_FALSE(info.Unload()) << "the dialog stays while the close runs";
    ASSERT_TRUE(WaitFor([&] { return !info.Busy(); }));
    EXPECT_EQ(LastPrompt(user), QStringLiteral("Session/Disc Closed Successful!"));
    EXPECT_EQ(info.lblStatus->Caption(), QStringLiteral("Closing Successful!!"));
    EXPECT_EQ(info.lblValueLastSessionStatus->Caption(), QStringLiteral("Closed Session"));
    EXPECT_FALSE(info.cmdCloseSession->isEnabled());
    EXPECT_TRUE(info.cmdOK->isEnabled());
    EXPECT_TRUE(info.Unload());
}

TEST(DiscInfo, WithoutADiscOnlyTheMessageAppears)
{
    ScriptedUser user;
    CDWriterXP writer; // no drive open
    frmDataDiscInfo& info = forms::Instance<frmDataDiscInfo>();
    info.ShowDiscInfo(&writer, nullptr);
    EXPECT_EQ(LastPrompt(user), QStringLiteral("No Media Loaded...Cannot Get Disc Info!"));
    EXPECT_FALSE(forms::Instances::Exists<frmDataDiscInfo>());
}

TEST(Erase, QuickEraseBlanksTheDiscAndTheDialogCannotCloseMeanwhile)
{
    ScriptedUser user;
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));

    frmDataErase& erase = forms::Instance<frmDataErase>();
    bool refused = false;
    WhileShown<frmDataErase>(erase, [&] { erase.ShowErase(f.writer.get()); }, [&](frmDataErase& d) {
        EXPECT_EQ(d.chkQuikErase->Value(), forms::CheckValue::Checked);
        bool started = false;
        QObject::connect(f.writer.get(), &CDWriterXP::EraseStarted, &d, [&] {
            started = true;
            EXPECT_TRUE(d.Busy());
            EXPECT_FALSE(d.cmdErase->isEnabled());
            EXPECT_FALSE(d.cmdCancel->isEnabled());
            refused = !d.Unload();
        });
        d.cmdErase->click();
        WaitFor([&] { return started && !d.Busy(); });
        EXPECT_EQ(d.lblStatus->Caption(), QStringLiteral("Erase operation complete!!!"));
        EXPECT_TRUE(d.cmdCancel->isEnabled());
    });
    EXPECT_TRUE(refused);
    EXPECT_EQ(LastPrompt(user), QStringLiteral("Erase Completed!!!"));
    EXPECT_EQ(f.writer->DiscStatus(), 0);
}

TEST(Erase, ADriveWithoutRewritableSupportClosesTheDialogAfterItsMessage)
{
    ScriptedUser user;
    CDWriterXP writer; // no drive open: it supports nothing
    frmDataErase& erase = forms::Instance<frmDataErase>();
    WhileShown<frmDataErase>(erase, [&] { erase.ShowErase(&writer); }, [&](frmDataErase& d) { d.cmdErase->click(); });
    EXPECT_EQ(LastPrompt(user), QStringLiteral("Selected drive does not support Re-Writable discs."));
    EXPECT_FALSE(forms::Instances::Exists<frmDataErase>());
}
