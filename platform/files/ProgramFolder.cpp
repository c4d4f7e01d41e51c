#include "platform/files/ProgramFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace files {

QString ProgramFolder()
{
    QString folder = qEnvironmentVariable("TESSEL_HOME");
    if (folder.isEmpty()) {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
        folder = config + QStringLiteral("/tessel");
    }
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString ProgramFile(const QString& name) { return ProgramFolder() + QLatin1Char('/') + name; }

} // namespace files
