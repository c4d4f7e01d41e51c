#pragma once

#include "components/avi/AviFile.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;

namespace avifile {

// The compression-options dialog of one video stream: the encoder, its quality, and, when the
// flags offer them, key frames, data rate and a preview of the stream.
class SaveOptionsDialog : public QDialog {
    Q_OBJECT
public:
    SaveOptionsDialog(QWidget* owner, int flags, PAVISTREAM stream, const AVICOMPRESSOPTIONS& start);

    AVICOMPRESSOPTIONS Options() const;

private:
    QComboBox* compressor_;
    QSlider* quality_;
    QCheckBox* keyFrames_;
    QSpinBox* keyFrameEvery_;
    QCheckBox* dataRate_;
    QSpinBox* dataRateKB_;
};

} // namespace avifile
