#include "platform/forms/ProgressBar.h"

#include "platform/forms/RuntimeError.h"

namespace forms {

ProgressBar::ProgressBar(QWidget* parent)
    : QProgressBar(parent)
    , Extent(this)
{
    setTextVisible(false);
    Apply();
}

void ProgressBar::setMin(int v)
{
    if (v > max_) Raise(Err::InvalidPropertyValue, QStringLiteral("ProgressBar"));
    min_ = v;
    if (value_ < min_) value_ = min_;
    Apply();
}

void ProgressBar::setMax(int v)
{
    if (v < min_) Raise(Err::InvalidPropertyValue, QStringLiteral("ProgressBar"));
    max_ = v;
    if (value_ > max_) value_ = max_;
    Apply();
}

void ProgressBar::setValue(int v)
{
    if (v < min_ || v > max_) Raise(Err::InvalidPropertyValue, QStringLiteral("ProgressBar"));
    value_ = v;
    Apply();
}

void ProgressBar::Apply()
{
    // Qt draws an equal minimum and maximum as a busy bar; an empty range shows empty here.
    QProgressBar::setRange(min_, max_ > min_ ? max_ : min_ + 1);
    QProgressBar::setValue(value_);
}

} // namespace forms
