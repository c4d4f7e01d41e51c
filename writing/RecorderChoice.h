#pragma once

#include <QObject>

class CDWriterXP;

namespace forms {
class CheckBox;
class ComboBox;
} // namespace forms

// The drive and write-speed lists that both writing windows show, with the drive they opened.
class RecorderChoice : public QObject {
    Q_OBJECT
public:
    RecorderChoice(CDWriterXP& writer, forms::ComboBox& devices, forms::ComboBox& speeds, forms::CheckBox& burnProof);

    // The open drive's index, -1 when none is open.
    int SelectedDrive() const { return selected_; }

    // Lists the drives and opens the first; without any, says so.
    void FillDeviceList();
    // Opens the chosen drive and lists its speeds.
    void DeviceClick();
    // The drive's speeds (see WriteSpeeds), or "Default" when it tells none.
    void FillWriteSpeeds();
    void SpeedClick();

private:
    CDWriterXP& writer_;
    forms::ComboBox& devices_;
    forms::ComboBox& speeds_;
    forms::CheckBox& burnProof_;
    int selected_ = -1;
};
