#include "platform/files/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
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
    // Made once for each place it is asked for: the player reads its hand-off file from it twice
    // a second.
    static QString made;
    static QString madePath;
    if (folder != made || !QFileInfo(madePath).isDir()) {
        QDir().mkpath(folder);
        made = folder;
        madePath = QDir(folder).absolutePath();
    }
    return madePath;
}

QString ProgramFile(const QString& name) { return ProgramFolder() + QLatin1Char('/') + name; }

} // namespace files
