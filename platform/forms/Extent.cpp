#include "platform/forms/Extent.h"

#include "platform/forms/RuntimeError.h"
#include "platform/forms/Twips.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace forms {

static int ButtonOf(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton) b |= Button::Left;
    if (buttons & Qt::RightButton) b |= Button::Right;
    if (buttons & Qt::MiddleButton) b |= Button::Middle;
    return b;
}

static int ShiftOf(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier) s |= Shift::ShiftKey;
    if (mods & Qt::ControlModifier) s |= Shift::Ctrl;
    if (mods & Qt::AltModifier) s |= Shift::Alt;
    return s;
}

Events::Events(QWidget* control)
    : QObject(control)
    , control_(control)
{
    control->installEventFilter(this);
}

void Events::AcceptFiles(bool on) { control_->setAcceptDrops(on); }

bool Events::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != control_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        pressedInside_ = true;
        emit MouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers()), ToTwips(1) * e->position().x(),
            ToTwips(1) * e->position().y());
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        emit MouseMove(ButtonOf(e->buttons()), ShiftOf(e->modifiers()), ToTwips(1) * e->position().x(),
            ToTwips(1) * e->position().y());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        QPointer<QWidget> alive(control_);
        emit MouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers()), ToTwips(1) * e->position().x(),
            ToTwips(1) * e->position().y());
        if (alive && pressedInside_ && control_->rect().contains(e->position().toPoint())
            && !control_->inherits("QAbstractButton"))
            emit Click();
        pressedInside_ = false;
        break;
    }
    case QEvent::MouseButtonDblClick: emit DblClick(); break;
    case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(event);
        if (e->mimeData()->hasUrls()) e->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        QStringList files;
        for (const QUrl& url : e->mimeData()->urls())
            if (url.isLocalFile()) files << url.toLocalFile();
        e->acceptProposedAction();
        emit FilesDropped(files, ButtonOf(e->buttons()), ShiftOf(e->modifiers()), ToTwips(1) * e->position().x(),
            ToTwips(1) * e->position().y());
        return true;
    }
    default: break;
    }
    return false;
}

Extent::Extent(QWidget* self)
    : self_(self)
{
}

QRectF Extent::Geometry() const
{
    const QRect now = self_->geometry();
    if (now == pixels_ && !pixels_.isNull()) return twips_;
    return QRectF(ToTwips(now.x()), ToTwips(now.y()), ToTwips(now.width()), ToTwips(now.height()));
}

void Extent::ApplyGeometry(const QRectF& twips)
{
    const QRect px(ToPixels(twips.left()), ToPixels(twips.top()), ToPixels(twips.width()), ToPixels(twips.height()));
    self_->setGeometry(px);
    twips_ = twips;
    pixels_ = self_->geometry();
}

void Extent::Move(double left, std::optional<double> top, std::optional<double> width, std::optional<double> height)
{
    const QRectF now = Geometry();
    const double w = width.value_or(now.width());
    const double h = height.value_or(now.height());
    if (w < 0 || h < 0) Raise(Err::InvalidPropertyValue);
    ApplyGeometry(QRectF(left, top.value_or(now.top()), w, h));
}

void Extent::setLeft(double v) { Move(v); }
void Extent::setTop(double v) { Move(Left(), v); }
void Extent::setWidth(double v) { Move(Left(), Top(), v); }
void Extent::setHeight(double v) { Move(Left(), Top(), Width(), v); }

bool Extent::Visible() const { return !self_->isHidden(); }
bool Extent::Enabled() const { return self_->isEnabled(); }

void Extent::ZOrder(int position)
{
    if (position == 0)
        self_->raise();
    else
        self_->lower();
}

QString Extent::ToolTipText() const { return self_->toolTip(); }
void Extent::setToolTipText(const QString& text) { self_->setToolTip(text); }

quintptr Extent::hWnd() const { return self_->winId(); }

Events* Extent::events() const
{
    if (!events_) events_ = new Events(self_);
    return events_;
}

} // namespace forms
