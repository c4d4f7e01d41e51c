// The writer component on the disc-image recorder: sessions, import, erase, close and cancel.
#include "components/cdwriter/CDWriterXP.h"
#include "tests/support/TestChild.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

TEST(CDWriterRecorder, TheRecorderIsListedAndStartsBlank)
{
    RecorderFixture f;
    const int last = f.writer->DeviceCount() - 1;
    ASSERT_GE(last, 0);
    EXPECT_EQ(f.writer->DeviceTextA(last), QStringLiteral("Image"));
    EXPECT_EQ(f.writer->DeviceTextC(last), f.image);
    EXPECT_TRUE(f.writer->DiscPresent());
    EXPECT_EQ(f.writer->DiscStatus(), 0);
    EXPECT_EQ(f.writer->SessionCount(), 0);
    EXPECT_EQ(f.writer->LastSessionState(), 0);
    EXPECT_EQ(f.writer->DiscCapacity(1), 360000);
    EXPECT_TRUE(f.writer->SupportsFeature(7));
    EXPECT_TRUE(f.writer->DiscErasable());
    EXPECT_FALSE(f.writer->OpenDevice(last + 1));
    EXPECT_FALSE(f.writer->StartWrite());
}

TEST(CDWriterRecorder, TwoWritesMakeTwoSessionsThatTheToolReads)
{
    RecorderFixture f;
    const QString source = f.dir.file(QStringLiteral("src"));
    MakeSourceTree(source);
    f.writer->AddDirectory(QStringLiteral("/first"), source + QStringLiteral("/*.*"));
    QSignalSpy preparing(f.writer.get(), &CDWriterXP::PreparingToWrite);
    QSignalSpy track(f.writer.get(), &CDWriterXP::PreparingTrack);
    QSignalSpy closing(f.writer.get(), &CDWriterXP::ClosingSession);
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(preparing.count(), 1);
    ASSERT_EQ(track.count(), 1);
    EXPECT_GT(track[0][1].toLongLong(), 1234567);
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(f.writer->DiscStatus(), 1);
    EXPECT_EQ(f.writer->SessionCount(), 1);
    EXPECT_EQ(f.writer->LastSessionState(), 3);
    EXPECT_EQ(f.writer->DiscType(), 0);
    EXPECT_LT(f.writer->DiscCapacity(1), 360000);

    f.writer->ClearImage();
    MakeFile(f.dir.file(QStringLiteral("second.txt")), 4096, 's');
    f.writer->AddFile(QStringLiteral("/second.txt"), f.dir.file(QStringLiteral("second.txt")));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete")) << f.lastError.toStdString();
    EXPECT_EQ(f.writer->SessionCount(), 2);
    EXPECT_EQ(SessionsOnImage(f.image), 2);

    // A session written without importing the first holds only its own files.
    const QString out = f.dir.file(QStringLiteral("out"));
    ASSERT_TRUE(ExtractImage(f.image, out));
    EXPECT_EQ(Read(out + QStringLiteral("/second.txt")), Read(f.dir.file(QStringLiteral("second.txt"))));
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/first")));
}

