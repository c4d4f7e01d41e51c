// The writer component's data image and ISO files.
#include "components/cdwriter/CDWriterXP.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Added {
    QString parent;
    QString path;
    bool isDirectory;
    qint64 size;
};

std::vector<Added> Record(CDWriterXP& writer, std::vector<Added>& into)
{
    QObject::connect(&writer, &CDWriterXP::ItemAdded,
        [&into](const QString& parent, const QString& path, const QString&, const QString&, bool dir, const QDateTime&,
            qint64 size) { into.push_back({parent, path, dir, size}); });
    return into;
}

QStringList Listed(CDWriterXP& writer, const QString& path)
{
    QStringList names;
    auto connection = QObject::connect(&writer, &CDWriterXP::ItemEnumerated,
        [&names](const QString&, const QString&, const QString& name, const QString&, bool dir, const QDateTime&,
            qint64 size) { names << QStringLiteral("%1%2:%3").arg(name, dir ? QStringLiteral("/") : QString()).arg(size); });
    writer.ListDirectory(path);
    QObject::disconnect(connection);
    return names;
}

} // namespace

TEST(CDWriterImage, DefaultsAreJolietWithoutLevelOneAndNewDisc)
{
    CDWriterXP writer;
    EXPECT_TRUE(writer.Joliet());
    EXPECT_FALSE(writer.IsoLevel1());
    EXPECT_EQ(writer.VolumeIdentifier(), QStringLiteral("New Disc"));
    EXPECT_EQ(writer.FileCount(), 0);
    EXPECT_EQ(writer.DirectoryCount(), 0);
    writer.setVolumeIdentifier(QString(40, QLatin1Char('V')));
    EXPECT_EQ(writer.VolumeIdentifier().size(), 32);
}

TEST(CDWriterImage, AddDirectoryTakesTheWholeFolderAndReportsEveryItem)
{
    TempDir dir;
    const QString source = dir.file(QStringLiteral("src"));
    MakeSourceTree(source);
    CDWriterXP writer;
    std::vector<Added> added;
    Record(writer, added);

    ASSERT_TRUE(writer.AddDirectory(QStringLiteral("/src"), source + QStringLiteral("/*.*")));
    // The folder itself, six files (the pipe is left out), two subfolders, two files in them.
    QStringList paths;
    for (const Added& a : added) paths << a.path;
    EXPECT_EQ(paths.size(), 10) << paths.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(paths.contains(QStringLiteral("/src/.hidden")));
    EXPECT_TRUE(paths.contains(QStringLiteral("/src/NOEXTENSION")));
    EXPECT_TRUE(paths.contains(QStringLiteral("/src/Grüße aus Köln.txt")));
    EXPECT_TRUE(paths.contains(QStringLiteral("/src/sub/deeper/leaf.txt")));
    EXPECT_FALSE(paths.contains(QStringLiteral("/src/pipe")));
    EXPECT_EQ(added.front().parent, QStringLiteral("/"));
    EXPECT_TRUE(added.front().isDirectory);

    EXPECT_EQ(writer.FileCount(), 7);
    EXPECT_EQ(writer.DirectoryCount(), 3);
    EXPECT_EQ(Listed(writer, QStringLiteral("/src/sub")), QStringList({QStringLiteral("deeper/:0"), QStringLiteral("inner.bin:5000")}));
    // The size counts whole 2048-byte blocks of every file, and grows with them.
    const qint64 blocks = writer.ImageSize();
    EXPECT_GE(writer.ConvertSize(blocks, 1), 1536 + 1234567 + 5000);
    EXPECT_EQ(writer.ConvertSize(blocks, 1), blocks * 2048);
}

TEST(CDWriterImage, AddFileRefusesWhatCannotBeWrittenAndReplacesAnEqualName)
{
    TempDir dir;
    MakeFile(dir.file(QStringLiteral("a.txt")), 100);
    MakeFile(dir.file(QStringLiteral("b.txt")), 200);
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    CDWriterXP writer;
    EXPECT_FALSE(writer.AddFile(QStringLiteral("/x"), dir.file(QStringLiteral("missing"))));
    EXPECT_FALSE(writer.AddFile(QStringLiteral("/x"), dir.file(QStringLiteral("folder"))));
    EXPECT_FALSE(writer.AddFile(QStringLiteral("/no/such/parent"), dir.file(QStringLiteral("a.txt"))));
    EXPECT_FALSE(writer.AddDirectory(QStringLiteral("/d"), dir.file(QStringLiteral("missing/*.*"))));

    ASSERT_TRUE(writer.AddFile(QStringLiteral("/a.txt"), dir.file(QStringLiteral("a.txt"))));
    ASSERT_TRUE(writer.AddFile(QStringLiteral("/a.txt"), dir.file(QStringLiteral("b.txt"))));
    EXPECT_EQ(writer.FileCount(), 1);
    EXPECT_EQ(Listed(writer, QStringLiteral("/")), QStringList({QStringLiteral("a.txt:200")}));
}

