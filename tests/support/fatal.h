// Death tests of fatal messages: the message box text is copied to standard
// error, where EXPECT_EXIT looks, and matched exactly, together with whether
// the engine lock was free while the box was up.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "core/lock.h"
#include "core/tables.h"
#include "platform/platform.h"
#include "platform/seam.h"

// Whether another thread can take the engine lock within a second. A fatal
// box must never be shown with the lock held: the window would stop drawing
// behind it and every game thread would wait.
inline bool engineLockTakenByAnotherThread() {
    auto taken = std::make_shared<std::atomic<bool>>(false);
    std::thread([taken] {
        lockEngine();
        unlockEngine();
        taken->store(true);
    }).detach();
    for (int i = 0; i < 100 && !taken->load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return taken->load();
}

inline int fatalBoxToStderr(const char* text, const char*, int, bool) {
    const bool free = engineLockTakenByAnotherThread();
    fprintf(stderr, "<box>%s</box>\n%s\n", text, free ? "engine lock free" : "engine lock held");
    return PLATFORM_BOX_IDOK;
}

// The status a fatal error ends the process with: exit(-1) reads as 255 where
// statuses have 8 bits (Linux), and as -1 on Windows.
#if defined(_WIN32)
constexpr int kFatalStatus = -1;
#else
constexpr int kFatalStatus = 255;
#endif

// Call first thing in the dying statement.
inline void reportFatalBoxes() { platformSetMessageBoxHook(fatalBoxToStderr); }

// What follows the box of a fatal message shown as it must be.
inline const char kLockFreeAfterBox[] = "</box>\nengine lock free";

// A pattern that matches text literally (in either of GoogleTest's regular
// expression flavours: POSIX on Linux, its own simple one on Windows).
inline std::string literally(const std::string& text) {
    std::string pattern;
    for (char c : text) {
        if (c && strchr(".[]{}()\\*+?^$|", c)) pattern += '\\';
        pattern += c;
    }
    return pattern;
}

// A pattern that matches exactly the box that shows message, shown with the
// engine lock free.
inline std::string boxShowing(const std::string& message) { return "<box>" + literally(message) + kLockFreeAfterBox; }
