#include "platform/forms/Cursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace forms {

namespace {
int displayCount = 0;
}

int ShowCursor(bool show)
{
    const bool wasShown = displayCount >= 0;
    displayCount += show ? 1 : -1;
    const bool shown = displayCount >= 0;
    if (wasShown && !shown) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    if (!wasShown && shown) QGuiApplication::restoreOverrideCursor();
    return displayCount;
}

int CursorDisplayCount() { return displayCount; }

bool GetCursorPos(int& x, int& y)
{
    if (!QGuiApplication::primaryScreen()) return false;
    const QPoint p = QCursor::pos();
    x = p.x();
    y = p.y();
    return true;
}

bool StartWindowMove(QWidget* window)
{
    if (!window) return false;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    QWindow* handle = window->window()->windowHandle();
    return handle && handle->startSystemMove();
}

} // namespace forms
