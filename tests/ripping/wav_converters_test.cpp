// The three WAV converter windows, driven as a user would, with real encodes.
#include "components/encoders/MP3EncoderX.h"
#include "components/encoders/VorbisEncoderX.h"
#include "components/encoders/WMAEncoderX.h"
#include "ripping/Mp3SettingsControls.h"
#include "ripping/VorbisSettingsControls.h"
#include "ripping/WmaSettingsControls.h"
#include "ripping/frmWavtoMP3.h"
#include "ripping/frmWavtoOgg.h"
#include "ripping/frmWavtoWma.h"
#include "tests/ripping/EncoderMedia.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"

#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Busy = QStringLiteral("A file is currently being encoded...");
const QString NoFiles = QStringLiteral("Please select Input/Output files.");
const QString Complete = QStringLiteral("Encoding Complete!!!");
const QString Cancelled = QStringLiteral("Encoding Cancelled!!!");

template <class Window> Window& Open()
{
    auto& window = forms::Instance<Window>();
    window.Show();
    return window;
}

template <class Window> void Close()
{
    if (auto* window = forms::Instances::Existing<Window>()) window->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool Shown(const ScriptedUser& user, const QString& prompt)
{
    for (const auto& box : user.Boxes())
        if (box.prompt == prompt) return true;
    return false;
}

bool WaitForBox(const ScriptedUser& user, const QString& prompt)
{
    return QTest::qWaitFor([&] { return Shown(user, prompt); }, 120000);
}

} // namespace

TEST(WavConverters, FilesAreChosenAndEmptyOrBlankPathsRefused)
{
    ScriptedUser user;
    auto& window = Open<frmWavtoMP3>();
    EXPECT_EQ(window.Caption(), QStringLiteral("WAV > MP3"));
    window.cmdEncode->click();
    window.txtInputFile->setText(QStringLiteral("   "));
    window.txtOutputFile->setText(QStringLiteral("/tmp/x.mp3"));
    window.cmdEncode->click();
    ASSERT_EQ(user.Boxes().size(), 2u);
    EXPECT_EQ(user.Boxes()[0].prompt, NoFiles);
    EXPECT_EQ(user.Boxes()[1].prompt, NoFiles);
    EXPECT_EQ(user.Boxes()[1].style, 64);

    // The output name is the input's with the extension added.
    user.ChooseFile(QStringLiteral("/music/a.wav"));
    window.cmdInputFile->click();
    EXPECT_EQ(window.txtInputFile->Text(), QStringLiteral("/music/a.wav"));
    EXPECT_EQ(window.txtOutputFile->Text(), QStringLiteral("/music/a.wav.mp3"));
    const auto& open = user.FileRequests().back();
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.title, QStringLiteral("Selected Audio File To Encode"));
    EXPECT_EQ(open.patterns, QStringList {QStringLiteral("*.wav")});

    user.ChooseFile(QStringLiteral("/music/b.mp3"));
    window.cmdOutputFile->click();
    EXPECT_EQ(window.txtOutputFile->Text(), QStringLiteral("/music/b.mp3"));
    EXPECT_TRUE(user.FileRequests().back().save);
    EXPECT_EQ(user.FileRequests().back().title, QStringLiteral("Encoded MP3 File"));

    // A cancelled input dialog leaves its preset name in both boxes.
    window.cmdInputFile->click();
    EXPECT_EQ(window.txtInputFile->Text(), QStringLiteral("Test.wav"));
    EXPECT_EQ(window.txtOutputFile->Text(), QStringLiteral("Test.wav.mp3"));
    Close<frmWavtoMP3>();
}

TEST(WavConverters, ProgressShowsPercentWithTheSignFirstAndWholeSecondsElapsed)
{
    ScriptedUser user;
    auto& window = Open<frmWavtoOgg>();
    EXPECT_EQ(window.lblPercentageComplete->Caption(), QStringLiteral("Percent Complete:"));
    window.EncodeStatus(0, 0);
    window.EncodeStatus(7, 4);
    EXPECT_EQ(window.lblPercentageComplete->Caption(), QStringLiteral("Percent Complete: %07"));
    EXPECT_EQ(window.lblTimeElapsed->Caption(), QStringLiteral("Seconds Elapsed: 0"));
    EXPECT_EQ(window.prgStatus->Value(), 7);
    window.m_dtStart = QDateTime::currentDateTime().addMSecs(-5400);
    window.EncodeStatus(100, 4);
    EXPECT_EQ(window.lblPercentageComplete->Caption(), QStringLiteral("Percent Complete: %100"));
    EXPECT_EQ(window.lblTimeElapsed->Caption(), QStringLiteral("Seconds Elapsed: 5"));
    // A percentage the bar cannot show is skipped; the labels still follow.
    window.EncodeStatus(300, 4);
    EXPECT_EQ(window.prgStatus->Value(), 100);
    EXPECT_EQ(window.lblPercentageComplete->Caption(), QStringLiteral("Percent Complete: %300"));
    window.EncodeStatus(50, 9);
    EXPECT_TRUE(user.Boxes().empty());
    Close<frmWavtoOgg>();
}

