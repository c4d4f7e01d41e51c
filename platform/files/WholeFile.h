#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace files {

// Puts what was written to the save file in its target's place only once every byte has reached
// the disk; otherwise the temporary file goes and the target stays as it was. False on any failure.
bool CommitWhole(QSaveFile& file);

// Puts two save files in their targets' places together: both new files once every byte of each
// has reached the disk, or, on any failure, both old ones (the temporary files go). The first
// target's old file is kept aside until the second is in place, so the two can go back together.
bool CommitPair(QSaveFile& first, QSaveFile& second);

// Replaces the file at path with bytes, the same way: the old file or the new one, never a part.
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

} // namespace files
