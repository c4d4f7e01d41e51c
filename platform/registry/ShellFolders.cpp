#include "platform/registry/ShellFolders.h"

#include "platform/registry/Registry.h"

#include <QDir>
#include <QStandardPaths>

namespace registry {

const QString ShellFoldersKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

namespace {

void Fill(const QString& name, QStandardPaths::StandardLocation location)
{
    if (QueryValue(HKEY_CURRENT_USER, ShellFoldersKey, name)) return;
    QString folder = QStandardPaths::writableLocation(location);
    if (folder.isEmpty()) folder = QDir::homePath();
    SetValue(HKEY_CURRENT_USER, ShellFoldersKey, name, folder);
}

} // namespace

void FillShellFolders()
{
    Fill(QStringLiteral("Desktop"), QStandardPaths::DesktopLocation);
    Fill(QStringLiteral("Personal"), QStandardPaths::DocumentsLocation);
}

} // namespace registry
