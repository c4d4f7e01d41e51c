// The three encoders on generated WAV files, checked by decoding what they wrote.
#include "components/encoders/EncodeError.h"
#include "components/encoders/MP3EncoderX.h"
#include "components/encoders/VorbisEncoderX.h"
#include "components/encoders/WMAEncoderX.h"
#include "tests/ripping/EncoderMedia.h"
#include "tests/support/ScratchMount.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestChild.h"
#include "tests/support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

namespace {

struct Status {
    int percent;
    int status;
};

// Runs one encode to its end and returns the statuses it reported; empty when it was refused.
std::vector<Status> Encode(AudioEncoder& encoder, const QString& input, const QString& output)
{
    std::vector<Status> statuses;
    QObject listener;
    QObject::connect(&encoder, &AudioEncoder::EncodeStatus, &listener,
        [&](int percent, int status) { statuses.push_back({percent, status}); });
    if (!encoder.EncodeFile(input, output)) return statuses;
    EXPECT_TRUE(encoder.IsEncoding());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !encoder.IsEncoding(); }, 120000));
    return statuses;
}

// The files in a folder, hidden ones included.
QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

struct EncoderCase {
    const char* name;
    std::function<std::unique_ptr<AudioEncoder>()> make;
    const char* extension;
    const char* codec;
};

const EncoderCase Cases[] = {
    {"MP3", [] { return std::make_unique<MP3EncoderX>(); }, ".mp3", "mp3"},
    {"Vorbis",
        [] {
            auto e = std::make_unique<VorbisEncoderX>();
            e->setNominalBitrate(128);
            return e;
        },
        ".ogg", "vorbis"},
    {"WMA", [] { return std::make_unique<WMAEncoderX>(); }, ".wma", "wmav2"},
};

void PrintTo(const EncoderCase& c, std::ostream* os) { *os << c.name; }

class EachEncoder : public ::testing::TestWithParam<EncoderCase> { };

INSTANTIATE_TEST_SUITE_P(Encoders, EachEncoder, ::testing::ValuesIn(Cases),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace

TEST_P(EachEncoder, WritesTheToneAtItsSettingsAndReportsEachStep)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    const QString output = dir.file(QStringLiteral("tone") + QLatin1String(GetParam().extension));
    media::MakeWav(input, 3.0, 1000);
    auto encoder = GetParam().make();

    const auto statuses = Encode(*encoder, input, output);
    ASSERT_GE(statuses.size(), 3u) << encoder->LastError();
    EXPECT_EQ(statuses.front().status, EncodeStatusCode::Started);
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
    int last = -1;
    for (std::size_t i = 1; i + 1 < statuses.size(); ++i) {
        EXPECT_EQ(statuses[i].status, EncodeStatusCode::Progress);
        EXPECT_GT(statuses[i].percent, last);
        last = statuses[i].percent;
    }
    EXPECT_EQ(last, 100);

    const QJsonObject probe = media::Probe(output);
    EXPECT_EQ(probe.value(QStringLiteral("codec_name")).toString(), QLatin1String(GetParam().codec));
    EXPECT_EQ(probe.value(QStringLiteral("sample_rate")).toInt(), 44100);
    EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 2);
    EXPECT_NEAR(probe.value(QStringLiteral("duration")).toDouble(), 3.0, 0.1);
    EXPECT_NEAR(probe.value(QStringLiteral("bit_rate")).toDouble(), 128000, 12800);
    EXPECT_NEAR(media::ToneFrequency(output), 1000, 5);
    // Only the input and the finished file: nothing half-written is left beside them.
    EXPECT_EQ(FilesIn(dir.path()).size(), 2);
}

