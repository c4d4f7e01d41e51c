#pragma once

#include <QString>

// One running player per program folder. The running player holds a lock file there; the lock
// of a player that crashed counts as free, so it never blocks the next start.
namespace SingleInstance {

// Takes the lock for this process. False when another running process holds it. A folder where
// no lock can be made counts as free: the program then starts as the only instance.
bool Acquire(const QString& lockPath);
// Gives the lock up, if this process holds it.
void Release();

} // namespace SingleInstance
