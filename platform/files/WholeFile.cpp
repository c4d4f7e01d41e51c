#include "platform/files/WholeFile.h"

#include <QSaveFile>
#include <unistd.h>

namespace files {

bool CommitWhole(QSaveFile& file)
{
    if (!file.isOpen()) return false;
    // QSaveFile keeps small writes in its buffer, so write() reports success for bytes that a full
    // disk refuses only when they are flushed; this Qt's commit() then still renames the (empty)
    // temporary file over the target. Flush and sync here, where a failure can still be seen.
    if (file.error() != QFileDevice::NoError || !file.flush() || ::fsync(file.handle()) != 0) {
        file.cancelWriting();
        file.commit(); // removes the temporary file
        return false;
    }
    return file.commit();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return CommitWhole(file);
}

} // namespace files
