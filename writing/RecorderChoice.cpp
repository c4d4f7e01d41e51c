#include "writing/RecorderChoice.h"

#include "components/cdwriter/CDWriterXP.h"
#include "platform/forms/Controls.h"
#include "platform/forms/ListControls.h"
#include "platform/forms/MsgBox.h"
#include "writing/WriteSpeeds.h"

RecorderChoice::RecorderChoice(CDWriterXP& writer, forms::ComboBox& devices, forms::ComboBox& speeds, forms::CheckBox& burnProof)
    : QObject(&devices)
    , writer_(writer)
    , devices_(devices)
    , speeds_(speeds)
    , burnProof_(burnProof)
{
    connect(&devices_, &forms::ComboBox::Click, this, &RecorderChoice::DeviceClick);
    connect(&speeds_, &forms::ComboBox::Click, this, &RecorderChoice::SpeedClick);
}

void RecorderChoice::FillDeviceList()
{
    devices_.Clear();
    selected_ = -1;
    for (int i = 0; i < writer_.DeviceCount(); ++i)
        devices_.AddItem(writer_.DeviceTextA(i) + QStringLiteral(": ") + writer_.DeviceTextB(i) + QLatin1Char(' ')
            + writer_.DeviceTextC(i));
    if (devices_.ListCount() == 0) {
        forms::MsgBox(QStringLiteral("There are no compatible CDR drives reported.\r\nSome older CDR drives are not currently supported."),
            forms::MsgBoxStyle::Information);
        return;
    }
    devices_.setListIndex(0);
}

void RecorderChoice::DeviceClick()
{
    selected_ = writer_.OpenDevice(devices_.ListIndex()) ? devices_.ListIndex() : -1;
    FillWriteSpeeds();
    burnProof_.setEnabled(writer_.SupportsBurnProof());
    burnProof_.setValue(forms::CheckValue::Unchecked);
}

void RecorderChoice::FillWriteSpeeds()
{
    speeds_.Clear();
    for (const int speed : WriteSpeeds(writer_.MaxSpeed())) {
        speeds_.AddItem(QString::number(speed) + QLatin1Char('x'));
        speeds_.setItemData(speeds_.ListCount() - 1, speed);
    }
    if (speeds_.ListCount() == 0) speeds_.AddItem(QStringLiteral("Default"));
    if (speeds_.ListCount() > 0) speeds_.setListIndex(0);
}

void RecorderChoice::SpeedClick()
{
    const int row = speeds_.ListIndex();
    if (row < 0 || speeds_.List(row) == QLatin1String("Default")) return;
    writer_.SetSpeed(speeds_.ItemData(row));
}