TEST(WavConverters, Mp3WindowEncodesAndRefusesASecondEncodeMeanwhile)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("song.wav"));
    media::MakeWav(input, 60.0, 1000);
    auto& window = Open<frmWavtoMP3>();
    auto* s = window.Settings;
    EXPECT_EQ(s->cboCBRRate->Text(), QStringLiteral("128kb/s"));
    EXPECT_TRUE(s->cboVBRMin->isEnabled()) << "the rate controls are not switched at load";
    s->cboCBRRate->setListIndex(11);
    window.MP3EncoderX1->setPriority(1);
    user.ChooseFile(input);
    window.cmdInputFile->click();

    window.cmdEncode->click();
    ASSERT_TRUE(window.MP3EncoderX1->IsEncoding());
    window.cmdEncode->click();
    EXPECT_TRUE(Shown(user, Busy));
    ASSERT_TRUE(WaitForBox(user, Complete));
    EXPECT_EQ(window.lblPercentageComplete->Caption(), QStringLiteral("Percent Complete: %100"));
    EXPECT_TRUE(window.lblTimeElapsed->Caption().startsWith(QStringLiteral("Seconds Elapsed: ")));
    // A constant rate leaves the priority alone.
    EXPECT_EQ(window.MP3EncoderX1->Priority(), 1);
    const QJsonObject probe = media::Probe(input + QStringLiteral(".mp3"));
    EXPECT_EQ(probe.value(QStringLiteral("bit_rate")).toDouble(), 224000);
    EXPECT_NEAR(probe.value(QStringLiteral("duration")).toDouble(), 60.0, 0.1);

    // The variable-rate road writes the rates, marks the priority, and refuses crossed rates.
    s->optVBR->click();
    s->cboVBRMin->setListIndex(10);
    s->cboVBRMax->setListIndex(3);
    const int boxes = int(user.Boxes().size());
    window.cmdEncode->click();
    ASSERT_EQ(int(user.Boxes().size()), boxes + 1);
    EXPECT_EQ(user.Boxes().back().prompt, QStringLiteral("Minimum Bit Rate must be less than the Maximum Bit Rate."));
    EXPECT_FALSE(window.MP3EncoderX1->IsEncoding());
    EXPECT_EQ(window.MP3EncoderX1->VBR(), 1);
    EXPECT_EQ(window.MP3EncoderX1->VBRMinBitrate(), 192);
    EXPECT_EQ(window.MP3EncoderX1->Priority(), 3);
    Close<frmWavtoMP3>();
}

TEST(WavConverters, AStartRefusedByTheEncoderShowsItsText)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("48k.wav"));
    media::MakeWav(input, 0.5, 1000, 48000);
    auto& window = Open<frmWavtoWma>();
    window.txtInputFile->setText(input);
    window.txtOutputFile->setText(dir.file(QStringLiteral("out.wma")));
    window.cmdEncode->click();
    ASSERT_EQ(user.Boxes().size(), 1u);
    EXPECT_EQ(user.Boxes()[0].prompt, QStringLiteral("Input audio format is not a 44k 16bit stereo PCM file!"));
    EXPECT_EQ(user.Boxes()[0].style, 16);
    EXPECT_EQ(window.WMAEncoderX1->Priority(), 3);

    window.txtInputFile->setText(dir.file(QStringLiteral("missing.wav")));
    window.cmdEncode->click();
    EXPECT_EQ(user.Boxes().back().prompt, QStringLiteral("Error opening input file!"));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("out.wma"))));
    Close<frmWavtoWma>();
}

