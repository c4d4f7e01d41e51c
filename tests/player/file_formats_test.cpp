// The delimited record files, the recent-file rule and the file functions.
#include "dialogs/Files.h"
#include "platform/files/DelimitedFile.h"
#include "player/PlayerFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QStringList Items(const QString& text)
{
    auto reader = files::DelimitedReader::FromText(text);
    return reader.ReadItems(100);
}

} // namespace

TEST(DelimitedRecord, WritesQuotedTextsBooleansAndNumbersWithCrLf)
{
    TempDir dir;
    const QString path = dir.file("record");
    ASSERT_TRUE(files::WriteRecord(path, {true, false, 0, -16, QStringLiteral("C:/a b, \"c\""), QString()}));
    EXPECT_EQ(Read(path), QByteArray("#TRUE#,#FALSE#,0,-16,\"C:/a b, \"c\"\",\"\"\r\n"));

    ASSERT_TRUE(files::WriteLine(path, QStringLiteral("plain, \"as is\" äö")));
    EXPECT_EQ(Read(path), QStringLiteral("plain, \"as is\" äö\r\n").toUtf8());

    EXPECT_FALSE(files::WriteRecord(dir.file("no-such-folder/record"), {true}));
}

TEST(DelimitedRecord, ReadsItemsByTheDelimitedRule)
{
    // Quoted items keep commas and blanks; anything after the closing quote is dropped.
    EXPECT_EQ(Items(QStringLiteral("\"a, b\" ,  c  ,\"\",#TRUE#\r\nnext")),
        (QStringList {"a, b", "c", "", "#TRUE#", "next"}));
    EXPECT_EQ(Items(QStringLiteral("\"x\"junk,y")), (QStringList {"x", "y"}));
    // Every line end ends an item, so an empty line is an empty item.
    EXPECT_EQ(
        Items(QStringLiteral("one\r\n\r\ntwo\rthree\nfour\r\n")), (QStringList {"one", "", "two", "three", "four"}));
    // A quote that never closes runs to the end, line ends included.
    EXPECT_EQ(Items(QStringLiteral("\"open\r\nstill")), (QStringList {"open\r\nstill"}));
    EXPECT_EQ(Items(QString()), QStringList());
}

TEST(DelimitedRecord, ConvertsItemsOrRefuses)
{
    EXPECT_EQ(files::ToBoolean("#TRUE#"), true);
    EXPECT_EQ(files::ToBoolean("#FALSE#"), false);
    EXPECT_EQ(files::ToBoolean("True"), true);
    EXPECT_EQ(files::ToBoolean("0"), false);
    EXPECT_EQ(files::ToBoolean("-1"), true);
    EXPECT_FALSE(files::ToBoolean("maybe"));
    EXPECT_FALSE(files::ToBoolean(""));

    EXPECT_EQ(files::ToInteger("-16"), -16);
    EXPECT_EQ(files::ToInteger(" 7 "), 7);
    EXPECT_EQ(files::ToInteger("2.5"), 2);
    EXPECT_EQ(files::ToInteger("3.5"), 4);
    EXPECT_EQ(files::ToInteger("#TRUE#"), -1);
    EXPECT_EQ(files::ToInteger("32767"), 32767);
    EXPECT_FALSE(files::ToInteger("32768"));
    EXPECT_FALSE(files::ToInteger("abc"));
    EXPECT_FALSE(files::ToInteger(""));
}

TEST(DelimitedRecord, DamagedAndBinaryFilesReadWithoutFailing)
{
    TempDir dir;
    EXPECT_FALSE(files::DelimitedReader(dir.file("missing")).Open());
    EXPECT_TRUE(files::DelimitedReader(dir.file("missing")).ReadItems(4).isEmpty());

    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(static_cast<char>((i * 37) % 256));
    Write(dir.file("binary"), binary);
    files::DelimitedReader reader(dir.file("binary"));
    int items = 0;
    while (reader.ReadItem())
        ++items;
    EXPECT_GT(items, 0);
}

TEST(RecentFiles, ExitsWithRowsAToEFillSlotsTwoToFourThenSlotOne)
{
    using Slots = PlayerFiles::RecentSlots;
    Slots captions;
    const std::vector<Slots> expected = {
        {"", "A", "", ""},
        {"", "A", "B", ""},
        {"", "A", "B", "C"},
        {"D", "A", "B", "C"},
        {"E", "A", "B", "C"},
    };
    const QString rows[] = {"A", "B", "C", "D", "E"};
    for (int exit = 0; exit < 5; ++exit) {
        captions = PlayerFiles::RebuildRecentFiles(captions, rows[exit]);
        EXPECT_EQ(captions, expected[exit]) << "after exit " << exit + 1;
    }
    // The current text is kept even when empty or already present.
    EXPECT_EQ(PlayerFiles::RebuildRecentFiles(Slots {}, QString()), Slots {});
    EXPECT_EQ(PlayerFiles::RebuildRecentFiles(Slots {"", "A", "", ""}, "A"), (Slots {"", "A", "A", ""}));
}

TEST(RecentFiles, CaptionWithAQuoteReadsBackSplitAtTheQuote)
{
    ASSERT_TRUE(PlayerFiles::WriteRecentFiles({"/m/one.mp3", "/m/say \"hi\".mp3", "", "/m/ü, b.avi"}));
    const auto back = PlayerFiles::ReadRecentFiles();
    EXPECT_EQ(back, (PlayerFiles::RecentSlots {"/m/one.mp3", "/m/say ", "", "/m/ü, b.avi"}));
}

