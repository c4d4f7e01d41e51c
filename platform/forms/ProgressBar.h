#pragma once

#include "platform/forms/Extent.h"

#include <QProgressBar>

namespace forms {

// A progress bar with an integer range from Min to Max and a Value anywhere inside it, fractions
// included (a load of 37.9 is drawn at 37.9). A Value outside the range, or a Max below Min, is
// refused with error 380. A range of nothing (Max equal to Min) shows an empty bar.
class ProgressBar : public QProgressBar, public Extent {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent);

    int Min() const { return min_; }
    int Max() const { return max_; }
    double Value() const { return value_; }
    void setMin(int v);
    void setMax(int v);
    void setValue(double v);

private:
    void Apply();
    int min_ = 0;
    int max_ = 100;
    double value_ = 0;
};

} // namespace forms
