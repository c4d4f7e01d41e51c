#pragma once

#include "platform/forms/Extent.h"

#include <QSlider>

namespace forms {

// The common controls' track bar: a horizontal slider from Min to Max. A value set outside the
// range is brought into it, and a new range keeps the value within itself, as that control does.
class Slider : public QSlider, public Extent {
    Q_OBJECT
public:
    explicit Slider(QWidget* parent);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    void setMin(int v) { setMinimum(v); }
    void setMax(int v) { setMaximum(v); }
    void setValue(int v) { QSlider::setValue(v); }
    // Redraws the control.
    void Refresh() { update(); }
};

} // namespace forms
