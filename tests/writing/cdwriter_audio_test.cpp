// Audio discs composed from MP3 and WAV files, written to the disc-image recorder and read back as
// an audio CD; what a system recorder is given, and how its progress is reported.
#include "components/cdwriter/AudioDecoder.h"
#include "components/cdwriter/AudioWrite.h"
#include "components/cdwriter/BurnWatch.h"
#include "components/cdwriter/Drives.h"
#include "components/cdwriter/JobThread.h"
#include "platform/mci/CdAudioDevice.h"
#include "platform/mci/CdDrive.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/TestFiles.h"
#include "tests/writing/WriterFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/statvfs.h>

namespace {

// A tone made with sox: WAV at CD format (or another rate), or MP3 through ffmpeg.
QString MakeTone(const QString& folder, const QString& name, double seconds, int hz, int rate = 44100)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (name.endsWith(QStringLiteral(".mp3"))) {
        RunTool(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i",
            QStringLiteral("sine=frequency=%1:duration=%2:sample_rate=44100").arg(hz).arg(seconds), "-ac", "2", "-b:a", "192k", path});
    } else {
        RunTool(QStringLiteral("sox"), {"-n", "-r", QString::number(rate), "-b", "16", "-c", "2", path, "synth",
            QString::number(seconds), "sine", QString::number(hz), "vol", "0.3"});
    }
    return QFileInfo::exists(path) ? path : QString();
}

// A 16-bit stereo PCM WAV file of silence at `rate`, whose data holds `bytes` bytes (four to a
// frame), as its header says.
QByteArray SilentWavBytes(std::uint32_t rate, std::uint32_t bytes)
{
    QByteArray wav;
    const auto put = [&wav](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            wav.append(char(value >> (8 * i)));
    };
    wav.append("RIFF");
    put(36 + bytes, 4);
    wav.append("WAVEfmt ");
    put(16, 4);
    put(1, 2); // PCM
    put(2, 2);
    put(rate, 4);
    put(rate * 4, 4);
    put(4, 2);
    put(16, 2);
    wav.append("data");
    put(bytes, 4);
    wav.append(QByteArray(qsizetype(bytes), '\0'));
    return wav;
}

QByteArray SilentWav(std::uint32_t rate, std::uint32_t frames) { return SilentWavBytes(rate, frames * 4); }

class AudioDiscTest : public ::testing::Test, public RecorderFixture {
protected:
    // The sectors the written image gives each track, read through the CD layer.
    std::vector<int> TrackSectors(const QString& cue)
    {
        const mci::CdDrive drive(cue);
        const auto toc = drive.ReadToc();
        std::vector<int> sectors;
        if (!toc) return sectors;
        for (int t = toc->firstTrack; t <= toc->LastTrack(); ++t)
            sectors.push_back(toc->TrackEnd(t) - toc->TrackStart(t));
        return sectors;
    }
};

} // namespace