TEST(CDWriterRecorder, ImportAsksBeforeReplacingAnImportedFileAndKeepsTheOldFiles)
{
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("old.txt")), 3000, 'o');
    MakeFile(f.dir.file(QStringLiteral("keep.txt")), 2000, 'k');
    f.writer->AddFile(QStringLiteral("/old.txt"), f.dir.file(QStringLiteral("old.txt")));
    f.writer->AddFile(QStringLiteral("/keep.txt"), f.dir.file(QStringLiteral("keep.txt")));
    f.writer->setVolumeIdentifier(QStringLiteral("FIRST"));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    f.writer->ClearImage();

    // A file added before the import meets the imported one of the same name.
    MakeFile(f.dir.file(QStringLiteral("new.txt")), 5000, 'n');
    f.writer->AddFile(QStringLiteral("/old.txt"), f.dir.file(QStringLiteral("new.txt")));
    std::vector<QString> asked;
    QObject::connect(f.writer.get(), &CDWriterXP::ReplaceImportedFile,
        [&](const QString& imported, const QString&, qint64, bool& replace) {
            asked.push_back(imported);
            replace = true;
        });
    QSignalSpy added(f.writer.get(), &CDWriterXP::ItemAdded);
    ASSERT_TRUE(f.writer->ImportSession(true));
    EXPECT_EQ(asked, std::vector<QString>({QStringLiteral("/old.txt")}));
    EXPECT_EQ(added.count(), 1); // keep.txt; old.txt was already shown
    EXPECT_EQ(f.writer->VolumeIdentifier(), QStringLiteral("FIRST"));
    EXPECT_EQ(f.writer->FileCount(), 2);

    // Adding over an imported file asks again; this time the user keeps it.
    asked.clear();
    QObject::disconnect(f.writer.get(), &CDWriterXP::ReplaceImportedFile, nullptr, nullptr);
    QObject::connect(f.writer.get(), &CDWriterXP::ReplaceImportedFile,
        [&](const QString& imported, const QString&, qint64, bool&) { asked.push_back(imported); });
    EXPECT_TRUE(f.writer->AddFile(QStringLiteral("/keep.txt"), f.dir.file(QStringLiteral("new.txt"))));
    EXPECT_EQ(asked.size(), 1u);

    MakeFile(f.dir.file(QStringLiteral("third.txt")), 100, 't');
    f.writer->AddFile(QStringLiteral("/third.txt"), f.dir.file(QStringLiteral("third.txt")));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(SessionsOnImage(f.image), 2);

    const QString out = f.dir.file(QStringLiteral("out"));
    ASSERT_TRUE(ExtractImage(f.image, out));
    EXPECT_EQ(Read(out + QStringLiteral("/old.txt")), Read(f.dir.file(QStringLiteral("new.txt"))));
    EXPECT_EQ(Read(out + QStringLiteral("/keep.txt")), Read(f.dir.file(QStringLiteral("keep.txt"))));
    EXPECT_EQ(Read(out + QStringLiteral("/third.txt")), Read(f.dir.file(QStringLiteral("third.txt"))));

    // An ISO file of the image reads the imported files from the disc.
    const QString iso = f.dir.file(QStringLiteral("copy.iso"));
    ASSERT_TRUE(f.writer->CreateIsoFile(iso));
    const QString copy = f.dir.file(QStringLiteral("copy"));
    ASSERT_TRUE(ExtractImage(iso, copy));
    EXPECT_EQ(Read(copy + QStringLiteral("/keep.txt")), Read(f.dir.file(QStringLiteral("keep.txt"))));
    EXPECT_EQ(Read(copy + QStringLiteral("/third.txt")), Read(f.dir.file(QStringLiteral("third.txt"))));
}

TEST(CDWriterRecorder, ImportFromABlankDiscFails)
{
    RecorderFixture f;
    EXPECT_FALSE(f.writer->ImportSession(true));
}

