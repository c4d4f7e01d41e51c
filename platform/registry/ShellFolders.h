#pragma once

#include <QString>

namespace registry {

// Where the registry keeps the user's shell folders (under HKEY_CURRENT_USER).
extern const QString ShellFoldersKey;

// Fills the shell-folder values "Desktop" and "Personal" from this desktop's own user folders
// where the registry has none; values already there are left as they are.
void FillShellFolders();

} // namespace registry
