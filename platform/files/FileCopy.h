#pragma once

#include <QString>

namespace files {

// Copies a file's content to another path, replacing a file that is there. The target is written
// whole or not at all: a copy that fails leaves an existing target as it was. A file is never
// copied onto itself. False when nothing was copied.
bool CopyFile(const QString& source, const QString& target);

} // namespace files