TEST_F(AudioDiscTest, ADiscOfMp3AndWavTracksReadsBackAsAnAudioCd)
{
    const QString wav = MakeTone(dir.path(), QStringLiteral("first tone.wav"), 2.0, 440);
    const QString mp3 = MakeTone(dir.path(), QStringLiteral("second.mp3"), 3.0, 660);
    const QString other = MakeTone(dir.path(), QStringLiteral("Ünïcode 22k.wav"), 1.5, 330, 22050);
    ASSERT_FALSE(wav.isEmpty() || mp3.isEmpty() || other.isEmpty());

    // Positions: the MP3 goes first, the 22 kHz file between.
    ASSERT_TRUE(writer->AddTrack(wav, 1));
    ASSERT_TRUE(writer->AddTrack(mp3, 1));
    ASSERT_TRUE(writer->AddTrack(other, 2));
    EXPECT_EQ(writer->TrackCount(), 3);
    QSignalSpy listed(writer.get(), &CDWriterXP::TrackEnumerated);
    writer->ListTracks();
    ASSERT_EQ(listed.size(), 3);
    EXPECT_EQ(listed[0][0].toString(), mp3);
    EXPECT_EQ(listed[1][1].toString(), QStringLiteral("Ünïcode 22k.wav"));
    EXPECT_EQ(listed[2][2].toLongLong(), 150); // two seconds of sectors
    EXPECT_EQ(listed[2][4].toInt(), 3);
    EXPECT_EQ(writer->TotalBlocks(), listed[0][2].toLongLong() + 113 + 150);
    EXPECT_EQ(writer->SizeToTime(writer->TotalBlocks()), QStringLiteral("0:06"));

    // A file that is not audio, and one of another kind, are refused.
    Write(dir.file(QStringLiteral("fake.mp3")), "not an mp3 at all");
    EXPECT_FALSE(writer->AddTrack(dir.file(QStringLiteral("fake.mp3")), 1));
    EXPECT_FALSE(writer->AddTrack(dir.file(QStringLiteral("notes.ogg")), 1));

    ASSERT_EQ(writer->DiscStatus(), 0);
    writer->setWriteType(0);
    QSignalSpy caching(writer.get(), &CDWriterXP::CachingStarted);
    QSignalSpy preparing(writer.get(), &CDWriterXP::PreparingTrack);
    ASSERT_TRUE(writer->StartWrite());
    ASSERT_EQ(WaitForEnd(), QStringLiteral("WriteComplete")) << lastError.toStdString();
    EXPECT_EQ(caching.size(), 3);
    ASSERT_EQ(preparing.size(), 3);
    EXPECT_EQ(preparing[2][0].toInt(), 3);
    EXPECT_EQ(writer->DiscStatus(), 2); // an audio disc is closed for good

    const QString cue = image + QStringLiteral(".cue");
    const std::vector<int> sectors = TrackSectors(cue);
    ASSERT_EQ(sectors.size(), 3u);
    EXPECT_NEAR(sectors[0], 225, 1);
    EXPECT_NEAR(sectors[1], 113, 1);
    EXPECT_EQ(sectors[2], 150);

    // The WAV track's samples are on the disc as they are in the file.
    const QByteArray samples = Read(wav).mid(44);
    const QByteArray disc = Read(image).mid((sectors[0] + sectors[1]) * 2352, samples.size());
    EXPECT_TRUE(disc == samples);

    // A CD player plays the written disc.
    qputenv("TESSEL_CDROM", cue.toLocal8Bit());
    mci::CdAudioDevice cd;
    QString reply;
    cd.Command({QStringLiteral("set"), QStringLiteral("time"), QStringLiteral("format"), QStringLiteral("tmsf")}, reply);
    ASSERT_EQ(cd.Command({QStringLiteral("play"), QStringLiteral("from"), QStringLiteral("2")}, reply), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        cd.Command({QStringLiteral("status"), QStringLiteral("position")}, reply);
        return reply >= QStringLiteral("02:00:00:30");
    }, 8000)) << reply.toStdString();
    cd.Command({QStringLiteral("stop")}, reply);
}

