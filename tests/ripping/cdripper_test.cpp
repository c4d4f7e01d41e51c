// The CD ripper component on generated disc images: drives, table of contents, extraction to WAV
// and through an encoder, failures and cancel.
#include "components/cdripper/CDRipperX.h"
#include "components/encoders/MP3EncoderX.h"
#include "tests/cdaudio/DiscImage.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

class CDRipperTest : public ::testing::Test {
protected:
    void UseImage(const std::vector<int>& seconds, int dataSeconds = 0)
    {
        cue_ = MakeDiscImage(dir_.path(), QStringLiteral("disc"), seconds, {.dataSeconds = dataSeconds, .binName = {}});
        ASSERT_FALSE(cue_.isEmpty());
        qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
        ripper_ = std::make_unique<CDRipperX>();
        ASSERT_GE(ripper_->DeviceCount(), 1);
        ASSERT_TRUE(ripper_->OpenDevice(0));
    }

    // Runs the queued extraction to its end and returns the status codes it reported.
    std::vector<int> Rip()
    {
        std::vector<int> codes;
        QObject::connect(ripper_.get(), &CDRipperX::RipStatus, ripper_.get(), [&codes](int code, int) {
            if (codes.empty() || codes.back() != code) codes.push_back(code);
        });
        QSignalSpy done(ripper_.get(), &CDRipperX::RipCompleted);
        EXPECT_TRUE(ripper_->StartRip());
        EXPECT_TRUE(done.wait(60000));
        return codes;
    }

    // The image's bytes of a track: what a WAV file of it must hold after its header.
    QByteArray TrackBytes(int track)
    {
        const QByteArray bin = Read(dir_.file(QStringLiteral("disc.bin")));
        return bin.mid(qsizetype(ripper_->TrackStart(track)) * 2352, qsizetype(ripper_->TrackLength(track)) * 2352);
    }

    TempDir dir_;
    QString cue_;
    std::unique_ptr<CDRipperX> ripper_;
};

} // namespace

TEST_F(CDRipperTest, ListsTheImageDriveAndItsTracks)
{
    UseImage({3, 4, 2}, 2);
    EXPECT_EQ(ripper_->DeviceTextA(0), QStringLiteral("disc.cue"));
    EXPECT_EQ(ripper_->DeviceTextB(0), QStringLiteral("Disc"));
    EXPECT_EQ(ripper_->DeviceTextC(0), QStringLiteral("Image"));
    EXPECT_GE(ripper_->MaxSpeed(), 24);
    ASSERT_TRUE(ripper_->DiscPresent());
    EXPECT_EQ(ripper_->TrackCount(), 4);
    EXPECT_FALSE(ripper_->IsAudioTrack(1));
    EXPECT_TRUE(ripper_->IsAudioTrack(2));
    EXPECT_EQ(ripper_->TrackStart(3), 5 * 75);
    EXPECT_EQ(ripper_->TrackLength(3), 4 * 75);
    EXPECT_EQ(ripper_->FormatTime(ripper_->TrackStart(4) + ripper_->TrackLength(4)), QStringLiteral("00:11"));
    EXPECT_EQ(ripper_->FormatTime(75 * 125), QStringLiteral("02:05"));
    EXPECT_TRUE(ripper_->IsCopyProtected(2)); // the sheet sets no copy-permitted flag
    EXPECT_EQ(ripper_->PlayState(), CDRipperX::Stopped);

    // A data track, an unknown track and an empty name are refused.
    EXPECT_FALSE(ripper_->AddRipTrack(1, dir_.file(QStringLiteral("t1.wav")), 1));
    EXPECT_FALSE(ripper_->AddRipTrack(9, dir_.file(QStringLiteral("t9.wav")), 9));
    EXPECT_FALSE(ripper_->AddRipTrack(2, QString(), 2));
    EXPECT_FALSE(ripper_->StartRip()); // nothing queued

    // The door of an image drive takes the disc out and puts it back.
    ripper_->EjectDisc();
    EXPECT_EQ(ripper_->PlayState(), CDRipperX::NoDisc);
    EXPECT_EQ(ripper_->TrackCount(), 0);
    ripper_->LoadDisc();
    EXPECT_EQ(ripper_->TrackCount(), 4);
}

