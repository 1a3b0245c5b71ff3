#include "core/lock.h"

#include "platform/platform.h"

namespace {
// Made on first use (thread-safe), never destroyed: another thread may still
// take it while the process exits.
PlatformLock* engineLock() {
    static PlatformLock* const lock = platformCreateLock();
    return lock;
}
}  // namespace

void lockEngine() { platformLock(engineLock()); }
void unlockEngine() { platformUnlock(engineLock()); }
