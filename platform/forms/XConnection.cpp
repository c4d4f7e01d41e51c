#include "platform/forms/XConnection.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace forms {

xcb_connection_t* QtXcbConnection()
{
    if (!qGuiApp || QGuiApplication::platformName() != QStringLiteral("xcb")) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace forms
