#include "engine/process.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/platform.h"

namespace {

thread_local bool isWindowThread = false;
std::atomic<bool> windowRunning{false};
std::atomic<bool> initCalled{false};

std::timed_mutex& windowGate() {
    static std::timed_mutex* const gate = new std::timed_mutex;  // never destroyed
    return *gate;
}

}  // namespace

void noteZqInitCalled() { initCalled.store(true); }
bool zqInitCalled() { return initCalled.load(); }

void becomeWindowThread() {
    isWindowThread = true;
    windowGate().lock();
}

void windowLoopStarting() { windowRunning.store(true); }

void windowLoopEnded() {
    windowRunning.store(false);
    windowGate().unlock();
}

void restWithGateOpen(uint32_t milliseconds) {
    windowGate().unlock();
    platformSleep(milliseconds);
    windowGate().lock();
}

void endProcess(int status) {
    // Another thread must wait until the window thread rests; the wait is
    // bounded because that thread may be blocked (on the engine lock held by
    // a dying caller, or in a game's key handler).
    if (!isWindowThread && windowRunning.load()) windowGate().try_lock_for(std::chrono::seconds(2));
    fflush(stdout);
    exit(status);
}