TEST_F(AudioDiscTest, AnMp3WhoseChannelsChangeIsOneTrackAndWavsWithoutUsableSoundAreRefused)
{
    // Two seconds of stereo (a different tone on each side) and one of mono, made with lame and
    // joined in both orders.
    const QString stereoWav = dir.file(QStringLiteral("stereo.wav"));
    const QString monoWav = dir.file(QStringLiteral("mono.wav"));
    RunTool(QStringLiteral("sox"),
        {"-n", "-r", "44100", "-b", "16", "-c", "2", stereoWav, "synth", "2", "sine", "440", "sine", "660", "vol",
            "0.3"});
    RunTool(QStringLiteral("sox"),
        {"-n", "-r", "44100", "-b", "16", "-c", "1", monoWav, "synth", "1", "sine", "880", "vol", "0.3"});
    const QString stereo = dir.file(QStringLiteral("stereo.mp3"));
    const QString mono = dir.file(QStringLiteral("mono.mp3"));
    RunTool(QStringLiteral("lame"), {"--silent", "-b", "128", stereoWav, stereo});
    RunTool(QStringLiteral("lame"), {"--silent", "-b", "64", "-m", "m", monoWav, mono});
    ASSERT_TRUE(QFileInfo::exists(stereo) && QFileInfo::exists(mono));
    const QString stereoFirst = dir.file(QStringLiteral("stereo then mono.mp3"));
    const QString monoFirst = dir.file(QStringLiteral("mono then stereo.mp3"));
    Write(stereoFirst, Read(stereo) + Read(mono));
    Write(monoFirst, Read(mono) + Read(stereo));
    ASSERT_TRUE(writer->AddTrack(stereoFirst, 1));
    ASSERT_TRUE(writer->AddTrack(monoFirst, 2));

    // A header claiming a billion samples a second, sound shorter than one CD frame, and a CD-audio
    // header whose data holds three bytes: less than one whole frame.
    const QString huge = dir.file(QStringLiteral("huge rate.wav"));
    const QString instant = dir.file(QStringLiteral("instant.wav"));
    const QString partFrame = dir.file(QStringLiteral("three bytes.wav"));
    Write(huge, SilentWav(1000000000, 2205));
    Write(instant, SilentWav(96000, 1));
    Write(partFrame, SilentWavBytes(44100, 3));
    EXPECT_FALSE(writer->AddTrack(huge, 1));
    EXPECT_FALSE(writer->AddTrack(instant, 1));
    EXPECT_FALSE(writer->AddTrack(partFrame, 1));
    EXPECT_EQ(writer->TrackCount(), 2);

    writer->setWriteType(0);
    ASSERT_TRUE(writer->StartWrite());
    ASSERT_EQ(WaitForEnd(), QStringLiteral("WriteComplete")) << lastError.toStdString();
    const std::vector<int> sectors = TrackSectors(image + QStringLiteral(".cue"));
    ASSERT_EQ(sectors.size(), 2u);
    // Three seconds, and the padding the second part brings along (its encoder's delay and
    // header frame are not dropped in the middle of a file).
    for (int length : sectors) {
        EXPECT_GE(length, 225);
        EXPECT_LE(length, 235);
    }

    // Whether the two sides of the disc's sound are the same around a point, in sectors from the
    // start of the disc: the stereo part's are not, the mono part's are.
    const QByteArray disc = Read(image);
    const auto sidesEqual = [&](int sector) {
        const QByteArray part = disc.mid(qsizetype(sector) * 2352, 2352 * 10);
        const auto* samples = reinterpret_cast<const std::int16_t*>(part.constData());
        int differ = 0;
        for (qsizetype i = 0; i + 1 < part.size() / 2; i += 2)
            if (std::abs(samples[i] - samples[i + 1]) > 64) ++differ;
        return differ == 0;
    };
    EXPECT_FALSE(sidesEqual(75));
    EXPECT_TRUE(sidesEqual(180));
    EXPECT_TRUE(sidesEqual(sectors[0] + 30));
    EXPECT_FALSE(sidesEqual(sectors[0] + 150));
}

TEST_F(AudioDiscTest, AWriteNeedsAnEmptyDiscAndCanBeCancelled)
{
    const QString mp3 = MakeTone(dir.path(), QStringLiteral("long.mp3"), 60.0, 440);
    ASSERT_FALSE(mp3.isEmpty());
    ASSERT_TRUE(writer->AddTrack(mp3, 1));
    writer->setWriteType(0);

    // Cancel as the write starts, while a minute of MP3 is being decoded for the cache: nothing
    // reaches the disc. (A cancel sent from the handler of a caching event could come after the
    // whole write on a busy machine, as the write does not wait for the window.)
    ASSERT_TRUE(writer->StartWrite());
    writer->AbortWrite();
    EXPECT_EQ(WaitForEnd(), QStringLiteral("WriteCancelled"));
    EXPECT_EQ(writer->DiscStatus(), 0);
    EXPECT_FALSE(QFileInfo::exists(image + QStringLiteral(".cue")));

    // A test write goes through without touching the disc.
    writer->setTestWrite(true);
    writer->setCacheFiles(false);
    ASSERT_TRUE(writer->StartWrite());
    EXPECT_EQ(WaitForEnd(), QStringLiteral("WriteComplete"));
    EXPECT_EQ(writer->DiscStatus(), 0);

    // Written once, the disc is no longer empty: the next write is refused by the component.
    writer->setTestWrite(false);
    ASSERT_TRUE(writer->StartWrite());
    EXPECT_EQ(WaitForEnd(), QStringLiteral("WriteComplete"));
    ASSERT_TRUE(writer->StartWrite());
    EXPECT_EQ(WaitForEnd(), QStringLiteral("WriteError"));
}

