// The program's small files survive a crash, a kill or a full disk whole, and a huge or garbage
// file costs no more to read than a proper one.
#include "platform/files/DelimitedFile.h"
#include "platform/forms/ListControls.h"
#include "player/ListBox.h"
#include "player/SingleInstance.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestChild.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/mount.h>

namespace {

QString Record(char fill, int length) { return QString(length, QLatin1Char(fill)); }

QByteArray RecordBytes(char fill, int length)
{
    return (QLatin1Char('"') + Record(fill, length) + QStringLiteral("\"\r\n")).toUtf8();
}

} // namespace

// Run only as the child of the tests below: writes two records in turn until it is killed.
TEST(FilesChild, WritesRecordsUntilKilled)
{
    const QString path = TestChildArgument();
    if (path.isEmpty()) GTEST_SKIP() << "run by the durability tests";
    for (int i = 0;; ++i) {
        files::WriteRecord(path, {Record(i % 2 ? 'b' : 'a', 1 << 20)});
        if (i == 0) QFile(path + QStringLiteral(".ready")).open(QIODevice::WriteOnly);
    }
}

// Run only as the child of the tests below: reports whether it got the instance lock.
TEST(FilesChild, TakesTheInstanceLock)
{
    const QString path = TestChildArgument();
    if (path.isEmpty()) GTEST_SKIP() << "run by the instance tests";
    std::fputs(SingleInstance::Acquire(path) ? "acquired\n" : "refused\n", stdout);
}

TEST(FilesDurability, AWriteKilledAtAnyPointLeavesTheOldFileOrTheNewOne)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("Settings.ini"));
    const QByteArray a = RecordBytes('a', 1 << 20);
    const QByteArray b = RecordBytes('b', 1 << 20);
    for (int round = 0; round < 12; ++round) {
        QFile::remove(path + QStringLiteral(".ready"));
        std::unique_ptr<QProcess> child = StartTestChild(QStringLiteral("FilesChild.WritesRecordsUntilKilled"), path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(path + QStringLiteral(".ready")); }, 20000));
        QTest::qWait(QRandomGenerator::global()->bounded(1, 40));
        child->kill();
        child->waitForFinished();
        const QByteArray content = Read(path);
        EXPECT_TRUE(content == a || content == b) << "round " << round << ": " << content.size() << " bytes";
    }
}

TEST(FilesDurability, AWriteOntoAFullDiskKeepsTheOldFile)
{
    TempDir dir;
    ScratchMount disk(dir.path(), "size=256k");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    const QString path = dir.file(QStringLiteral("RecentFiles.ini"));
    const QString list = dir.file(QStringLiteral("list.txt"));
    ASSERT_TRUE(files::WriteRecord(path, {QStringLiteral("/music/one.mp3"), QStringLiteral("/music/two.mp3")}));
    forms::ComboBox playlist(nullptr);
    playlist.AddItem(QStringLiteral("/music/one.mp3"));
    ASSERT_TRUE(ListBox::SaveListBox(list, playlist));
    const QByteArray before = Read(path);
    const QByteArray listBefore = Read(list);
    disk.Fill();
    // What a user's exit really writes: a record of a few dozen bytes, which stays in the save
    // file's buffer until it is committed.
    EXPECT_FALSE(files::WriteRecord(path, {QString(), QStringLiteral("/music/three.mp3"), QString(), QString()}));
    EXPECT_EQ(Read(path), before);
    EXPECT_FALSE(files::WriteRecord(path, {Record('c', 8192), Record('d', 8192)}));
    EXPECT_EQ(Read(path), before);
    EXPECT_FALSE(files::WriteLine(path, Record('e', 20000)));
    EXPECT_EQ(Read(path), before);

    playlist.AddItem(QStringLiteral("/music/two.mp3"));
    EXPECT_FALSE(ListBox::SaveListBox(list, playlist));
    EXPECT_EQ(Read(list), listBefore);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList {QStringLiteral("RecentFiles.ini"), QStringLiteral("filler"), QStringLiteral("list.txt")}))
        << "no temporary file is left behind";
}

TEST(FilesDurability, AHugeFileIsReadNoFurtherThanItsFewItemsNeed)
{
    TempDir dir;
    const QString path = dir.file(QStringLiteral("Settings.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\"first\",#TRUE#,");
        ASSERT_TRUE(file.resize(300LL << 20)); // the rest reads as zero bytes, without a delimiter
    }
    files::DelimitedReader reader(path);
    const QStringList items = reader.ReadItems(14);
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0], QStringLiteral("first"));
    EXPECT_EQ(items[1], QStringLiteral("#TRUE#"));
    ASSERT_EQ(items.size(), 3);
    EXPECT_LE(items[2].size(), files::DelimitedReader::DefaultMaxBytes);
}

TEST(FilesDurability, AReadOnlyProgramFolderStillAllowsOnlyOnePlayer)
{
    TempDir dir;
    ScratchMount folder(dir.path(), "size=64k,mode=0555");
    if (!folder.Mounted()) GTEST_SKIP() << "a read-only file system needs root";
    ASSERT_EQ(::mount(nullptr, dir.path().toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const QString lock = dir.file(QStringLiteral("tessel.lock"));
    ASSERT_TRUE(SingleInstance::Acquire(lock));

    std::unique_ptr<QProcess> second = StartTestChild(QStringLiteral("FilesChild.TakesTheInstanceLock"), lock);
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_TRUE(second->readAllStandardOutput().contains("refused"));

    SingleInstance::Release();
    std::unique_ptr<QProcess> third = StartTestChild(QStringLiteral("FilesChild.TakesTheInstanceLock"), lock);
    ASSERT_TRUE(third->waitForFinished(20000));
    EXPECT_TRUE(third->readAllStandardOutput().contains("acquired"));
}
