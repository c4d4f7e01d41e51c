#pragma once

#include <QString>

// Registers the player as the program that opens files of an extension: the extension's key,
// the program's open command and its icon under HKEY_CLASSES_ROOT.
namespace Associate2 {

// Writes the three keys for one extension ("avi" or ".avi"); true only when all three writes
// succeed. Nothing is written when the executable does not exist.
bool AssociateExtension(const QString& exe, QString ext);

// The file name part of a path, trimmed of blanks, without one trailing NUL.
QString ExecutableFileName(const QString& path);

// True when a file exists at exactly that path.
bool ExecutableExists(const QString& path);

} // namespace Associate2