TEST_F(CDRipperTest, ExtractsTracksToWavFilesHoldingTheDiscsSamples)
{
    UseImage({2, 3, 2}, 2);
    const QString second = dir_.file(QStringLiteral("Track 02 (ñ).wav"));
    const QString fourth = dir_.file(QStringLiteral("Track04.wav"));
    ASSERT_TRUE(ripper_->AddRipTrack(2, second, 2));
    ASSERT_TRUE(ripper_->AddRipTrack(4, fourth, 4));

    QSignalSpy started(ripper_.get(), &CDRipperX::TrackStarted);
    QSignalSpy completed(ripper_.get(), &CDRipperX::TrackCompleted);
    std::vector<int> progress;
    QObject::connect(ripper_.get(), &CDRipperX::RipStatus, ripper_.get(), [&progress](int code, int value) {
        if (code == CDRipperX::Progress) progress.push_back(value);
    });
    const std::vector<int> codes = Rip();
    EXPECT_EQ(codes, std::vector<int> {CDRipperX::Progress});
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[0][0].toString(), second);
    EXPECT_EQ(started[0][1].toInt(), ripper_->TrackStart(2));
    EXPECT_EQ(started[0][2].toInt(), ripper_->TrackStart(2) + ripper_->TrackLength(2));
    EXPECT_EQ(started[1][3].toInt(), 4);
    EXPECT_EQ(completed.size(), 2);
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.begin() + progress.size() / 2));
    EXPECT_EQ(progress.back(), ripper_->TrackStart(4) + ripper_->TrackLength(4));

    for (const auto& [file, track] : {std::pair {second, 2}, std::pair {fourth, 4}}) {
        const QByteArray wav = Read(file);
        ASSERT_EQ(wav.size(), 44 + TrackBytes(track).size()) << file.toStdString();
        EXPECT_TRUE(wav.startsWith("RIFF"));
        EXPECT_EQ(wav.mid(44), TrackBytes(track)) << "track " << track;
    }
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".part")), QStringList());
}

TEST_F(CDRipperTest, ExtractsThroughTheAttachedEncoder)
{
    UseImage({3});
    MP3EncoderX mp3;
    ripper_->SetEncoder(&mp3);
    ripper_->setUseEncoder(true);
    const QString out = dir_.file(QStringLiteral("Track01.mp3"));
    ASSERT_TRUE(ripper_->AddRipTrack(1, out, 1));
    Rip();
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
        QStringLiteral("stream=codec_name:format=duration"), QStringLiteral("-of"), QStringLiteral("default=nw=1"), out});
    ASSERT_TRUE(probe.waitForFinished(20000));
    const QString info = QString::fromUtf8(probe.readAllStandardOutput());
    EXPECT_TRUE(info.contains(QStringLiteral("codec_name=mp3"))) << info.toStdString();
    const double duration = info.section(QStringLiteral("duration="), 1).section(QLatin1Char('\n'), 0, 0).toDouble();
    EXPECT_NEAR(duration, 3.0, 0.1);
}

TEST_F(CDRipperTest, AFileThatCannotBeMadeIsReportedAndTheOthersStillGo)
{
    UseImage({1, 1});
    ASSERT_TRUE(ripper_->AddRipTrack(1, dir_.file(QStringLiteral("no such folder/Track01.wav")), 1));
    ASSERT_TRUE(ripper_->AddRipTrack(2, dir_.file(QStringLiteral("Track02.wav")), 2));
    QSignalSpy completed(ripper_.get(), &CDRipperX::TrackCompleted);
    const std::vector<int> codes = Rip();
    EXPECT_EQ(codes.front(), CDRipperX::CannotCreateFile);
    EXPECT_EQ(completed.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(dir_.file(QStringLiteral("Track02.wav"))));
}

TEST_F(CDRipperTest, CancelEndsTheExtractionAndLeavesTheOldFile)
{
    UseImage({20});
    const QString out = dir_.file(QStringLiteral("Track01.wav"));
    Write(out, "an older rip of this track");
    ASSERT_TRUE(ripper_->AddRipTrack(1, out, 1));
    QSignalSpy done(ripper_.get(), &CDRipperX::RipCompleted);
    std::vector<int> codes;
    QObject::connect(ripper_.get(), &CDRipperX::RipStatus, ripper_.get(), [&codes](int code, int) { codes.push_back(code); });
    ASSERT_TRUE(ripper_->StartRip());
    ripper_->CancelRip();
    ASSERT_TRUE(done.wait(60000));
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), CDRipperX::Cancelled);
    EXPECT_FALSE(ripper_->IsRipping());
    EXPECT_EQ(Read(out), QByteArray("an older rip of this track")); // replaced only by a whole file
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".part")), QStringList());
}

TEST_F(CDRipperTest, AFileThatCannotBeFinishedIsAbandonedWhole)
{
    UseImage({12});
    TempDir small;
    if (::geteuid() != 0 || ::mount("tessel-test", small.path().toLocal8Bit().constData(), "tmpfs", 0, "size=512k") != 0)
        GTEST_SKIP() << "a small file system needs root";
    const QString out = small.file(QStringLiteral("Track01.wav"));
    Write(out, "an older rip of this track");
    ASSERT_TRUE(ripper_->AddRipTrack(1, out, 1));
    const std::vector<int> codes = Rip();
    ::umount(small.path().toLocal8Bit().constData());
    EXPECT_NE(std::find(codes.begin(), codes.end(), int(CDRipperX::CannotWriteFile)), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), int(CDRipperX::FileAborted)), codes.end());
}

