#pragma once
// A system-wide exclusive lock named by a text, held until the process ends.
// It is an flock on "<id>.lock" in $XDG_RUNTIME_DIR (else in the temporary
// folder), so the kernel drops it on every kind of exit, a crash included.
#include <QString>

namespace instancelock {

enum class Result {
    Acquired,      // this process now holds the lock, for the rest of its life
    HeldElsewhere, // another process holds it
    Unavailable,   // the lock file could not be created or locked
};

// Where the lock for `id` lives.
QString lockPath(const QString &id);

// Takes the lock without waiting. The descriptor is deliberately never
// closed (closing would release the lock) and is not inherited by children.
// The lock belongs to the process: asking again for a lock this process
// already holds succeeds (a second main window in one process is not a
// second copy of the program).
Result tryAcquire(const QString &id);

} // namespace instancelock
