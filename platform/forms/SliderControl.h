#pragma once

#include "platform/forms/Extent.h"

#include <QSlider>

namespace forms {

// The common controls' slider: a thumb on a track with tick marks, from Min to Max. A value
// outside the range is refused with error 380. Change is raised on every change of Value.
class Slider : public QSlider, public Extent {
    Q_OBJECT
public:
    explicit Slider(QWidget* parent, int min = 0, int max = 10);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    void setMin(int v) { setMinimum(v); }
    void setMax(int v) { setMaximum(v); }
    int Value() const { return value(); }
    void setValue(int v);

signals:
    void Change();
};

} // namespace forms