TEST_F(CDRipperTest, ReadsOnlyCueSheetsWhoseTracksLieInTheirDataFile)
{
    // A sheet as ripping programs write one: remarks, CD-Text, flags, a pregap, CRLF line ends.
    const QString bin = dir_.file(QStringLiteral("disc.bin"));
    cue_ = dir_.file(QStringLiteral("disc.cue"));
    Write(bin, QByteArray(300 * 2352, '\x22'));
    Write(cue_, "REM GENRE Rock\r\nPERFORMER \"Someone\"\r\nTITLE \"An Album\"\r\nFILE \"disc.bin\" BINARY\r\n"
                "  TRACK 01 AUDIO\r\n    TITLE \"One\"\r\n    FLAGS DCP\r\n    INDEX 01 00:00:00\r\n"
                "  TRACK 02 AUDIO\r\n    INDEX 00 00:01:50\r\n    INDEX 01 00:02:00\r\n");
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    ripper_ = std::make_unique<CDRipperX>();
    ASSERT_TRUE(ripper_->OpenDevice(0));
    ASSERT_EQ(ripper_->TrackCount(), 2);
    EXPECT_EQ(ripper_->TrackStart(2), 150);
    EXPECT_EQ(ripper_->TrackLength(2), 150);
    EXPECT_FALSE(ripper_->IsCopyProtected(1));
    EXPECT_TRUE(ripper_->IsCopyProtected(2));

    // Sheets whose tracks lack a start or lie beyond the data, or are numbered wrongly, are refused
    // when the disc is read: there is nothing to rip, and nothing spins or hangs.
    Write(bin, QByteArray(225 * 2352, '\x22'));
    const QString out = dir_.file(QStringLiteral("Track01.wav"));
    for (const QByteArray& sheet : UntrustworthySheets(QStringLiteral("disc.bin"))) {
        Write(cue_, sheet);
        EXPECT_FALSE(ripper_->DiscPresent()) << sheet.toStdString();
        EXPECT_EQ(ripper_->TrackCount(), 0);
        EXPECT_FALSE(ripper_->AddRipTrack(1, out, 1));
        EXPECT_FALSE(ripper_->StartRip());
    }
    EXPECT_FALSE(QFileInfo::exists(out));
}

TEST_F(CDRipperTest, SectorsTheImageNoLongerHasAreAReadErrorNotSilence)
{
    // Twenty minutes of disc in a sparse data file, which loses all but three seconds while the
    // track is read.
    const QString bin = dir_.file(QStringLiteral("disc.bin"));
    cue_ = dir_.file(QStringLiteral("disc.cue"));
    {
        QFile data(bin);
        ASSERT_TRUE(data.open(QIODevice::WriteOnly));
        ASSERT_TRUE(data.resize(qint64(20) * 60 * 75 * 2352));
    }
    Write(cue_, "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
    qputenv("TESSEL_CDROM", cue_.toLocal8Bit());
    ripper_ = std::make_unique<CDRipperX>();
    ASSERT_TRUE(ripper_->OpenDevice(0));
    const QString out = dir_.file(QStringLiteral("Track01.wav"));
    ASSERT_TRUE(ripper_->AddRipTrack(1, out, 1));

    std::vector<std::pair<int, int>> statuses;
    QObject::connect(ripper_.get(), &CDRipperX::RipStatus, ripper_.get(), [&](int code, int value) {
        if (code == CDRipperX::Progress && statuses.empty()) QFile::resize(bin, 225 * 2352);
        statuses.emplace_back(code, value);
    });
    QSignalSpy completed(ripper_.get(), &CDRipperX::TrackCompleted);
    QSignalSpy done(ripper_.get(), &CDRipperX::RipCompleted);
    ASSERT_TRUE(ripper_->StartRip());
    ASSERT_TRUE(done.wait(60000));

    const auto count = [&](int code) {
        return std::count_if(statuses.begin(), statuses.end(), [code](const auto& s) { return s.first == code; });
    };
    ASSERT_EQ(count(CDRipperX::ReadFailed), 1);
    const auto failed = std::find_if(statuses.begin(), statuses.end(), [](const auto& s) { return s.first == CDRipperX::ReadFailed; });
    EXPECT_GE(failed->second, 225); // the first sector the image lost
    EXPECT_EQ(count(CDRipperX::FileAborted), 1);
    EXPECT_EQ(completed.size(), 0);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Hidden | QDir::Files).filter(QStringLiteral(".part")), QStringList());
}
