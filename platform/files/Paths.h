#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace files {

// The full form of a path that exists: absolute, with "." and ".." resolved; empty when nothing
// exists there.
QString LongPathName(const QString& path);

// The length of a file in bytes; nothing when it can't be read.
std::optional<qint64> FileLength(const QString& path);

// The last-modification time of a file or folder; nothing when it can't be read.
std::optional<QDateTime> ModifiedTime(const QString& path);

// The plain files (not folders) that a pattern such as "/media/cd/MPEGav/*.dat" names, as full
// paths in the folder's own order. Every part of the pattern matches without regard to letter
// case, and the returned paths carry the names as they are on disk. "*" and "?" are wildcards
// in the last part only.
QStringList FindFiles(const QString& pattern);

} // namespace files