TEST_F(AudioDiscTest, AWriteThatDoesNotFitKeepsTheAudioAndItsCueSheetTogether)
{
    // The recorder's folder is a small file system of its own.
    ScratchMount disk(dir.path(), "size=1m");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    TempDir sources;
    const QString first = MakeTone(sources.path(), QStringLiteral("first.wav"), 1.0, 440);
    const QString second = MakeTone(sources.path(), QStringLiteral("second.wav"), 2.0, 660);
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    writer->setWriteType(0);
    ASSERT_TRUE(writer->AddTrack(first, 1));
    ASSERT_TRUE(writer->StartWrite());
    ASSERT_EQ(WaitForEnd(), QStringLiteral("WriteComplete")) << lastError.toStdString();
    // Erased, the disc is blank again; the old disc's cue sheet stays beside it.
    ASSERT_TRUE(writer->EraseDisc(false));
    ASSERT_EQ(WaitForEnd(), QStringLiteral("EraseComplete"));
    const QString cue = image + QStringLiteral(".cue");
    const QByteArray oldAudio = Read(image);
    const QByteArray oldCue = Read(cue);
    ASSERT_FALSE(oldCue.isEmpty());

    // Room for the two seconds of the new disc's audio, but not for its cue sheet as well.
    writer->ClearTracks();
    ASSERT_TRUE(writer->AddTrack(second, 1));
    struct statvfs space {};
    ASSERT_EQ(::statvfs(dir.path().toLocal8Bit().constData(), &space), 0);
    const qint64 audioBlocks = (150 * 2352 + qint64(space.f_bsize) - 1) / qint64(space.f_bsize);
    ASSERT_GT(qint64(space.f_bavail), audioBlocks);
    MakeFile(dir.file(QStringLiteral("filler")), (qint64(space.f_bavail) - audioBlocks) * qint64(space.f_bsize));

    ASSERT_TRUE(writer->StartWrite());
    EXPECT_EQ(WaitForEnd(), QStringLiteral("WriteError"));
    EXPECT_TRUE(Read(image) == oldAudio) << Read(image).size() << " bytes of audio";
    EXPECT_TRUE(Read(cue) == oldCue) << Read(cue).toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
        (QStringList {QStringLiteral("filler"), QStringLiteral("recorder.iso"), QStringLiteral("recorder.iso.cue")}))
        << "no temporary file is left behind";
}

TEST_F(AudioDiscTest, ASystemRecorderIsGivenTheSamplesOfAWavAsTheyAre)
{
    const QString wav = MakeTone(dir.path(), QStringLiteral("tone.wav"), 1.5, 440);
    ASSERT_FALSE(wav.isEmpty());
    // The track as the write caches it: the file decoded to CD audio.
    const QString cached = dir.file(QStringLiteral("track1.raw"));
    {
        cdwriter::AudioDecoder decoder;
        ASSERT_TRUE(decoder.Open(wav));
        QFile out(cached);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        std::vector<std::int16_t> samples(2 * 4096);
        while (const std::size_t frames = decoder.Read(samples.data(), 4096))
            out.write(reinterpret_cast<const char*>(samples.data()), qint64(frames) * 4);
    }
    const QByteArray samples = Read(wav).mid(44);
    ASSERT_EQ(samples.size(), 66150 * 4);

    const cdwriter::AudioBurnDisc disc({cached});
    ASSERT_TRUE(disc.Valid());
    ASSERT_EQ(disc.TrackCount(), 1);
    EXPECT_EQ(burn_track_get_sectors(disc.Track(0)), (samples.size() + 2351) / 2352);
    // The library writes what it reads as it was asked to: plain audio, which libburn.h's BURN_AUDIO
    // takes in little-endian byte order, with no byte swap of its own.
    const cdwriter::TrackDefinition& defined = disc.Definition(0);
    EXPECT_EQ(defined.mode, BURN_AUDIO);
    EXPECT_EQ(burn_track_get_mode(disc.Track(0)), defined.mode);
    EXPECT_FALSE(defined.swapBytes);
    // What the recording library reads for the track: the WAV's little-endian samples, unswapped.
    burn::burn_source* source = disc.Source(0);
    QByteArray delivered;
    std::vector<unsigned char> sector(2352);
    for (;;) {
        const int got = source->read_xt ? source->read_xt(source, sector.data(), int(sector.size()))
                                        : source->read(source, sector.data(), int(sector.size()));
        if (got <= 0) break;
        delivered.append(reinterpret_cast<const char*>(sector.data()), got);
    }
    EXPECT_TRUE(delivered.left(samples.size()) == samples);

    // libburn takes the disc as it is set up, but audio only for a CD in a real recorder: its
    // "stdio:" drive refuses it for that reason alone.
    cdwriter::Device file;
    file.imageRecorder = true;
    file.imageFile = dir.file(QStringLiteral("probe.iso"));
    file.address = "stdio:" + file.imageFile.toStdString();
    const auto held = cdwriter::HeldDrive::Acquire(file);
    ASSERT_TRUE(held);
    burn_write_opts* options = burn_write_opts_new(held->Drive());
    burn_write_opts_set_write_type(options, BURN_WRITE_SAO, BURN_BLOCK_SAO);
    std::vector<char> reasons(BURN_REASONS_LEN);
    EXPECT_EQ(burn_precheck_write(options, disc.Disc(), reasons.data(), 0), 0);
    EXPECT_EQ(QString::fromLatin1(reasons.data()).trimmed(), QStringLiteral("audio track prohibited by non-CD,"));
    burn_write_opts_free(options);
}

