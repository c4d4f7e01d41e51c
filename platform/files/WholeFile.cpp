#include "platform/files/WholeFile.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <unistd.h>

namespace files {

namespace {

void Discard(QSaveFile& file)
{
    file.cancelWriting();
    file.commit(); // removes the temporary file
}

// Brings what was written to the save file onto the disk, or discards it. QSaveFile keeps small
// writes in its buffer, so write() reports success for bytes that a full disk refuses only when
// they are flushed; this Qt's commit() then still renames the (empty) temporary file over the
// target. Flush and sync here, where a failure can still be seen.
bool Settle(QSaveFile& file)
{
    if (!file.isOpen()) return false;
    if (file.error() != QFileDevice::NoError || !file.flush() || ::fsync(file.handle()) != 0) {
        Discard(file);
        return false;
    }
    return true;
}

enum class Kept { Nothing, Linked, Moved, Failed };

// Keeps the file at target reachable as kept: a second link to it or, where the file system has no
// links, the file itself moved aside. Nothing when there is no file at target.
Kept KeepAside(const QByteArray& target, const QByteArray& kept)
{
    ::unlink(kept.constData());
    if (::link(target.constData(), kept.constData()) == 0) return Kept::Linked;
    if (errno == ENOENT) return Kept::Nothing;
    if (::rename(target.constData(), kept.constData()) == 0) return Kept::Moved;
    return errno == ENOENT ? Kept::Nothing : Kept::Failed;
}

} // namespace

bool CommitWhole(QSaveFile& file) { return Settle(file) && file.commit(); }

bool CommitPair(QSaveFile& first, QSaveFile& second)
{
    if (!Settle(first)) {
        if (second.isOpen()) Discard(second);
        return false;
    }
    if (!Settle(second)) {
        Discard(first);
        return false;
    }
    const QByteArray target = QFile::encodeName(first.fileName());
    const QByteArray kept = target + ".previous";
    const Kept old = KeepAside(target, kept);
    if (old == Kept::Failed) {
        Discard(first);
        Discard(second);
        return false;
    }
    if (!first.commit()) {
        if (old == Kept::Moved) ::rename(kept.constData(), target.constData());
        else if (old == Kept::Linked) ::unlink(kept.constData());
        Discard(second);
        return false;
    }
    if (!second.commit()) {
        if (old == Kept::Nothing) ::unlink(target.constData());
        else ::rename(kept.constData(), target.constData());
        return false;
    }
    if (old != Kept::Nothing) ::unlink(kept.constData());
    return true;
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
