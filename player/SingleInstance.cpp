#include "player/SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

namespace SingleInstance {

namespace {

std::unique_ptr<QLockFile> held;

enum class Outcome { Taken, HeldElsewhere, CannotLock };

Outcome TryLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is stale only when its process is gone, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        if (!held) qAddPostRoutine(Release);
        held = std::move(lock);
        return Outcome::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? Outcome::HeldElsewhere : Outcome::CannotLock;
}

// Where the lock of a program folder that cannot hold one (a read-only folder) is kept instead:
// the user's runtime folder, under a name every start with that program folder computes alike.
QString StandInLockPath(const QString& lockPath)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    const QFileInfo info(lockPath);
    const QString canonical = info.dir().canonicalPath() + QLatin1Char('/') + info.fileName();
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return folder + QStringLiteral("/tessel-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

} // namespace

bool Acquire(const QString& lockPath)
{
    if (held && held->fileName() == lockPath) return true;
    Release();
    for (const QString& path : {lockPath, StandInLockPath(lockPath)}) {
        switch (TryLock(path)) {
        case Outcome::Taken: return true;
        case Outcome::HeldElsewhere: return false;
        case Outcome::CannotLock: break;
        }
    }
    // Two players must never share one folder: without any lock this start does not run.
    std::fprintf(stderr, "tessel: no instance lock can be made for %s; not starting\n",
        qPrintable(QFileInfo(lockPath).path()));
    return false;
}

void Release()
{
    if (held) held->unlock();
    held.reset();
}

} // namespace SingleInstance
