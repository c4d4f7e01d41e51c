#include "player/SingleInstance.h"

#include <QCoreApplication>
#include <QLockFile>
#include <memory>

namespace SingleInstance {

namespace {
std::unique_ptr<QLockFile> held;
}

bool Acquire(const QString& lockPath)
{
    if (held && held->fileName() == lockPath) return true;
    Release();
    auto lock = std::make_unique<QLockFile>(lockPath);
    // A lock is stale only when its process is gone, however old it is.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        if (!held) qAddPostRoutine(Release);
        held = std::move(lock);
        return true;
    }
    return lock->error() != QLockFile::LockFailedError;
}

void Release()
{
    if (held) held->unlock();
    held.reset();
}

} // namespace SingleInstance
