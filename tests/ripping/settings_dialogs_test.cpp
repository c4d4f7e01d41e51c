// The three encoder settings dialogs, each with an encoder of its own.
#include "components/encoders/MP3EncoderX.h"
#include "components/encoders/VorbisEncoderX.h"
#include "components/encoders/WMAEncoderX.h"
#include "ripping/Mp3SettingsControls.h"
#include "ripping/VorbisSettingsControls.h"
#include "ripping/WmaSettingsControls.h"
#include "ripping/frmMp3Settings.h"
#include "ripping/frmVorbisSettings.h"
#include "ripping/frmWMASettings.h"
#include "tests/ripping/EncoderMedia.h"
#include "tests/ripping/ModalDialog.h"
#include "tests/support/ScriptedUser.h"
#include "tests/support/TempDir.h"

#include <QTest>
#include <gtest/gtest.h>
#include <set>

namespace {

const QString MinMaxMessage = QStringLiteral("Minimum Bit Rate must be less than the Maximum Bit Rate.");

void ShowMp3(MP3EncoderX& encoder, const std::function<void(frmMp3Settings&)>& inside)
{
    auto& dialog = forms::Instance<frmMp3Settings>();
    WhileShown<frmMp3Settings>(dialog, [&] { dialog.ShowForm(encoder); }, inside);
}

} // namespace

TEST(Mp3Settings, OpensAtTheDefaultsWhateverWasAppliedBefore)
{
    ScriptedUser user;
    MP3EncoderX encoder;
    for (int opening = 0; opening < 2; ++opening) {
        ShowMp3(encoder, [&](frmMp3Settings& d) {
            auto* s = d.Settings;
            EXPECT_EQ(d.Caption(), QStringLiteral("MP3 Encoder Settings"));
            EXPECT_EQ(s->cboCBRRate->ListCount(), 14);
            EXPECT_EQ(s->cboCBRRate->Text(), QStringLiteral("128kb/s"));
            EXPECT_EQ(s->cboVBRMin->Text(), QStringLiteral("32kb/s"));
            EXPECT_EQ(s->cboVBRMax->Text(), QStringLiteral("320kb/s"));
            EXPECT_EQ(s->cboChannelMode->Text(), QStringLiteral("Stereo"));
            EXPECT_EQ(s->cboChannelMode->ItemData(3), 3);
            EXPECT_TRUE(s->optCBR->Value());
            EXPECT_TRUE(s->optNormal->Value());
            EXPECT_TRUE(s->cboCBRRate->isEnabled());
            EXPECT_FALSE(s->cboVBRMin->isEnabled() || s->cboVBRMax->isEnabled() || s->sldVBRLevel->isEnabled());
            // The first time: variable rate, studio quality, mono, and the rate controls swap.
            if (opening == 0) {
                s->optVBR->click();
                EXPECT_FALSE(s->cboCBRRate->isEnabled());
                EXPECT_TRUE(s->cboVBRMin->isEnabled() && s->sldVBRLevel->isEnabled());
                s->optStudio->click();
                s->sldVBRLevel->setValue(7);
                s->cboVBRMin->setListIndex(4);
                s->cboChannelMode->setListIndex(2);
                d.cmdApply->click();
            }
        });
    }
    EXPECT_EQ(encoder.VBR(), 1);
    EXPECT_EQ(encoder.Quality(), 0);
    EXPECT_EQ(encoder.VBRQuality(), 7);
    EXPECT_EQ(encoder.VBRMinBitrate(), 64);
    EXPECT_EQ(encoder.VBRMaxBitrate(), 320);
    EXPECT_EQ(encoder.ChannelMode(), 2);
    EXPECT_TRUE(user.Boxes().empty());
}

TEST(Mp3Settings, EqualVariableRatesAreRefusedAfterTheyAreWritten)
{
    ScriptedUser user;
    MP3EncoderX encoder;
    ShowMp3(encoder, [&](frmMp3Settings& d) {
        d.Settings->optVBR->click();
        d.Settings->cboVBRMin->setListIndex(8);
        d.Settings->cboVBRMax->setListIndex(8);
        d.cmdApply->click();
        ASSERT_EQ(user.Boxes().size(), 1u);
        EXPECT_EQ(user.Boxes()[0].prompt, MinMaxMessage);
        EXPECT_EQ(user.Boxes()[0].style, 64);
        EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
        EXPECT_EQ(encoder.VBRMinBitrate(), 128);
        EXPECT_EQ(encoder.VBRMaxBitrate(), 128);
        EXPECT_EQ(encoder.VBR(), 1);
        d.cmdCancel->click();
    });
}

