#include "platform/forms/SliderControl.h"

namespace forms {

Slider::Slider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
    , Extent(this)
{
    setRange(0, 10);
    setTickPosition(QSlider::TicksBelow);
}

} // namespace forms
