#pragma once

#include <QString>

namespace files {

// The folder where the program keeps its small settings and hand-off files: $TESSEL_HOME when it
// is set, otherwise $XDG_CONFIG_HOME/tessel (normally ~/.config/tessel). Created on first use.
QString ProgramFolder();

// A file of that folder, by name.
QString ProgramFile(const QString& name);

} // namespace files
