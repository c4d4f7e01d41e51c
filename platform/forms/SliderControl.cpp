#include "platform/forms/SliderControl.h"

#include "platform/forms/RuntimeError.h"

namespace forms {

Slider::Slider(QWidget* parent, int min, int max)
    : QSlider(Qt::Horizontal, parent)
    , Extent(this)
{
    setRange(min, max);
    setSingleStep(1);
    setPageStep(1);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    connect(this, &QAbstractSlider::valueChanged, this, &Slider::Change);
}

void Slider::setValue(int v)
{
    if (v < minimum() || v > maximum()) Raise(Err::InvalidPropertyValue);
    QSlider::setValue(v);
}

} // namespace forms