TEST_P(EachEncoder, RefusesInputItCannotEncodeAndOutputItCannotWrite)
{
    TempDir dir;
    const QString good = dir.file(QStringLiteral("good.wav"));
    media::MakeWav(good, 0.5);
    const struct {
        const char* name;
        int rate;
        int channels;
        const char* codec;
    } wrongFormats[] = {
        {"48k.wav", 48000, 2, "pcm_s16le"},
        {"mono.wav", 44100, 1, "pcm_s16le"},
        {"8bit.wav", 44100, 2, "pcm_u8"},
        {"float.wav", 44100, 2, "pcm_f32le"},
    };
    auto encoder = GetParam().make();
    const QString output = dir.file(QStringLiteral("out") + QLatin1String(GetParam().extension));
    for (const auto& wrong : wrongFormats) {
        const QString input = dir.file(QLatin1String(wrong.name));
        media::MakeWav(input, 0.5, 1000, wrong.rate, wrong.channels, QLatin1String(wrong.codec));
        EXPECT_TRUE(Encode(*encoder, input, output).empty()) << wrong.name;
        EXPECT_EQ(encoder->LastError(), EncodeError::InputFormat) << wrong.name;
    }
    // Headers that name CD audio but give another frame size or data rate: reading them as they
    // say would overrun the encoder's buffer or encode stale samples.
    const QByteArray sound = Read(good);
    const qsizetype fmt = sound.indexOf("fmt ");
    ASSERT_GT(fmt, 0);
    const struct {
        const char* name;
        int offset; // from the start of the "fmt " chunk's fields
        std::uint32_t value;
        int bytes;
    } damaged[] = {
        {"align8.wav", 12, 8, 2},
        {"align65535.wav", 12, 65535, 2},
        {"align2.wav", 12, 2, 2},
        {"rate.wav", 8, 88200, 4},
    };
    for (const auto& d : damaged) {
        QByteArray bytes = sound;
        for (int i = 0; i < d.bytes; ++i)
            bytes[fmt + 8 + d.offset + i] = char(d.value >> (8 * i));
        const QString input = dir.file(QLatin1String(d.name));
        Write(input, bytes);
        EXPECT_TRUE(Encode(*encoder, input, output).empty()) << d.name;
        EXPECT_EQ(encoder->LastError(), EncodeError::InputFormat) << d.name;
    }
    const QString text = dir.file(QStringLiteral("notes.wav"));
    Write(text, "not a sound at all");
    EXPECT_TRUE(Encode(*encoder, text, output).empty());
    EXPECT_EQ(encoder->LastError(), EncodeError::InputFormat);

    EXPECT_TRUE(Encode(*encoder, dir.file(QStringLiteral("missing.wav")), output).empty());
    EXPECT_EQ(encoder->LastError(), EncodeError::OpenInput);

    EXPECT_TRUE(Encode(*encoder, good, dir.file(QStringLiteral("no/such/folder/out"))).empty());
    EXPECT_EQ(encoder->LastError(), EncodeError::CreateOutput);
    EXPECT_TRUE(Encode(*encoder, good, dir.path()).empty());
    EXPECT_EQ(encoder->LastError(), EncodeError::CreateOutput);
    // Never over its own input.
    const QByteArray before = Read(good);
    EXPECT_TRUE(Encode(*encoder, good, dir.file(QStringLiteral("./good.wav"))).empty());
    EXPECT_EQ(encoder->LastError(), EncodeError::CreateOutput);
    EXPECT_EQ(Read(good), before);

    EXPECT_FALSE(encoder->IsEncoding());
    EXPECT_FALSE(QFileInfo::exists(output));
}

TEST_P(EachEncoder, CancelStopsWithStatusTwoAndLeavesNoFile)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("long.wav"));
    const QString output = dir.file(QStringLiteral("long") + QLatin1String(GetParam().extension));
    media::MakeWav(input, 120.0);
    auto encoder = GetParam().make();
    std::vector<Status> statuses;
    QObject::connect(encoder.get(), &AudioEncoder::EncodeStatus, encoder.get(),
        [&](int percent, int status) { statuses.push_back({percent, status}); });

    // Nothing runs: a cancel does nothing and reports nothing.
    encoder->CancelEncode(true);
    QTest::qWait(50);
    EXPECT_TRUE(statuses.empty());

    ASSERT_TRUE(encoder->EncodeFile(input, output));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !statuses.empty(); }, 60000));
    encoder->CancelEncode(false);
    encoder->CancelEncode(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !encoder->IsEncoding(); }, 60000));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.front().status, EncodeStatusCode::Started);
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Cancelled);
    EXPECT_EQ(std::count_if(statuses.begin(), statuses.end(),
                  [](const Status& s) { return s.status == EncodeStatusCode::Cancelled; }),
        1);
    EXPECT_EQ(FilesIn(dir.path()), QStringList {QStringLiteral("long.wav")});

    // The encoder is ready for the next file.
    const QString shortInput = dir.file(QStringLiteral("short.wav"));
    media::MakeWav(shortInput, 0.5);
    statuses.clear();
    ASSERT_TRUE(encoder->EncodeFile(shortInput, output));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !encoder->IsEncoding(); }, 60000));
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
    EXPECT_TRUE(QFileInfo::exists(output));
}