TEST(Mp3Settings, ConstantRateIgnoresCrossedVariableRatesAndCancelWritesNothing)
{
    ScriptedUser user;
    MP3EncoderX encoder;
    encoder.setBitrate(64);
    ShowMp3(encoder, [&](frmMp3Settings& d) {
        d.Settings->cboCBRRate->setListIndex(12);
        d.cmdCancel->click();
    });
    EXPECT_EQ(encoder.Bitrate(), 64);

    encoder.setVBR(1);
    ShowMp3(encoder, [&](frmMp3Settings& d) {
        d.Settings->cboVBRMin->setListIndex(13);
        d.Settings->cboVBRMax->setListIndex(0);
        d.Settings->cboCBRRate->setListIndex(12);
        d.Settings->cboChannelMode->setListIndex(1);
        d.cmdApply->click();
    });
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_EQ(encoder.Bitrate(), 256);
    EXPECT_EQ(encoder.ChannelMode(), 1);
    EXPECT_EQ(encoder.VBR(), 0);
    EXPECT_EQ(encoder.Quality(), 1);
    EXPECT_FALSE(forms::Instances::Exists<frmMp3Settings>());
}

namespace {

struct VorbisCase {
    int nominal, minimum, maximum; // rows
    bool advanced;
    const char* message;            // null: accepted
    int n, mn, mx;                  // what is written when accepted
};

} // namespace

TEST(VorbisSettings, RatesFollowTheTwoRulesInTheirOrder)
{
    // Rows: 0 Default, 1 32, ... 7 96, 9 128, 10 160, 14 320.
    const char* lower = "Nominal Bit Rate must be lower than the Maximum Bit Rate";
    const char* higher = "Nominal Bit Rate must be higher than the Minimum Bit Rate";
    const VorbisCase cases[] = {
        {0, 0, 14, true, nullptr, 0, 0, 320}, // Default with no minimum passes with any maximum
        {0, 0, 0, false, nullptr, 0, 0, 0},
        {9, 0, 7, true, lower, 0, 0, 0},
        {9, 10, 14, true, higher, 0, 0, 0},
        {0, 10, 0, true, higher, 0, 0, 0},       // Default with a minimum set
        {9, 10, 7, true, lower, 0, 0, 0},        // crossed limits fail a rule before meeting
        {7, 10, 7, true, higher, 0, 0, 0},
        {9, 7, 10, false, nullptr, 128, 96, 160}, // unchecked still writes the limits
    };
    for (const auto& c : cases) {
        ScriptedUser user;
        VorbisEncoderX encoder;
        encoder.setNominalBitrate(-1);
        encoder.setMinBitrate(-1);
        encoder.setMaxBitrate(-1);
        auto& dialog = forms::Instance<frmVorbisSettings>();
        WhileShown<frmVorbisSettings>(dialog, [&] { dialog.ShowForm(encoder); }, [&](frmVorbisSettings& d) {
            auto* s = d.Settings;
            EXPECT_EQ(d.Caption(), QStringLiteral("Vorbis Encoder Settings"));
            EXPECT_EQ(s->cboNominalBitRate->Text(), QStringLiteral("128kb/s"));
            EXPECT_EQ(s->cboMinBitRate->Text(), QStringLiteral("Default"));
            EXPECT_FALSE(s->cboMinBitRate->isEnabled() || s->cboMaxBitRate->isEnabled());
            s->chkUseAdvanced->click();
            EXPECT_TRUE(s->cboMinBitRate->isEnabled() && s->cboMaxBitRate->isEnabled());
            s->cboNominalBitRate->setListIndex(c.nominal);
            s->cboMinBitRate->setListIndex(c.minimum);
            s->cboMaxBitRate->setListIndex(c.maximum);
            if (!c.advanced) s->chkUseAdvanced->click();
            d.cmdApply->click();
            EXPECT_EQ(d.isVisible(), c.message != nullptr);
        });
        if (c.message) {
            ASSERT_EQ(user.Boxes().size(), 1u);
            EXPECT_EQ(user.Boxes()[0].prompt, QLatin1String(c.message));
            EXPECT_EQ(user.Boxes()[0].style, 64);
            EXPECT_EQ(encoder.NominalBitrate(), -1) << "nothing written";
            EXPECT_EQ(encoder.MinBitrate(), -1);
        } else {
            EXPECT_TRUE(user.Boxes().empty());
            EXPECT_EQ(encoder.NominalBitrate(), c.n);
            EXPECT_EQ(encoder.MinBitrate(), c.mn);
            EXPECT_EQ(encoder.MaxBitrate(), c.mx);
        }
    }
}

namespace {

// An encoder with other capabilities: some bit rates only in mono, some in neither form, and
// fewer sample rates in stereo.
class NarrowWma : public WMAEncoderX {
public:
    bool IsFormatSupported(int code, int kbps, bool stereo) const override
    {
        if (kbps == 16) return !stereo && (code == 2 || code == 0);
        if (kbps == 20) return false;
        if (kbps == 64) return stereo && code >= 3 && code <= 5;
        return code >= 1 && code <= 6;
    }
    bool SupportsStereo(int kbps) const override { return kbps != 16 && kbps != 20; }
    bool SupportsMono(int kbps) const override { return kbps != 20 && kbps != 64; }
};

QStringList Rows(const forms::ComboBox& list)
{
    QStringList rows;
    for (int i = 0; i < list.ListCount(); ++i)
        rows << list.List(i);
    return rows;
}

} // namespace