TEST(CDWriterRecorder, OpenSessionClosesAndAClosedDiscTakesNoMore)
{
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    f.writer->setCloseSession(false);
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(f.writer->LastSessionState(), 1);

    QSignalSpy closingSession(f.writer.get(), &CDWriterXP::ClosingSession);
    ASSERT_TRUE(f.writer->CloseDiscOrSession(false));
    EXPECT_TRUE(f.writer->Busy());
    EXPECT_EQ(f.WaitForEnd(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(closingSession.count(), 1);
    EXPECT_EQ(f.writer->LastSessionState(), 3);
    EXPECT_EQ(f.writer->DiscStatus(), 1);

    ASSERT_TRUE(f.writer->CloseDiscOrSession(true));
    EXPECT_EQ(f.WaitForEnd(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(f.writer->DiscStatus(), 2);
    EXPECT_EQ(f.writer->DiscCapacity(1), 0);
    QSignalSpy error(f.writer.get(), &CDWriterXP::WriteError);
    EXPECT_EQ(f.WriteAndWait(), QStringLiteral("WriteError"));
    ASSERT_EQ(error.count(), 1);
    EXPECT_NE(error[0][1].toInt(), 0);

    // Erasing makes it a blank disc again.
    ASSERT_TRUE(f.writer->EraseDisc(true));
    EXPECT_EQ(f.WaitForEnd(), QStringLiteral("EraseComplete"));
    EXPECT_EQ(f.writer->DiscStatus(), 0);
    EXPECT_EQ(f.writer->LastSessionState(), 0);
    EXPECT_EQ(f.writer->SessionCount(), 0);
}

TEST(CDWriterRecorder, FullEraseEmptiesTheImageAndTestWriteLeavesItBlank)
{
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    f.writer->setTestWrite(true);
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(f.writer->DiscStatus(), 0);

    f.writer->setTestWrite(false);
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    QSignalSpy started(f.writer.get(), &CDWriterXP::EraseStarted);
    ASSERT_TRUE(f.writer->EraseDisc(false));
    EXPECT_EQ(f.WaitForEnd(), QStringLiteral("EraseComplete"));
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(QFileInfo(f.image).size(), 0);
    EXPECT_EQ(f.writer->DiscStatus(), 0);
}

TEST(CDWriterRecorder, CancelDuringAWriteKeepsTheSessionsBefore)
{
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete"));
    f.writer->ClearImage();

    MakeFile(f.dir.file(QStringLiteral("big.bin")), 300 * 1024 * 1024);
    f.writer->AddFile(QStringLiteral("/big.bin"), f.dir.file(QStringLiteral("big.bin")));
    f.writer->setCacheImage(false);
    QObject::connect(f.writer.get(), &CDWriterXP::WriteProgress, f.writer.get(), [&] { f.writer->AbortWrite(); });
    ASSERT_TRUE(f.writer->StartWrite());
    EXPECT_FALSE(f.writer->StartWrite());
    EXPECT_FALSE(f.writer->AddFile(QStringLiteral("/other"), f.dir.file(QStringLiteral("a.txt"))));
    EXPECT_EQ(f.WaitForEnd(), QStringLiteral("WriteCancelled"));
    EXPECT_EQ(f.writer->SessionCount(), 1);
    EXPECT_EQ(SessionsOnImage(f.image), 1);
    const QString out = f.dir.file(QStringLiteral("out"));
    ASSERT_TRUE(ExtractImage(f.image, out));
    EXPECT_EQ(Read(out + QStringLiteral("/a.txt")), Read(f.dir.file(QStringLiteral("a.txt"))));
}

TEST(CDWriterRecorder, AnIsoFileGoesOntoABlankDiscOnly)
{
    RecorderFixture f;
    MakeFile(f.dir.file(QStringLiteral("a.txt")), 3000);
    f.writer->AddFile(QStringLiteral("/a.txt"), f.dir.file(QStringLiteral("a.txt")));
    const QString iso = f.dir.file(QStringLiteral("made.iso"));
    ASSERT_TRUE(f.writer->CreateIsoFile(iso));
    Write(f.dir.file(QStringLiteral("not.iso")), QByteArray(40000, 'x'));
    EXPECT_FALSE(f.writer->WriteIsoFile(f.dir.file(QStringLiteral("not.iso"))));

    ASSERT_TRUE(f.writer->WriteIsoFile(iso));
    ASSERT_EQ(f.WaitForEnd(), QStringLiteral("WriteComplete")) << f.lastError.toStdString();
    EXPECT_EQ(f.writer->DiscStatus(), 1);
    EXPECT_EQ(Read(f.image).left(QFileInfo(iso).size()), Read(iso));
    EXPECT_FALSE(f.writer->WriteIsoFile(iso));

    // The disc written from the file takes a further session of the image.
    ASSERT_TRUE(f.writer->ImportSession(true));
    MakeFile(f.dir.file(QStringLiteral("b.txt")), 700, 'b');
    f.writer->AddFile(QStringLiteral("/b.txt"), f.dir.file(QStringLiteral("b.txt")));
    ASSERT_EQ(f.WriteAndWait(), QStringLiteral("WriteComplete")) << f.lastError.toStdString();
    const QString out = f.dir.file(QStringLiteral("out"));
    ASSERT_TRUE(ExtractImage(f.image, out));
    EXPECT_EQ(Read(out + QStringLiteral("/a.txt")), Read(f.dir.file(QStringLiteral("a.txt"))));
    EXPECT_EQ(Read(out + QStringLiteral("/b.txt")), Read(f.dir.file(QStringLiteral("b.txt"))));
}

namespace {

// The threads of this process, by their ids.
QStringList Threads() { return QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot); }

} // namespace

// Run only as the child of the test below: writes a data or an audio disc to the recorder, cancels
// the write at the point named (or ends the process in the middle of it), destroys the writer and
// ends the process. It prints the write's last event, and fails when a thread that the write
// started still runs once its last event has come.
TEST(CDWriterChild, CancelsAWriteAndEnds)
{
    const QStringList argument = TestChildArgument().split(QLatin1Char('|'));
    if (argument.size() != 3) GTEST_SKIP() << "run by CDWriterRecorder.ACancelledWriteLetsTheProgramEndCleanly";
    const QString kind = argument[0];
    const QString point = argument[1];
    const QString source = argument[2];
    QString end;
    QStringList left;
    {
        RecorderFixture f;
        CDWriterXP* writer = f.writer.get();
        const QStringList before = Threads();
        const auto cancel = [writer] { writer->AbortWrite(); };
        if (kind == QLatin1String("data")) {
            ASSERT_TRUE(writer->AddFile(QStringLiteral("/big.bin"), source));
            writer->setCacheImage(false);
            // At 48x the recorder writes 16 MB, then waits for the drive's speed to catch up.
            writer->SetSpeed(48);
            if (point == QLatin1String("early")) QObject::connect(writer, &CDWriterXP::CreatingDirectories, cancel);
            if (point == QLatin1String("closing")) QObject::connect(writer, &CDWriterXP::ClosingSession, cancel);
        } else {
            ASSERT_TRUE(writer->AddTrack(source, 1));
            writer->setWriteType(0);
            // Without caching, the track is decoded while it is written.
            writer->setCacheFiles(point == QLatin1String("early"));
            if (point == QLatin1String("early")) QObject::connect(writer, &CDWriterXP::CachingStarted, cancel);
            if (point == QLatin1String("closing")) QObject::connect(writer, &CDWriterXP::ClosingDisc, cancel);
        }
        if (point == QLatin1String("mid") || point == QLatin1String("exit")) {
            QObject::connect(writer, &CDWriterXP::WriteProgress, [writer, point](int, qint64 written, int) {
                if (written == 0) return;
                if (point == QLatin1String("exit")) std::exit(0);
                writer->AbortWrite();
            });
        }
        ASSERT_TRUE(writer->StartWrite());
        end = f.WaitForEnd();
        for (const QString& thread : Threads())
            if (!before.contains(thread)) left << Read(QStringLiteral("/proc/self/task/%1/comm").arg(thread)).trimmed();
    }
    std::fputs(end.toUtf8().append('\n').constData(), stdout);
    if (!left.isEmpty()) {
        std::fputs(("threads still running after the write's end: " + left.join(QLatin1Char(' ')) + '\n').toUtf8().constData(), stdout);
        std::exit(4);
    }
    std::exit(end == QLatin1String("WriteCancelled") || end == QLatin1String("WriteComplete") ? 0 : 3);
}

// The recording library runs a write on threads of its own, some of which outlive what it reports
// of the write; the process must not end while one runs. Each case is a process of its own that a
// user ends after cancelling a write at one point of it, or in the middle of a write.
TEST(CDWriterRecorder, ACancelledWriteLetsTheProgramEndCleanly)
{
    TempDir dir;
    // A file of zeros that takes no room on the disk.
    const QString data = dir.file(QStringLiteral("big.bin"));
    {
        QFile file(data);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(20 << 20));
    }
    const QString mp3 = dir.file(QStringLiteral("tone.mp3"));
    RunTool(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=440:duration=30:sample_rate=44100",
        "-ac", "2", "-b:a", "128k", mp3});
    ASSERT_TRUE(QFileInfo::exists(mp3));

    const std::vector<std::pair<QString, QString>> cases {{"data", "early"}, {"data", "mid"}, {"data", "closing"},
        {"data", "exit"}, {"audio", "early"}, {"audio", "mid"}, {"audio", "closing"}};
    constexpr int kRounds = 8;
    constexpr std::size_t kAtOnce = 7;
    std::vector<QString> queue;
    for (int round = 0; round < kRounds; ++round)
        for (const auto& [kind, point] : cases)
            queue.push_back(kind + QLatin1Char('|') + point + QLatin1Char('|') + (kind == QLatin1String("data") ? data : mp3));

    struct Child {
        QString name;
        std::unique_ptr<QProcess> process;
        QDeadlineTimer hang;
    };
    std::vector<Child> running;
    std::map<QString, int> cancelled;
    // A child that ends in the middle of a write leaves its files behind: they go with this folder.
    const QByteArray temp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    const auto restore = qScopeGuard([&] {
        if (temp.isNull()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", temp);
    });
    while (!queue.empty() || !running.empty()) {
        while (!queue.empty() && running.size() < kAtOnce) {
            running.push_back({queue.back().section(QLatin1Char('|'), 0, 1),
                StartTestChild(QStringLiteral("CDWriterChild.CancelsAWriteAndEnds"), queue.back()), QDeadlineTimer(300000)});
            queue.pop_back();
        }
        for (auto child = running.begin(); child != running.end();) {
            if (!child->process->waitForFinished(10)) {
                ASSERT_FALSE(child->hang.hasExpired()) << child->name.toStdString() << ": the process did not end";
                ++child;
                continue;
            }
            const QString output = QString::fromUtf8(child->process->readAllStandardOutput());
            const bool normal = child->process->exitStatus() == QProcess::NormalExit;
            EXPECT_TRUE(normal && child->process->exitCode() == 0)
                << child->name.toStdString() << ": the process ended with " << (normal ? "status " : "a signal ")
                << child->process->exitCode() << "\n" << output.right(2000).toStdString()
                << child->process->readAllStandardError().right(2000).toStdString();
            if (output.contains(QLatin1String("WriteCancelled"))) ++cancelled[child->name];
            child = running.erase(child);
        }
    }
    // The write of the middle of the data disc lasts seconds at its speed: cancelled, not completed.
    EXPECT_GT(cancelled[QStringLiteral("data|mid")], 0);
}
