#pragma once

#include <QString>

namespace Sheller {

// Opens a document, folder or web address with the program the desktop has for it. True when
// the desktop took it; False for an empty target, a missing file or no program for it. Shows
// nothing either way. A null parameters or directory text is absent.
bool ShellOpen(const QString& target, const QString& operation, const QString& parameters = QString(),
    const QString& directory = QString(), int showCommand = 0);

} // namespace Sheller
