#include "platform/shell/DialogOwner.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>

namespace shell {

QWidget* DialogOwner(quintptr handle)
{
    if (handle != 0)
        if (QWidget* owner = QWidget::find(static_cast<WId>(handle))) return owner->window();
    return QApplication::activeWindow();
}

double LogicalPixelsPerInchY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

} // namespace shell
