#pragma once

#include <QList>
#include <QString>

namespace files {

// Kinds of drive, numbered as the program's folder browser counts them.
enum class DriveType { Unknown = 0, Removable = 1, Fixed = 2, Network = 3, CDRom = 4, RamDisk = 5 };

struct Drive {
    QString path; // the mount point, "/" or "/media/user/STICK"
    DriveType type;
    bool ready;
    QString volumeName; // the file system's label; may be empty
};

// The drives a user picks folders from: the root file system, the one holding the home folder,
// and the media mounted under /media and /run/media, in the mount table's order.
QList<Drive> Drives();

// The kind of a mounted file system, from its type and where it is mounted.
DriveType KindOfDrive(const QString& fileSystemType, const QString& mountPoint);

} // namespace files