TEST(CDWriterImage, RemoveAndRenameReportWhatChangedAndRefuseClashes)
{
    TempDir dir;
    const QString source = dir.file(QStringLiteral("src"));
    MakeSourceTree(source);
    CDWriterXP writer;
    writer.AddDirectory(QStringLiteral("/src"), source + QStringLiteral("/*.*"));
    QSignalSpy removed(&writer, &CDWriterXP::ItemRemoved);
    QSignalSpy renamed(&writer, &CDWriterXP::ItemRenamed);

    EXPECT_FALSE(writer.RemoveItem(QStringLiteral("/")));
    EXPECT_FALSE(writer.RenameFile(QStringLiteral("/src/readme.txt"), QStringLiteral("empty.dat")));
    EXPECT_FALSE(writer.RenameFile(QStringLiteral("/src/sub"), QStringLiteral("x")));
    EXPECT_FALSE(writer.RenameDirectory(QStringLiteral("/src/readme.txt"), QStringLiteral("x")));
    EXPECT_FALSE(writer.RenameFile(QStringLiteral("/src/readme.txt"), QStringLiteral("a/b")));
    EXPECT_EQ(renamed.count(), 0);

    ASSERT_TRUE(writer.RenameDirectory(QStringLiteral("/src/sub"), QStringLiteral("Renamed")));
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed[0][0].toString(), QStringLiteral("/src/sub"));
    EXPECT_EQ(renamed[0][1].toString(), QStringLiteral("/src/Renamed"));
    EXPECT_TRUE(renamed[0][2].toBool());
    EXPECT_EQ(Listed(writer, QStringLiteral("/src/Renamed/deeper")), QStringList({QStringLiteral("leaf.txt:42")}));

    ASSERT_TRUE(writer.RemoveItem(QStringLiteral("/src/Renamed")));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_TRUE(removed[0][2].toBool());
    EXPECT_EQ(writer.DirectoryCount(), 1);
    EXPECT_EQ(writer.FileCount(), 5);

    QSignalSpy cleared(&writer, &CDWriterXP::ImageCleared);
    writer.ClearImage();
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(writer.FileCount(), 0);
}

TEST(CDWriterImage, IsoFileHoldsJolietNamesAndTheFilesByteForByte)
{
    TempDir dir;
    const QString source = dir.file(QStringLiteral("src"));
    MakeSourceTree(source);
    CDWriterXP writer;
    writer.AddDirectory(QStringLiteral("/src"), source + QStringLiteral("/*.*"));
    writer.AddFile(QStringLiteral("/A file with a rather long name of more than thirty-one.txt"), source + QStringLiteral("/readme.txt"));
    writer.setVolumeIdentifier(QStringLiteral("MY_DISC"));
    QSignalSpy status(&writer, &CDWriterXP::StatusText);

    const QString iso = dir.file(QStringLiteral("out.iso"));
    ASSERT_TRUE(writer.CreateIsoFile(iso));
    EXPECT_FALSE(writer.Busy());

    const QString listing = RunTool(QStringLiteral("xorriso"), {QStringLiteral("-indev"), QStringLiteral("stdio:") + iso, QStringLiteral("-find"), QStringLiteral("/")});
    EXPECT_TRUE(listing.contains(QStringLiteral("/src/Grüße aus Köln.txt"))) << listing.toStdString();
    EXPECT_TRUE(listing.contains(QStringLiteral("/A file with a rather long name of more than thirty-one.txt")));
    EXPECT_TRUE(RunTool(QStringLiteral("isoinfo"), {QStringLiteral("-d"), QStringLiteral("-i"), iso}).contains(QStringLiteral("Volume id: MY_DISC")));

    const QString out = dir.file(QStringLiteral("extracted"));
    ASSERT_TRUE(ExtractImage(iso, out));
    for (const QString& name : {QStringLiteral("readme.txt"), QStringLiteral("NOEXTENSION"), QStringLiteral(".hidden"),
             QStringLiteral("Grüße aus Köln.txt"), QStringLiteral("empty.dat"), QStringLiteral("sub/inner.bin"),
             QStringLiteral("sub/deeper/leaf.txt")})
        EXPECT_EQ(Read(out + QStringLiteral("/src/") + name), Read(source + QLatin1Char('/') + name)) << name.toStdString();
}

TEST(CDWriterImage, FailedIsoFileLeavesTheExistingFileAsItWas)
{
    TempDir dir;
    MakeFile(dir.file(QStringLiteral("a.txt")), 100000);
    CDWriterXP writer;
    writer.AddFile(QStringLiteral("/a.txt"), dir.file(QStringLiteral("a.txt")));
    const QString iso = dir.file(QStringLiteral("keep.iso"));
    Write(iso, "the user's old image");
    // The source vanishes between the add and the write.
    QFile::remove(dir.file(QStringLiteral("a.txt")));

    EXPECT_FALSE(writer.CreateIsoFile(iso));
    EXPECT_EQ(Read(iso), QByteArray("the user's old image"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("keep.iso")}));
}
