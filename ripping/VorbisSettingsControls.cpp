#include "ripping/VorbisSettingsControls.h"

#include "platform/forms/MsgBox.h"

namespace {
constexpr int VorbisBitRates[] {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

int Selected(const forms::ComboBox& list) { return list.ItemData(list.ListIndex()); }
} // namespace

VorbisSettingsControls::VorbisSettingsControls(QWidget* container)
    : QObject(container)
{
    lblNominalBitRate = new forms::Label(container, QStringLiteral("Nominal Bit Rate"));
    lblNominalBitRate->Move(240, 330, 1815, 255);
    cboNominalBitRate = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboNominalBitRate->Move(2280, 300, 1455, 315);
    chkUseAdvanced = new forms::CheckBox(container, QStringLiteral("Use Advanced Bit Rate Settings"));
    chkUseAdvanced->Move(240, 780, 3495, 315);
    lblMinBitRate = new forms::Label(container, QStringLiteral("Minimum Bit Rate"));
    lblMinBitRate->Move(240, 1230, 1815, 255);
    cboMinBitRate = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboMinBitRate->Move(2280, 1200, 1455, 315);
    lblMaxBitRate = new forms::Label(container, QStringLiteral("Maximum Bit Rate"));
    lblMaxBitRate->Move(240, 1650, 1815, 255);
    cboMaxBitRate = new forms::ComboBox(container, forms::ComboBox::Style::DropDownList);
    cboMaxBitRate->Move(2280, 1620, 1455, 315);
    connect(chkUseAdvanced, &forms::CheckBox::Click, this, &VorbisSettingsControls::chkUseAdvanced_Click);
}

void VorbisSettingsControls::FillVorbisBitRates(forms::ComboBox& list)
{
    list.Clear();
    for (int kbps : VorbisBitRates) {
        list.AddItem(kbps ? QStringLiteral("%1kb/s").arg(kbps) : QStringLiteral("Default"));
        list.setItemData(list.ListCount() - 1, kbps);
    }
}

void VorbisSettingsControls::Preset()
{
    FillVorbisBitRates(*cboNominalBitRate);
    cboNominalBitRate->setListIndex(9);
    FillVorbisBitRates(*cboMinBitRate);
    cboMinBitRate->setListIndex(0);
    FillVorbisBitRates(*cboMaxBitRate);
    cboMaxBitRate->setListIndex(0);
    chkUseAdvanced->setValue(forms::CheckValue::Unchecked);
    chkUseAdvanced_Click();
}

void VorbisSettingsControls::chkUseAdvanced_Click()
{
    const bool advanced = chkUseAdvanced->Value() == forms::CheckValue::Checked;
    cboMaxBitRate->setEnabled(advanced);
    cboMinBitRate->setEnabled(advanced);
}

int VorbisSettingsControls::Nominal() const { return Selected(*cboNominalBitRate); }
int VorbisSettingsControls::Minimum() const { return Selected(*cboMinBitRate); }
int VorbisSettingsControls::Maximum() const { return Selected(*cboMaxBitRate); }

bool VorbisSettingsControls::CheckRates() const
{
    const int n = Nominal();
    const int mn = Minimum();
    const int mx = Maximum();
    if (mx != 0 && n > mx) {
        forms::MsgBox(QStringLiteral("Nominal Bit Rate must be lower than the Maximum Bit Rate"),
            forms::MsgBoxStyle::Information);
        return false;
    }
    if (mn != 0 && n < mn) {
        forms::MsgBox(QStringLiteral("Nominal Bit Rate must be higher than the Minimum Bit Rate"),
            forms::MsgBoxStyle::Information);
        return false;
    }
    return true;
}
