#include "platform/forms/ProgressBar.h"

#include "platform/forms/RuntimeError.h"

#include <cmath>

namespace forms {

namespace {

// The drawn bar has this many steps from Min to Max, so that fractions of a unit show.
constexpr int Steps = 10000;

} // namespace

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

void ProgressBar::setValue(double v)
{
    if (!(v >= min_ && v <= max_)) Raise(Err::InvalidPropertyValue, QStringLiteral("ProgressBar"));
    value_ = v;
    Apply();
}

void ProgressBar::Apply()
{
    // Drawn in steps of the range, never with Qt's own Min and Max: Qt draws an equal minimum and
    // maximum as a busy bar, and an empty range shows empty here.
    QProgressBar::setRange(0, Steps);
    const double span = double(max_) - double(min_);
    QProgressBar::setValue(span > 0 ? int(std::lround((value_ - min_) / span * Steps)) : 0);
}

} // namespace forms
