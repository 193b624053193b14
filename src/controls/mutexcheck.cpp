#include "controls/mutexcheck.h"

#include "platform/instancelock.h"

#include <unistd.h>

void MutexCheck::check()
{
    if (m_checked)
        return;
    m_checked = true;
    if (m_mutexId.isEmpty())
        return;
    if (instancelock::tryAcquire(m_mutexId) == instancelock::Result::HeldElsewhere) {
        // Nothing of the half-built program may run: no destructors, no
        // atexit handlers, no buffered output.
        ::_exit(-1);
    }
}
