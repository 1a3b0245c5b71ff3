#include "core/process.h"

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/platform.h"

namespace {

thread_local bool isWindowThread = false;
std::atomic<bool> windowRunning{false};
std::atomic<bool> calledApi{false};
// The status another thread asked the window thread to end the process with.
constexpr int kNoExitRequest = INT_MIN;
std::atomic<int> exitRequest{kNoExitRequest};
// Set by the first exit handler to run, whoever called exit.
std::atomic<bool> exiting{false};

void noteExiting() { exiting.store(true); }

std::timed_mutex& windowGate() {
    static std::timed_mutex* const gate = new std::timed_mutex;  // never destroyed
    return *gate;
}

[[noreturn]] void finishProcess(int status) {
    platformBeforeExit();
    fflush(stdout);
    exit(status);
}

}  // namespace

void noteApiCall() {
    // Read first: threads calling all the time need not share a written line.
    if (!calledApi.load(std::memory_order_relaxed)) calledApi.store(true, std::memory_order_relaxed);
}
bool apiCalled() { return calledApi.load(std::memory_order_relaxed); }
void forgetApiCalls() { calledApi.store(false, std::memory_order_relaxed); }

void becomeWindowThread() {
    isWindowThread = true;
    windowGate().lock();
}

void windowLoopStarting() {
    windowRunning.store(true);
    // After glutInit: handlers run in reverse order, so this one runs before
    // GLUT's own clean-up, which closes the window.
    atexit(noteExiting);
}

void windowLoopEnded() {
    windowRunning.store(false);
    windowGate().unlock();
}

void restWithGateOpen(uint32_t milliseconds) {
    windowGate().unlock();
    platformSleep(milliseconds);
    windowGate().lock();
    const int requested = exitRequest.load();
    if (requested != kNoExitRequest) finishProcess(requested);
}

void onWindowClosed() {
    // GLUT's clean-up at exit closes the window too: the end is under way.
    if (exiting.load()) return;
    endProcess(0);
}

void endProcess(int status) {
    if (isWindowThread || !windowRunning.load()) finishProcess(status);
    // The window thread may be blocked (on the engine lock held by a dying
    // caller, or in a game's key handler), so every wait here is bounded.
    if (platformExitsOnWindowThread()) {
        // It ends the process when it next rests; failing that, this thread does.
        int expected = kNoExitRequest;
        exitRequest.compare_exchange_strong(expected, status);
        for (int waited = 0; waited < 2000; waited += 10) platformSleep(10);
    } else {
        // Another thread may exit once the window thread rests.
        windowGate().try_lock_for(std::chrono::seconds(2));
    }
    finishProcess(status);
}