TEST(WmaSettings, OffersTheChannelsAndSampleRatesTheEncoderSupports)
{
    ScriptedUser user;
    NarrowWma encoder;
    auto& dialog = forms::Instance<frmWMASettings>();
    WhileShown<frmWMASettings>(dialog, [&] { dialog.ShowForm(encoder); }, [&](frmWMASettings& d) {
        auto* s = d.Settings;
        EXPECT_EQ(d.Caption(), QStringLiteral("WMA EncoderSettings"));
        EXPECT_EQ(s->cboBitRate->ListCount(), 16);
        EXPECT_EQ(s->cboBitRate->Text(), QStringLiteral("128kb/s"));
        EXPECT_EQ(Rows(*s->cboSampleRates),
            QStringList({"11025Hz", "16000Hz", "22050Hz", "32000Hz", "44100Hz", "48000Hz"}));
        EXPECT_EQ(s->cboSampleRates->ListIndex(), 0);

        // Mono only: "Mono" chosen, "Stereo" disabled, the mono rates listed from the lowest.
        s->cboBitRate->setListIndex(5);
        EXPECT_TRUE(s->optMono->Value());
        EXPECT_FALSE(s->optStereo->isEnabled());
        EXPECT_EQ(Rows(*s->cboSampleRates), QStringList({"8000Hz", "16000Hz"}));
        EXPECT_EQ(s->cboSampleRates->Text(), QStringLiteral("8000Hz"));

        // Neither: the options stay as they were and the current option's rates (none) are listed.
        s->cboBitRate->setListIndex(6);
        EXPECT_TRUE(s->optMono->Value());
        EXPECT_FALSE(s->optStereo->isEnabled());
        EXPECT_EQ(s->cboSampleRates->ListCount(), 0);
        // Apply with nothing to choose is refused with a word, and writes nothing.
        d.cmdApply->click();
        ASSERT_EQ(user.Boxes().size(), 1u);
        EXPECT_EQ(user.Boxes()[0].style, 64);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(encoder.Bitrate(), 128);

        // Stereo only.
        s->cboBitRate->setListIndex(11);
        EXPECT_TRUE(s->optStereo->Value());
        EXPECT_FALSE(s->optMono->isEnabled());
        EXPECT_EQ(Rows(*s->cboSampleRates), QStringList({"22050Hz", "32000Hz", "44100Hz"}));
        s->cboSampleRates->setListIndex(2);
        s->chkEnableDRM->click();
        d.cmdApply->click();
    });
    EXPECT_EQ(encoder.Bitrate(), 64);
    EXPECT_EQ(encoder.SampleRate(), 5);
    EXPECT_TRUE(encoder.Stereo());
    EXPECT_TRUE(encoder.DRM());
    EXPECT_FALSE(forms::Instances::Exists<frmWMASettings>());
}

TEST(WmaSettings, TheRealEncodersUntouchedDefaultsEncodeStereoAtTheCdRate)
{
    ScriptedUser user;
    WMAEncoderX encoder;
    encoder.setSampleRate(0);
    encoder.setStereo(false);
    auto& dialog = forms::Instance<frmWMASettings>();
    WhileShown<frmWMASettings>(dialog, [&] { dialog.ShowForm(encoder); }, [&](frmWMASettings& d) {
        auto* s = d.Settings;
        EXPECT_EQ(Rows(*s->cboSampleRates), QStringList({"44100Hz", "48000Hz"}));
        EXPECT_EQ(s->SampleRateText(7), QStringLiteral("N/A"));
        EXPECT_TRUE(s->optStereo->Value());
        EXPECT_FALSE(s->optMono->isEnabled());
        // Below its lowest rate the encoder offers nothing.
        s->cboBitRate->setListIndex(0);
        EXPECT_EQ(s->cboSampleRates->ListCount(), 0);
        s->cboBitRate->setListIndex(14);
        d.cmdApply->click();
    });
    EXPECT_TRUE(user.Boxes().empty());
    EXPECT_EQ(encoder.Bitrate(), 128);
    EXPECT_EQ(encoder.SampleRate(), 5);
    EXPECT_TRUE(encoder.Stereo());

    TempDir dir;
    const QString input = dir.file(QStringLiteral("tone.wav"));
    const QString output = dir.file(QStringLiteral("tone.wma"));
    media::MakeWav(input, 2.0);
    ASSERT_TRUE(encoder.EncodeFile(input, output));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !encoder.IsEncoding(); }, 60000));
    const QJsonObject probe = media::Probe(output);
    EXPECT_EQ(probe.value(QStringLiteral("sample_rate")).toInt(), 44100);
    EXPECT_EQ(probe.value(QStringLiteral("channels")).toInt(), 2);
    EXPECT_EQ(probe.value(QStringLiteral("bit_rate")).toDouble(), 128000);
}
