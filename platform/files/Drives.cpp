#include "platform/files/Drives.h"

#include <QDir>
#include <QStorageInfo>

namespace files {

DriveType KindOfDrive(const QString& fileSystemType, const QString& mountPoint)
{
    const QString type = fileSystemType.toLower();
    static const QStringList network = {QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"),
        QStringLiteral("smb3"), QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("sshfs"),
        QStringLiteral("9p"), QStringLiteral("afs"), QStringLiteral("davfs")};
    if (network.contains(type)) return DriveType::Network;
    if (type == QLatin1String("iso9660") || type == QLatin1String("udf")) return DriveType::CDRom;
    if (type == QLatin1String("tmpfs") || type == QLatin1String("ramfs")) return DriveType::RamDisk;
    if (mountPoint.startsWith(QLatin1String("/media/")) || mountPoint.startsWith(QLatin1String("/run/media/")))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QList<Drive> Drives()
{
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    QList<Drive> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString path = volume.rootPath();
        const bool wanted = path == QLatin1String("/") || path == home || path.startsWith(QLatin1String("/media/"))
            || path.startsWith(QLatin1String("/run/media/"));
        if (!wanted) continue;
        bool known = false;
        for (const Drive& d : drives)
            known = known || d.path == path;
        if (known) continue;
        drives.append({path, KindOfDrive(QString::fromUtf8(volume.fileSystemType()), path), volume.isReady(),
            volume.name()});
    }
    return drives;
}

} // namespace files