TEST(WavConverters, WmaWindowsUntouchedDefaultsEncodeStereoAtTheCdRate)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    const QString output = dir.file(QStringLiteral("tone.wma"));
    media::MakeWav(input, 2.0, 1000);
    auto& window = Open<frmWavtoWma>();
    EXPECT_EQ(window.Settings->cboSampleRates->Text(), QStringLiteral("44100Hz"));
    window.txtInputFile->setText(input);
    window.txtOutputFile->setText(output);
    window.cmdEncode->click();
    ASSERT_TRUE(WaitForBox(user, Complete));
    const QJsonObject probe = media::Probe(output);
    EXPECT_EQ(probe.value(QStringLiteral("codec_name")).toString(), QStringLiteral("wmav2"));
    EXPECT_EQ(probe.value(QStringLiteral("sample_rate")).toInt(), 44100);
    EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 2);
    EXPECT_EQ(probe.value(QStringLiteral("bit_rate")).toDouble(), 128000);
    EXPECT_NEAR(media::ToneFrequency(output), 1000, 5);
    Close<frmWavtoWma>();
}

TEST(WavConverters, WmaWindowWritesItsSettingsAndCancelLeavesNoFile)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("long.wav"));
    media::MakeWav(input, 300.0, 1000);
    auto& window = Open<frmWavtoWma>();
    auto* s = window.Settings;
    EXPECT_EQ(s->cboBitRate->Text(), QStringLiteral("128kb/s"));
    s->cboBitRate->setListIndex(10);
    s->optMono->click();
    s->cboSampleRates->setListIndex(0);
    window.txtInputFile->setText(input);
    window.txtOutputFile->setText(dir.file(QStringLiteral("long.wma")));
    window.cmdEncode->click();
    ASSERT_TRUE(window.WMAEncoderX1->IsEncoding());
    EXPECT_EQ(window.WMAEncoderX1->Bitrate(), 48);
    EXPECT_EQ(window.WMAEncoderX1->SampleRate(), 5);
    EXPECT_FALSE(window.WMAEncoderX1->Stereo());
    window.cmdCancel->click();
    ASSERT_TRUE(WaitForBox(user, Cancelled));
    EXPECT_FALSE(Shown(user, Complete));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("long.wma"))));
    Close<frmWavtoWma>();
}

TEST(WavConverters, OggWindowChecksItsRulesAndWritesLimitsOnlyWhenAdvanced)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    media::MakeWav(input, 2.0, 1000);
    auto& window = Open<frmWavtoOgg>();
    auto* s = window.Settings;
    auto* encoder = window.VorbisEncoderX1;
    window.txtInputFile->setText(input);
    window.txtOutputFile->setText(dir.file(QStringLiteral("tone.ogg")));

    // The rules hold with the box unchecked too.
    s->cboMaxBitRate->setListIndex(7);
    window.cmdEncode->click();
    EXPECT_EQ(user.Boxes().back().prompt, QStringLiteral("Nominal Bit Rate must be lower than the Maximum Bit Rate"));
    EXPECT_FALSE(encoder->IsEncoding());

    s->cboMaxBitRate->setListIndex(12);
    s->cboMinBitRate->setListIndex(7);
    window.cmdEncode->click();
    ASSERT_TRUE(WaitForBox(user, Complete));
    EXPECT_EQ(encoder->NominalBitrate(), 128);
    EXPECT_EQ(encoder->MaxBitrate(), 0);
    EXPECT_EQ(encoder->MinBitrate(), 0);
    EXPECT_EQ(encoder->Priority(), 3);

    s->chkUseAdvanced->click();
    window.txtOutputFile->setText(dir.file(QStringLiteral("managed.ogg")));
    window.cmdEncode->click();
    EXPECT_EQ(encoder->MaxBitrate(), 224);
    EXPECT_EQ(encoder->MinBitrate(), 96);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !encoder->IsEncoding(); }, 120000));
    EXPECT_NEAR(media::ToneFrequency(dir.file(QStringLiteral("managed.ogg"))), 1000, 5);
    Close<frmWavtoOgg>();
}

TEST(WavConverters, ClosingTheWindowCancelsItsEncode)
{
    ScriptedUser user;
    TempDir dir;
    const QString input = dir.file(QStringLiteral("long.wav"));
    media::MakeWav(input, 300.0, 1000);
    auto& window = Open<frmWavtoMP3>();
    window.txtInputFile->setText(input);
    window.txtOutputFile->setText(dir.file(QStringLiteral("long.mp3")));
    window.cmdEncode->click();
    ASSERT_TRUE(window.MP3EncoderX1->IsEncoding());
    Close<frmWavtoMP3>();
    EXPECT_FALSE(forms::Instances::Exists<frmWavtoMP3>());
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("long.mp3"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
