#include "ripping/WmaSettingsControls.h"

#include "components/encoders/WMAEncoderX.h"
#include "platform/forms/MsgBox.h"

namespace {
constexpr int WmaBitRates[] {5, 6, 8, 10, 12, 16, 20, 22, 32, 40, 48, 64, 80, 96, 128, 160};
}

WmaSettingsControls::WmaSettingsControls(QWidget* container)
    : QObject(container)
{
    lblBitRate = new forms::Label(container, QStringLiteral("Bit Rate"));
    lblBitRate->Move(240, 330, 2520, 255);
    cboBitRate = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboBitRate->Move(2880, 300, 1455, 315);
    lblSampleRates = new forms::Label(container, QStringLiteral("Encoding Sampling Rate"));
    lblSampleRates->Move(240, 780, 2520, 255);
    cboSampleRates = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboSampleRates->Move(2880, 750, 1455, 315);
    optStereo = new forms::OptionButton(container, QStringLiteral("Stereo"));
    optStereo->Move(240, 1200, 1215, 315);
    optMono = new forms::OptionButton(container, QStringLiteral("Mono"));
    optMono->Move(1560, 1200, 1215, 315);
    chkEnableDRM = new forms::CheckBox(container, QStringLiteral("Enable DRM"));
    chkEnableDRM->Move(240, 1620, 2000, 315);
    optStereo->setValue(true);

    connect(cboBitRate, &forms::ComboBox::Click, this, &WmaSettingsControls::cboBitRate_Click);
    connect(optMono, &forms::OptionButton::Click, this, [this] { FillSampleRates(SelectedBitRate()); });
    connect(optStereo, &forms::OptionButton::Click, this, [this] { FillSampleRates(SelectedBitRate()); });
}

void WmaSettingsControls::FillWmaBitRates(forms::ComboBox& list)
{
    list.Clear();
    for (int kbps : WmaBitRates) {
        list.AddItem(QStringLiteral("%1kb/s").arg(kbps));
        list.setItemData(list.ListCount() - 1, kbps);
    }
}

QString WmaSettingsControls::SampleRateText(int code)
{
    const int hz = WMAEncoderX::SampleRateHz(code);
    return hz ? QStringLiteral("%1Hz").arg(hz) : QStringLiteral("N/A");
}

void WmaSettingsControls::Preset()
{
    FillWmaBitRates(*cboBitRate);
    cboBitRate->setListIndex(14);
}

int WmaSettingsControls::SelectedBitRate() const
{
    return cboBitRate->ListIndex() < 0 ? 0 : cboBitRate->ItemData(cboBitRate->ListIndex());
}

void WmaSettingsControls::cboBitRate_Click()
{
    const int kbps = SelectedBitRate();
    UpdateChannelOptions(kbps);
    FillSampleRates(kbps);
}

void WmaSettingsControls::UpdateChannelOptions(int kbps)
{
    if (!encoder_) return;
    const bool stereo = encoder_->SupportsStereo(kbps);
    const bool mono = encoder_->SupportsMono(kbps);
    if (stereo && mono) {
        optStereo->setEnabled(true);
        optMono->setEnabled(true);
    } else if (mono) {
        optStereo->setEnabled(false);
        optMono->setEnabled(true);
        optMono->setValue(true);
    } else if (stereo) {
        optStereo->setEnabled(true);
        optStereo->setValue(true);
        optMono->setEnabled(false);
    }
}

void WmaSettingsControls::FillSampleRates(int kbps)
{
    if (!encoder_) return;
    const bool stereo = optStereo->Value();
    cboSampleRates->Clear();
    for (int code = 0; code <= 6; ++code) {
        if (!encoder_->IsFormatSupported(code, kbps, stereo)) continue;
        cboSampleRates->AddItem(SampleRateText(code));
        cboSampleRates->setItemData(cboSampleRates->ListCount() - 1, code);
    }
    if (cboSampleRates->ListCount() > 0) cboSampleRates->setListIndex(0);
}

bool WmaSettingsControls::Apply(WMAEncoderX& encoder)
{
    if (cboSampleRates->ListIndex() < 0) {
        forms::MsgBox(QStringLiteral("The encoder offers no sampling rate at this bit rate. Please choose another "
                                     "bit rate."),
            forms::MsgBoxStyle::Information);
        return false;
    }
    encoder.setBitrate(SelectedBitRate());
    encoder.setSampleRate(cboSampleRates->ItemData(cboSampleRates->ListIndex()));
    encoder.setStereo(optStereo->Value());
    encoder.setDRM(chkEnableDRM->Value() == forms::CheckValue::Checked);
    return true;
}
