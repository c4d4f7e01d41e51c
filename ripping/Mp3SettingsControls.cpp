#include "ripping/Mp3SettingsControls.h"

#include "components/encoders/MP3EncoderX.h"
#include "platform/forms/MsgBox.h"

namespace {
constexpr int Mp3BitRates[] {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
}

Mp3SettingsControls::Mp3SettingsControls(QWidget* container, double top)
    : QObject(container)
{
    optCBR = new forms::OptionButton(container, QStringLiteral("Constant Bit Rate"));
    optCBR->Move(120, top, 2055, 315);
    lblCBRRate = new forms::Label(container, QStringLiteral("Bit Rate"));
    lblCBRRate->Move(2280, top + 30, 735, 255);
    cboCBRRate = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboCBRRate->Move(3060, top, 1215, 315);

    optVBR = new forms::OptionButton(container, QStringLiteral("Variable Rate"));
    optVBR->Move(120, top + 480, 2055, 315);
    lblVBRMin = new forms::Label(container, QStringLiteral("Min"));
    lblVBRMin->Move(2280, top + 510, 735, 255);
    cboVBRMin = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboVBRMin->Move(3060, top + 480, 1215, 315);
    lblVBRMax = new forms::Label(container, QStringLiteral("Max"));
    lblVBRMax->Move(4440, top + 510, 495, 255);
    cboVBRMax = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboVBRMax->Move(4980, top + 480, 1215, 315);

    lblVBRQuality = new forms::Label(container, QStringLiteral("VBR Quality"));
    lblVBRQuality->Move(2280, top + 960, 1500, 255);
    lblSlow = new forms::Label(container, QStringLiteral("Slow/High Quaility"));
    lblSlow->Move(120, top + 1290, 1980, 255);
    sldVBRLevel = new forms::Slider(container);
    sldVBRLevel->setMin(0);
    sldVBRLevel->setMax(9);
    sldVBRLevel->Move(2160, top + 1230, 2235, 435);
    lblFast = new forms::Label(container, QStringLiteral("Fast/Low Quality"));
    lblFast->Move(4440, top + 1290, 1755, 255);

    fraQuality = new forms::Frame(container, QStringLiteral("Overall Quality"));
    fraQuality->Move(120, top + 1800, 2775, 915);
    optNormal = new forms::OptionButton(fraQuality, QStringLiteral("Normal"));
    optNormal->Move(120, 330, 1215, 315);
    optStudio = new forms::OptionButton(fraQuality, QStringLiteral("Studio"));
    optStudio->Move(1440, 330, 1215, 315);

    lblChannelMode = new forms::Label(container, QStringLiteral("Channel Mode"));
    lblChannelMode->Move(3060, top + 1860, 1500, 255);
    cboChannelMode = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboChannelMode->Move(3060, top + 2160, 1935, 315);

    optCBR->setValue(true);
    optNormal->setValue(true);
    connect(optCBR, &forms::OptionButton::Click, this, &Mp3SettingsControls::UpdateRateControls);
    connect(optVBR, &forms::OptionButton::Click, this, &Mp3SettingsControls::UpdateRateControls);
}

void Mp3SettingsControls::FillMp3BitRates(forms::ComboBox& list)
{
    list.Clear();
    for (int kbps : Mp3BitRates) {
        list.AddItem(QStringLiteral("%1kb/s").arg(kbps));
        list.setItemData(list.ListCount() - 1, kbps);
    }
}

void Mp3SettingsControls::FillChannelModes(forms::ComboBox& list)
{
    list.Clear();
    const char* modes[] {"Stereo", "J-Stereo", "Mono", "Dual Channel"};
    for (int mode = 0; mode < 4; ++mode) {
        list.AddItem(QLatin1String(modes[mode]));
        list.setItemData(mode, mode);
    }
    list.setListIndex(0);
}

void Mp3SettingsControls::Preset()
{
    FillMp3BitRates(*cboCBRRate);
    cboCBRRate->setListIndex(8);
    FillMp3BitRates(*cboVBRMin);
    cboVBRMin->setListIndex(0);
    FillMp3BitRates(*cboVBRMax);
    cboVBRMax->setListIndex(cboVBRMax->ListCount() - 1);
    FillChannelModes(*cboChannelMode);
}

void Mp3SettingsControls::UpdateRateControls()
{
    const bool constant = optCBR->Value();
    cboCBRRate->setEnabled(constant);
    cboVBRMin->setEnabled(!constant);
    cboVBRMax->setEnabled(!constant);
    sldVBRLevel->setEnabled(!constant);
}

bool Mp3SettingsControls::Apply(MP3EncoderX& encoder, int priority)
{
    if (optNormal->Value()) encoder.setQuality(1);
    if (optStudio->Value()) encoder.setQuality(0);
    if (optCBR->Value()) {
        encoder.setBitrate(cboCBRRate->ItemData(cboCBRRate->ListIndex()));
        encoder.setChannelMode(cboChannelMode->ItemData(cboChannelMode->ListIndex()));
        encoder.setVBR(0);
        return true;
    }
    encoder.setVBRQuality(sldVBRLevel->Value());
    encoder.setVBRMaxBitrate(cboVBRMax->ItemData(cboVBRMax->ListIndex()));
    encoder.setVBRMinBitrate(cboVBRMin->ItemData(cboVBRMin->ListIndex()));
    encoder.setChannelMode(cboChannelMode->ItemData(cboChannelMode->ListIndex()));
    encoder.setVBR(1);
    if (priority >= 0) encoder.setPriority(priority);
    if (encoder.VBRMaxBitrate() <= encoder.VBRMinBitrate()) {
        forms::MsgBox(QStringLiteral("Minimum Bit Rate must be less than the Maximum Bit Rate."),
            forms::MsgBoxStyle::Information);
        return false;
    }
    return true;
}
