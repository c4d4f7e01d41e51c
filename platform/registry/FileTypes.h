#pragma once

#include <QString>

// File types registered under HKEY_CLASSES_ROOT reach the desktop as freedesktop associations:
// an extension key (".avi", default value a program id) whose program has an open command
// ("<id>\shell\open\command", default value "<executable> %1") makes the program's desktop entry
// in the user's applications folder list the extension's media type, and makes that entry the
// type's default in the user's mimeapps.list. Entries for other types and other programs stay.
// An extension without a known media type stays in the registry only.
namespace registry {

// Called by the store after a value under HKEY_CLASSES_ROOT was written.
void MirrorFileTypes(const QString& subKey, const QString& valueName);

// The media type of an extension such as ".avi" by its name alone; empty when none is known.
QString MediaTypeOfExtension(const QString& extension);

// The desktop entry file name written for a program id.
QString DesktopEntryId(const QString& progId);

// The folders written to: the user's applications folder and the folder of mimeapps.list.
QString ApplicationsFolder();
QString MimeAppsListPath();

} // namespace registry
