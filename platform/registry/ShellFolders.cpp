#include "platform/registry/ShellFolders.h"

#include "platform/registry/Registry.h"

#include <QDir>
#include <QStandardPaths>

namespace registry {

const QString ShellFoldersKey = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

namespace {

bool Fill(const QString& name)
{
    if (QueryValue(HKEY_CURRENT_USER, ShellFoldersKey, name)) return true;
    return SetValue(HKEY_CURRENT_USER, ShellFoldersKey, name, UserFolder(name));
}

} // namespace

bool FillShellFolders()
{
    const bool desktop = Fill(QStringLiteral("Desktop"));
    const bool documents = Fill(QStringLiteral("Personal"));
    return desktop && documents;
}

QString UserFolder(const QString& name)
{
    QStandardPaths::StandardLocation location;
    if (name.compare(QStringLiteral("Desktop"), Qt::CaseInsensitive) == 0)
        location = QStandardPaths::DesktopLocation;
    else if (name.compare(QStringLiteral("Personal"), Qt::CaseInsensitive) == 0)
        location = QStandardPaths::DocumentsLocation;
    else
        return {};
    const QString folder = QStandardPaths::writableLocation(location);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

} // namespace registry