TEST(BurnWatch, EachTrackTheLibraryIsOnIsReportedWithTheBuffersItGives)
{
    CDWriterXP writer;
    QStringList events;
    QObject::connect(&writer, &CDWriterXP::PreparingTrack, [&](int t, qint64 size) { events << QStringLiteral("prepare %1 %2").arg(t).arg(size); });
    QObject::connect(&writer, &CDWriterXP::WriteProgress,
        [&](int t, qint64 written, int buffer) { events << QStringLiteral("write %1 %2 %3").arg(t).arg(written).arg(buffer); });
    QObject::connect(&writer, &CDWriterXP::ReadBufferLevel, [&](int level) { events << QStringLiteral("read %1").arg(level); });
    QObject::connect(&writer, &CDWriterXP::ClosingTrack, [&](int t) { events << QStringLiteral("close track %1").arg(t); });
    QObject::connect(&writer, &CDWriterXP::ClosingDisc, [&] { events << QStringLiteral("close disc"); });

    // What libburn reports of a three-track audio disc written at once: the lead-in, each track
    // (counted from 0) from its first sector, then the lead-out; the drive's buffer fills less
    // on each track.
    struct Step {
        burn_drive_status status;
        int track;
        int sector;
    };
    const std::vector<Step> steps {{BURN_DRIVE_SPAWNING, 0, 0}, {BURN_DRIVE_WRITING_LEADIN, 0, 0}, {BURN_DRIVE_WRITING, 0, 40},
        {BURN_DRIVE_WRITING, 0, 75}, {BURN_DRIVE_WRITING, 1, 0}, {BURN_DRIVE_WRITING, 1, 60}, {BURN_DRIVE_WRITING, 2, 10},
        {BURN_DRIVE_WRITING_LEADOUT, 2, 150}, {BURN_DRIVE_IDLE, 2, 150}};
    std::size_t next = 0;
    cdwriter::BurnSource source;
    source.status = [&](burn_progress& progress) {
        const Step& step = steps[std::min(next++, steps.size() - 1)];
        progress = {};
        progress.tracks = 3;
        progress.track = step.track;
        progress.sector = step.sector;
        progress.buffer_capacity = 1000;
        progress.buffer_available = 250 + 100 * unsigned(step.track);
        return step.status;
    };
    source.wroteWell = [] { return true; };
    source.cancel = [] {};
    const cdwriter::BurnTracks tracks {{75 * 2352, 100 * 2352, 150 * 2352}, 2352};

    cdwriter::JobThread job(&writer);
    cdwriter::BurnEnd end = cdwriter::BurnEnd::Failed;
    ASSERT_TRUE(job.Start([&](cdwriter::JobThread& running) -> std::function<void()> {
        end = cdwriter::WatchBurn(running, writer, source, tracks, true, [](int track) { return 40 + track; });
        return {};
    }));
    ASSERT_TRUE(WaitFor([&] { return !job.Running(); }));
    EXPECT_EQ(end, cdwriter::BurnEnd::Done);
    EXPECT_EQ(events, QStringList({
        "prepare 1 176400", "write 1 0 75", "read 41", "write 1 94080 75", "read 41", "write 1 176400 75", "read 41",
        "write 1 176400 75", "prepare 2 235200", "write 2 0 65", "read 42", "write 2 141120 65", "read 42",
        "write 2 235200 65", "prepare 3 352800", "write 3 23520 55", "read 43",
        "write 3 352800 55", "close track 3", "close disc",
    })) << events.join(QStringLiteral(" | ")).toStdString();
}
