#pragma once

#include <QCoreApplication>

namespace forms {

// Lets the window messages that are waiting run before the handler goes on.
inline void DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

} // namespace forms
