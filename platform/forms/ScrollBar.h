#pragma once

#include "platform/forms/Extent.h"

#include <QScrollBar>

namespace forms {

// A horizontal or vertical scroll bar with an integer range from Min to Max (Min may be the
// larger: the bar then runs the other way). Change is raised on every change of Value, Scroll
// while the user drags the thumb. A value outside the range is refused with error 380.
class ScrollBar : public QScrollBar, public Extent {
    Q_OBJECT
public:
    ScrollBar(Qt::Orientation orientation, QWidget* parent);

    int Min() const { return min_; }
    int Max() const { return max_; }
    void setMin(int v);
    void setMax(int v);
    int Value() const;
    void setValue(int v);
    int SmallChange() const { return singleStep(); }
    void setSmallChange(int v) { setSingleStep(v); }
    int LargeChange() const { return pageStep(); }
    void setLargeChange(int v) { setPageStep(v); }

signals:
    void Change();
    void Scroll();

private:
    void ApplyRange();
    int min_ = 0;
    int max_ = 32767;
    bool settingRange_ = false;
};

class HScrollBar : public ScrollBar {
    Q_OBJECT
public:
    explicit HScrollBar(QWidget* parent)
        : ScrollBar(Qt::Horizontal, parent)
    {
    }
};

class VScrollBar : public ScrollBar {
    Q_OBJECT
public:
    explicit VScrollBar(QWidget* parent)
        : ScrollBar(Qt::Vertical, parent)
    {
    }
};

} // namespace forms
