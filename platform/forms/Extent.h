#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QStringList>
#include <optional>

class QWidget;

namespace forms {

// Mouse buttons and shift keys as the mouse events report them.
namespace Button {
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
} // namespace Button
namespace Shift {
constexpr int ShiftKey = 1;
constexpr int Ctrl = 2;
constexpr int Alt = 4;
} // namespace Shift

// The events every control raises: mouse buttons and moves (X and Y in twips of the control),
// clicks, and files dropped on it. A control creates this object on first use.
class Events : public QObject {
    Q_OBJECT
public:
    explicit Events(QWidget* control);

    // Lets the control take files dropped from the desktop; they arrive as FilesDropped.
    void AcceptFiles(bool on);

signals:
    void Click();
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void FilesDropped(const QStringList& files, int button, int shift, double x, double y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* control_;
    bool pressedInside_ = false;
};

// Geometry of a control or window in twips, with the visibility, z-order and handle that every
// control has. Geometry set in twips reads back exactly as set while the widget keeps the pixel
// rectangle it was given; once something else resizes the widget, the pixels rule.
class Extent {
public:
    explicit Extent(QWidget* self);
    virtual ~Extent() = default;
    Extent(const Extent&) = delete;
    Extent& operator=(const Extent&) = delete;

    double Left() const { return Geometry().left(); }
    double Top() const { return Geometry().top(); }
    double Width() const { return Geometry().width(); }
    double Height() const { return Geometry().height(); }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);

    // Moves and sizes the control; a negative width or height is refused with error 380 and
    // leaves the control where it was.
    void Move(double left, std::optional<double> top = {}, std::optional<double> width = {},
        std::optional<double> height = {});

    bool Visible() const;
    bool Enabled() const;
    // Position 0 brings the control to the front of its container, 1 sends it to the back.
    void ZOrder(int position = 0);
    QString ToolTipText() const;
    void setToolTipText(const QString& text);

    // The native window handle.
    quintptr hWnd() const;

    Events* events() const;

protected:
    virtual QRectF Geometry() const;
    virtual void ApplyGeometry(const QRectF& twips);
    QWidget* widget() const { return self_; }

private:
    QWidget* self_;
    QRectF twips_;
    QRect pixels_;
    mutable QPointer<Events> events_;
};

} // namespace forms
