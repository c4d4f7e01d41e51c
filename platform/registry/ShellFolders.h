#pragma once

#include <QString>

namespace registry {

// Where the registry keeps the user's shell folders (under HKEY_CURRENT_USER).
extern const QString ShellFoldersKey;

// Fills the shell-folder values "Desktop" and "Personal" from this desktop's own user folders
// where the registry has none; values already there are left as they are. False when the
// registry's file could not be written: the values it lacked are still missing there.
bool FillShellFolders();

// This desktop's own folder for a shell-folder value name ("Desktop" or "Personal"); empty for
// any other name.
QString UserFolder(const QString& name);

} // namespace registry
