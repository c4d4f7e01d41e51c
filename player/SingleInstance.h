#pragma once

#include <QString>

// One running player per program folder. The running player holds a lock file there (or, where
// the folder is read-only, in the user's runtime folder under a name made from the folder's
// path); the lock of a player that crashed counts as free, so it never blocks the next start.
namespace SingleInstance {

// Takes the lock for this process. False when another running process holds it, or when no
// lock can be made anywhere.
bool Acquire(const QString& lockPath);
// Gives the lock up, if this process holds it.
void Release();

} // namespace SingleInstance
