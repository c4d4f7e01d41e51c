#include "engine/Slider.h"

Slider::Slider(QWidget* parent)
    : QWidget(parent)
    , Extent(this)
{
}