TEST_P(EachEncoder, AFullDiskIsAnOutputErrorAndLeavesNoFile)
{
    TempDir dir;
    TempDir small;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 60.0);
    ScratchMount disk(small.path(), "size=32k");
    if (!disk.Mounted()) GTEST_SKIP() << "a small file system needs root";
    auto encoder = GetParam().make();
    const auto statuses
        = Encode(*encoder, input, small.file(QStringLiteral("tone") + QLatin1String(GetParam().extension)));
    ASSERT_FALSE(statuses.empty()) << encoder->LastError();
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Failed);
    EXPECT_EQ(encoder->LastError(), EncodeError::CreateOutput);
    EXPECT_TRUE(FilesIn(small.path()).isEmpty());
}

TEST_P(EachEncoder, RipStreamPutsItsFileInPlaceOnlyWhenFinished)
{
    TempDir dir;
    auto encoder = GetParam().make();
    std::vector<std::int16_t> second(44100 * 2);
    for (std::size_t i = 0; i < second.size(); i += 2)
        second[i] = second[i + 1] = static_cast<std::int16_t>(8000 * ((i / 2 / 22) % 2 ? 1 : -1));

    const std::string dropped = dir.file(QStringLiteral("dropped")).toStdString();
    {
        auto stream = encoder->BeginRipStream(dropped, 44100);
        ASSERT_TRUE(stream);
        EXPECT_TRUE(stream->Write(second.data(), 44100));
    }
    EXPECT_TRUE(FilesIn(dir.path()).isEmpty());

    const QString kept = dir.file(QStringLiteral("track01") + QLatin1String(GetParam().extension));
    auto stream = encoder->BeginRipStream(kept.toStdString(), 2 * 44100);
    ASSERT_TRUE(stream);
    EXPECT_TRUE(stream->Write(second.data(), 44100));
    EXPECT_TRUE(stream->Write(second.data(), 44100));
    EXPECT_FALSE(QFileInfo::exists(kept));
    EXPECT_TRUE(stream->Finish());
    stream.reset();
    EXPECT_EQ(FilesIn(dir.path()), QStringList {QFileInfo(kept).fileName()});
    EXPECT_NEAR(media::Probe(kept).value(QStringLiteral("duration")).toDouble(), 2.0, 0.1);

    EXPECT_FALSE(encoder->BeginRipStream(dir.file(QStringLiteral("none/x")).toStdString(), 0));
    EXPECT_EQ(encoder->LastError(), EncodeError::CreateOutput);
}

// Run only as the child of the test below: encodes the WAV file it is given into "out.mp3" beside
// it, and waits to be killed.
TEST(EncoderChild, EncodesUntilKilled)
{
    const QString input = TestChildArgument();
    if (input.isEmpty()) GTEST_SKIP() << "run by the leftover test";
    MP3EncoderX encoder;
    ASSERT_TRUE(encoder.EncodeFile(input, QFileInfo(input).dir().filePath(QStringLiteral("out.mp3"))));
    QTest::qWait(600000);
}