TEST(HandoffFile, FirstItemIsTakenUpToACommaWithoutEndBlanks)
{
    ASSERT_TRUE(PlayerFiles::WriteHandoff(QStringLiteral("/media/clip one, part two.avi")));
    EXPECT_EQ(PlayerFiles::ReadHandoff(), QStringLiteral("/media/clip one"));
    ASSERT_TRUE(PlayerFiles::WriteHandoff(QStringLiteral("  /media/ä b.avi  ")));
    EXPECT_EQ(PlayerFiles::ReadHandoff(), QStringLiteral("/media/ä b.avi"));
    PlayerFiles::DeleteHandoff();
    EXPECT_EQ(PlayerFiles::ReadHandoff(), QString());
}

TEST(FileFunctions, LongPathOfExistingPathsOnly)
{
    TempDir dir;
    Write(dir.file("a b, ü.txt"), "x");
    ASSERT_TRUE(QDir().mkpath(dir.file("sub")));
    EXPECT_EQ(Files::GetLongPath(""), QString());
    EXPECT_EQ(Files::GetLongPath(dir.file("missing.txt")), QString());
    EXPECT_EQ(Files::GetLongPath(dir.path() + "/./sub/../a b, ü.txt"), dir.file("a b, ü.txt"));
    EXPECT_EQ(Files::GetLongPath(dir.path() + "/gone/../a b, ü.txt"), QString()) << "every folder must exist";
    EXPECT_EQ(Files::GetLongPath("\"" + dir.file("a b, ü.txt") + "\""), QString()) << "quotes are not part of a path";

    // A path longer than 1024 characters comes back whole.
    QString deep = dir.path();
    while (deep.size() < 1100)
        deep += QStringLiteral("/folder-with-a-long-name-for-depth");
    ASSERT_TRUE(QDir().mkpath(deep));
    EXPECT_EQ(Files::GetLongPath(deep), deep);
}

TEST(FileFunctions, SizeTextInBytesAndKilobytesUpToLargeFiles)
{
    TempDir dir;
    const auto sized = [&](qint64 length) {
        const QString path = dir.file(QString::number(length));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(file.resize(length)); // sparse: no disk space used
        file.close();
        return Files::FileSizeText(path);
    };
    EXPECT_EQ(sized(0), "0 B");
    EXPECT_EQ(sized(500), "500 B");
    EXPECT_EQ(sized(1023), "1023 B");
    EXPECT_EQ(sized(1024), "1 KB");
    EXPECT_EQ(sized(1536), "1.5 KB");
    EXPECT_EQ(sized(2048), "2 KB");
    EXPECT_EQ(sized(5000), "4.8828 KB");
    EXPECT_EQ(sized(1000000), "976.5625 KB");
    EXPECT_EQ(sized(3 * 1024 * 1024), "3072 KB");
    // Beyond the 32-bit range the length stays whole and positive.
    EXPECT_EQ(sized(2147483648LL), "2097152 KB");
    EXPECT_EQ(sized(2147483649LL), "2097152.001 KB");
    EXPECT_EQ(sized(5LL * 1024 * 1024 * 1024), "5242880 KB");
    EXPECT_EQ(Files::FileSizeText(dir.file("missing")), QString());
}

TEST(FileFunctions, ExtensionOfOneToFourCharacters)
{
    const auto ext = [](QString name) { return Files::GetFileExtension(name); };
    EXPECT_EQ(ext("song.mpeg"), "mpeg");
    EXPECT_EQ(ext("a.b"), "b");
    EXPECT_EQ(ext("archive.tar.gz"), "gz");
    EXPECT_EQ(ext("Clip.AVI"), "AVI");
    EXPECT_EQ(ext("README"), "Unknown");
    EXPECT_EQ(ext("file.html5x"), "Unknown");
    EXPECT_EQ(ext("ends."), "Unknown");
    EXPECT_EQ(ext("."), ".");
    EXPECT_EQ(ext(""), "Unknown");
}

TEST(FileFunctions, DateTextOfModificationTime)
{
    TempDir dir;
    QString path = dir.file("dated.txt");
    Write(path, "x");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));

    const QDateTime midnight(QDate(2021, 3, 4), QTime(0, 0));
    ASSERT_TRUE(file.setFileTime(midnight, QFileDevice::FileModificationTime));
    const QString dateOnly = Files::FileDateText(path);
    EXPECT_EQ(dateOnly, QLocale().toString(QDate(2021, 3, 4), QLocale::ShortFormat));
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2021, 3, 4), QTime(0, 0, 0, 400)), QFileDevice::FileModificationTime));
    EXPECT_EQ(Files::FileDateText(path), dateOnly) << "a stamp within midnight's second is midnight";

    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2021, 3, 4), QTime(13, 45)), QFileDevice::FileModificationTime));
    const QString withTime = Files::FileDateText(path);
    EXPECT_TRUE(withTime.startsWith(dateOnly + " "));
    EXPECT_GT(withTime.size(), dateOnly.size() + 1);

    QString missing = dir.file("missing");
    EXPECT_EQ(Files::FileDateText(missing), QString());
}
