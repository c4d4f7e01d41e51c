// The erase and disc-information dialogs on the disc-image recorder.
#include "components/cdwriter/CDWriterXP.h"
#include "components/cdwriter/Drives.h"
#include "tests/ripping/ModalDialog.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"
#include "writing/frmBurnData.h"
#include "writing/frmDataDiscInfo.h"
#include "writing/frmDataErase.h"

#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>

namespace {

QString LastPrompt(const ScriptedUser& user) { return user.Boxes().empty() ? QString() : user.Boxes().back().prompt; }

// A recorder file whose chain of sessions leads nowhere: the header at its start covers 122
// blocks, the session at block 32 is 35 blocks long, and the one after it (at block 96) claims
// no blocks at all.
QByteArray DamagedRecorderFile()
{
    QByteArray file(128 * 2048, '\0');
    const auto descriptor = [&](int block, quint32 blocks) {
        char* at = file.data() + block * 2048;
        at[0] = 1;
        std::memcpy(at + 1, "CD001", 5);
        at[6] = 1;
        qToLittleEndian(blocks, at + 80);
        qToBigEndian(blocks, at + 84);
    };
    descriptor(16, 122);
    descriptor(48, 35);
    descriptor(112, 0);
    return file;
}

// A recorder file whose chain of sessions is whole: the header at its start covers them all, and
// each session of 32 blocks starts where the one before it ends. The file takes the room of the
// headers only.
void WriteSessionChain(const QString& path, int sessions)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(32 + 32 * sessions) * 2048));
    const auto descriptor = [&](qint64 block, quint32 blocks) {
        QByteArray head(88, '\0');
        head[0] = 1;
        std::memcpy(head.data() + 1, "CD001", 5);
        head[6] = 1;
        qToLittleEndian(blocks, head.data() + 80);
        qToBigEndian(blocks, head.data() + 84);
        ASSERT_TRUE(file.seek(block * 2048) && file.write(head) == head.size());
    };
    descriptor(16, quint32(32 + 32 * sessions));
    for (int session = 0; session < sessions; ++session) descriptor(32 + 32 * session + 16, 32);
}

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

TEST(DiscInfo, ADamagedRecorderFileIsReportedAtOnceAndTheWindowClosesNormally)
{
    ScriptedUser user;
    TempDir dir;
    const QString image = dir.file(QStringLiteral("recorder.iso"));
    Write(image, DamagedRecorderFile());
    // Were the file taken for a sound one, taking the drive would never return: stop here then.
    ASSERT_FALSE(cdwriter::RecorderImageReadable(image));

    qputenv("TESSEL_RECORDER", image.toUtf8());
    frmBurnData& w = forms::Instance<frmBurnData>();
    w.Load();
    ASSERT_GE(w.SelectedDrive(), 0) << "the recorder itself opens";
    w.cboDevices->setListIndex(w.cboDevices->ListCount() - 1);
    w.mnuCDRecorderDiscInfo_Click();
    EXPECT_EQ(LastPrompt(user), QStringLiteral("No Media Loaded...Cannot Get Disc Info!"));
    EXPECT_FALSE(forms::Instances::Exists<frmDataDiscInfo>());
    w.cmdWriteDisc_Click();
    EXPECT_EQ(LastPrompt(user), QStringLiteral("Please Insert Writable Media before continuing!"));
    frmDataErase& erase = forms::Instance<frmDataErase>();
    WhileShown<frmDataErase>(erase, [&] { w.mnuCDRecorderEraseDisc_Click(); }, [&](frmDataErase& d) { d.cmdErase->click(); });
    EXPECT_EQ(LastPrompt(user), QStringLiteral("Disc is not a Re-Writable disc."));
    EXPECT_TRUE(w.Unload());
    qunsetenv("TESSEL_RECORDER");
    EXPECT_TRUE(Read(image) == DamagedRecorderFile()) << "the file is left as it was";
}

TEST(DiscInfo, ARecorderFileOfMoreSessionsThanACdHoldsIsDamaged)
{
    ScriptedUser user;
    TempDir dir;
    const QString image = dir.file(QStringLiteral("recorder.iso"));
    qputenv("TESSEL_RECORDER", image.toUtf8());
    frmBurnData& w = forms::Instance<frmBurnData>();
    w.Load();
    w.cboDevices->setListIndex(w.cboDevices->ListCount() - 1);

    // As many sessions as a CD holds: the disc and its sessions are shown.
    WriteSessionChain(image, 99);
    frmDataDiscInfo& info = forms::Instance<frmDataDiscInfo>();
    w.mnuCDRecorderDiscInfo_Click();
    ASSERT_TRUE(forms::Instances::Exists<frmDataDiscInfo>()) << LastPrompt(user).toStdString();
    EXPECT_EQ(info.lblValueSessions->Caption(), QStringLiteral("99"));
    info.Unload();

    // One more, and the chain is a damaged one, refused before the library follows it.
    WriteSessionChain(image, 100);
    w.mnuCDRecorderDiscInfo_Click();
    EXPECT_EQ(LastPrompt(user), QStringLiteral("No Media Loaded...Cannot Get Disc Info!"));
    EXPECT_FALSE(forms::Instances::Exists<frmDataDiscInfo>());
    EXPECT_TRUE(w.Unload());
    qunsetenv("TESSEL_RECORDER");
}