TEST(Encoders, TheNextEncodeIntoAFolderRemovesWhatAKilledOneLeftThere)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("long.wav"));
    media::MakeWav(input, 300.0);
    const auto hidden = [&](const QString& pattern) {
        return QDir(dir.path()).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
    };
    std::unique_ptr<QProcess> child = StartTestChild(QStringLiteral("EncoderChild.EncodesUntilKilled"), input);
    const qint64 pid = child->processId();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !hidden(QStringLiteral(".out.mp3.*.part")).isEmpty(); }, 60000));
    child->kill();
    child->waitForFinished();
    const QString killed = QStringLiteral(".out.mp3.%1.0.part").arg(pid);
    ASSERT_EQ(hidden(QStringLiteral(".out.mp3.*.part")), QStringList {killed});
    // Beside it: the file of a process that still runs, and one of another name.
    const QString running = QStringLiteral(".out.mp3.1.0.part");
    const QString other = QStringLiteral(".other.mp3.%1.0.part").arg(pid);
    Write(dir.file(running), "still being written");
    Write(dir.file(other), "another file's");

    const QString shortInput = dir.file(QStringLiteral("short.wav"));
    media::MakeWav(shortInput, 1.0);
    MP3EncoderX encoder;
    const auto statuses = Encode(encoder, shortInput, dir.file(QStringLiteral("out.mp3")));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
    EXPECT_EQ(hidden(QStringLiteral(".*.part")), (QStringList {other, running}));
    EXPECT_NEAR(
        media::Probe(dir.file(QStringLiteral("out.mp3"))).value(QStringLiteral("duration")).toDouble(), 1.0, 0.1);
}

TEST(Encoders, TwoEncodersRunAtOnce)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 20.0, 440);
    MP3EncoderX mp3;
    WMAEncoderX wma;
    int done = 0;
    for (AudioEncoder* e : {static_cast<AudioEncoder*>(&mp3), static_cast<AudioEncoder*>(&wma)})
        QObject::connect(e, &AudioEncoder::EncodeStatus, e, [&](int, int status) {
            if (status == EncodeStatusCode::Complete) ++done;
        });
    ASSERT_TRUE(mp3.EncodeFile(input, dir.file(QStringLiteral("a.mp3"))));
    ASSERT_TRUE(wma.EncodeFile(input, dir.file(QStringLiteral("a.wma"))));
    EXPECT_TRUE(mp3.IsEncoding() && wma.IsEncoding());
    // A second file on a busy encoder is refused; the running one goes on.
    EXPECT_FALSE(mp3.EncodeFile(input, dir.file(QStringLiteral("b.mp3"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return done == 2; }, 120000));
    EXPECT_NEAR(media::ToneFrequency(dir.file(QStringLiteral("a.mp3"))), 440, 5);
    EXPECT_NEAR(media::ToneFrequency(dir.file(QStringLiteral("a.wma"))), 440, 5);
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("b.mp3"))));
}

TEST(Encoders, Mp3VariableRateFileKnowsItsLength)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 10.0, 2000);
    MP3EncoderX mp3;
    mp3.setVBR(1);
    mp3.setVBRQuality(2);
    mp3.setVBRMinBitrate(130);
    mp3.setVBRMaxBitrate(300);
    // Rates are held as the MP3 rates nearest to them.
    EXPECT_EQ(mp3.VBRMinBitrate(), 128);
    EXPECT_EQ(mp3.VBRMaxBitrate(), 320);
    mp3.setChannelMode(2);
    const auto statuses = Encode(mp3, input, dir.file(QStringLiteral("vbr.mp3")));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
    const QJsonObject probe = media::Probe(dir.file(QStringLiteral("vbr.mp3")));
    EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 1);
    EXPECT_NEAR(probe.value(QStringLiteral("duration")).toDouble(), 10.0, 0.1);
    EXPECT_NEAR(media::ToneFrequency(dir.file(QStringLiteral("vbr.mp3"))), 2000, 10);

    mp3.setVBRMinBitrate(256);
    mp3.setVBRMaxBitrate(64);
    EXPECT_TRUE(Encode(mp3, input, dir.file(QStringLiteral("crossed.mp3"))).empty());
    EXPECT_EQ(mp3.LastError(), EncodeError::InvalidSettings);
}

