#include "platform/forms/ScrollBar.h"

#include "platform/forms/RuntimeError.h"

#include <algorithm>

namespace forms {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent)
    , Extent(this)
{
    setTracking(true);
    setSingleStep(1);
    setPageStep(1);
    ApplyRange();
    // A dragged thumb raises Scroll once the bar's value is where the thumb is, so the handler
    // reads the value it was dragged to.
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (settingRange_) return;
        emit Change();
        if (isSliderDown()) emit Scroll();
    });
}

void ScrollBar::ApplyRange()
{
    settingRange_ = true;
    setRange(std::min(min_, max_), std::max(min_, max_));
    const bool reversed = min_ > max_;
    setInvertedAppearance(reversed);
    setInvertedControls(reversed);
    settingRange_ = false;
}

void ScrollBar::setMin(int v)
{
    min_ = v;
    const int before = value();
    ApplyRange();
    if (value() != before) emit Change();
}

void ScrollBar::setMax(int v)
{
    max_ = v;
    const int before = value();
    ApplyRange();
    if (value() != before) emit Change();
}

int ScrollBar::Value() const { return value(); }

void ScrollBar::setValue(int v)
{
    if (v < std::min(min_, max_) || v > std::max(min_, max_)) Raise(Err::InvalidPropertyValue);
    QScrollBar::setValue(v);
}

} // namespace forms