TEST(Encoders, VorbisRatesTooLowForTheLibraryAreEncodedAtItsLowest)
{
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 2.0, 700);
    // Settings the rate rules let through: a low average, or the default with a low maximum.
    const struct {
        int nominal, minimum, maximum;
    } requests[] = {{32, 0, 0}, {40, 32, 320}, {0, 0, 32}, {0, 0, 40}, {0, 0, 48}};
    for (const auto& r : requests) {
        VorbisEncoderX vorbis;
        vorbis.setNominalBitrate(r.nominal);
        vorbis.setMinBitrate(r.minimum);
        vorbis.setMaxBitrate(r.maximum);
        const QString output = dir.file(QStringLiteral("low%1-%2.ogg").arg(r.nominal).arg(r.maximum));
        const auto statuses = Encode(vorbis, input, output);
        ASSERT_FALSE(statuses.empty()) << r.nominal << "/" << r.maximum << ": " << vorbis.LastError();
        EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
        const QJsonObject probe = media::Probe(output);
        EXPECT_EQ(probe.value(QStringLiteral("sample_rate")).toInt(), 44100);
        EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 2);
        // The stream's nominal rate: the lowest the library encodes CD audio at.
        EXPECT_EQ(probe.value(QStringLiteral("bit_rate")).toDouble(), 45000) << r.nominal << "/" << r.maximum;
        EXPECT_NEAR(media::ToneFrequency(output), 700, 5);
        // What was asked stays in the encoder.
        EXPECT_EQ(vorbis.NominalBitrate(), r.nominal);
        EXPECT_EQ(vorbis.MaxBitrate(), r.maximum);
    }
}

TEST(Encoders, WmaOffersThePublishedFormatsItsCodecWritesWithoutAWord)
{
    WMAEncoderX wma;
    const auto rates = [&](int kbps, bool stereo) {
        std::vector<int> codes;
        for (int code = -1; code <= 7; ++code)
            if (wma.IsFormatSupported(code, kbps, stereo)) codes.push_back(code);
        return codes;
    };
    // Asking is silent: the codec's refusals are answers, not errors for standard error.
    QTemporaryFile log;
    ASSERT_TRUE(log.open());
    const int savedError = ::dup(2);
    ::dup2(log.handle(), 2);
    // Below 24 kb/s the codec writes nothing at all.
    for (int kbps : {5, 6, 8, 10, 12, 16, 20, 22}) {
        EXPECT_FALSE(wma.SupportsStereo(kbps)) << kbps;
        EXPECT_FALSE(wma.SupportsMono(kbps)) << kbps;
    }
    // A high bit rate only at a high sample rate: the defaults, 128 kb/s stereo, start at 44.1 kHz.
    EXPECT_EQ(rates(128, true), (std::vector<int> {5, 6}));
    EXPECT_EQ(rates(160, true), (std::vector<int> {5, 6}));
    EXPECT_EQ(rates(80, true), (std::vector<int> {5}));
    EXPECT_EQ(rates(40, true), (std::vector<int> {4}));
    EXPECT_EQ(rates(32, true), (std::vector<int> {3, 4, 5}));
    EXPECT_EQ(rates(32, false), (std::vector<int> {5}));
    EXPECT_FALSE(wma.SupportsMono(128));
    EXPECT_TRUE(wma.SupportsMono(48));
    EXPECT_FALSE(wma.SupportsMono(64));
    ::dup2(savedError, 2);
    ::close(savedError);
    EXPECT_EQ(Read(log.fileName()).toStdString(), "");

    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 2.0, 500);
    wma.setBitrate(8);
    EXPECT_TRUE(Encode(wma, input, dir.file(QStringLiteral("x.wma"))).empty());
    EXPECT_EQ(wma.LastError(), EncodeError::InvalidSettings);
    wma.setBitrate(128);
    wma.setSampleRate(0);
    EXPECT_TRUE(Encode(wma, input, dir.file(QStringLiteral("x.wma"))).empty());
    EXPECT_EQ(wma.LastError(), EncodeError::InvalidSettings);

    // Another rate and one channel, with rights management asked for (it changes nothing).
    wma.setBitrate(48);
    wma.setSampleRate(5);
    wma.setStereo(false);
    wma.setDRM(true);
    const auto statuses = Encode(wma, input, dir.file(QStringLiteral("mono.wma")));
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back().status, EncodeStatusCode::Complete);
    const QJsonObject probe = media::Probe(dir.file(QStringLiteral("mono.wma")));
    EXPECT_EQ(probe.value(QStringLiteral("sample_rate")).toInt(), 44100);
    EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 1);
    EXPECT_NEAR(probe.value(QStringLiteral("duration")).toDouble(), 2.0, 0.1);
    EXPECT_NEAR(media::ToneFrequency(dir.file(QStringLiteral("mono.wma"))), 500, 5);
}
