// Web backend: lock, threads, time, process and console, for a page built
// with emscripten. The window thread is the browser's own thread (GLUT's
// callbacks run there, between the browser's events); the game and asyncRun
// threads are web workers sharing the module's memory.
//
// What this backend does differently from Windows (all of platform.h is
// implemented):
//  - threads: pthreads on web workers, a pool of them started with the page;
//  - sleep: a worker sleeps; the browser's thread never blocks, so a sleep
//    there returns at once (it rests between GLUT's callbacks instead);
//  - process: the game lives in the page's file system under /game, its
//    program is /game/index.html; the process ends on the browser's thread,
//    which then stops every worker and the page shows the exit status;
//  - paths: '\\' separators and any letter case resolved by walking the
//    folders of the page's file system (web/files.cpp); the short path is
//    the resolved path; a frame file is an ordinary file;
//  - console: lines go to the page's console panel and, one by one, to the
//    browser's console; warnings are marked with ANSI yellow, which the page
//    shows in yellow (console.warn); no debugger channel;
//  - text: a game string is UTF-8 when it is valid UTF-8, else code page 936
//    (decoded by the browser's TextDecoder); VINDLE_ENCODING forces one;
//  - glyphs: canvas fillText with a Chinese font stack, thresholded to 1 bit;
//  - present: one putImageData on a 2D canvas laid over GLUT's canvas;
//  - dialogs: the browser's alert and confirm on its own thread, the caption
//    as the first line; the page neither draws nor takes input meanwhile;
//  - keyboard: whether a key is down comes from the page's key events;
//    leaving the page releases every key;
//  - largest window: 4096 by 4096 (a page scrolls; the limit is memory);
//  - window title: the page's title and heading;
//  - sound: Web Audio, each file decoded whole when first played, so a file
//    the browser cannot decode ends the game a moment after the play that
//    returned; until the player first touches the page, sounds wait
//    silently to start.
#include <emscripten.h>
#include <emscripten/threading.h>
#include <pthread.h>
#include <time.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "platform/platform.h"
#include "platform/web/text.h"

struct PlatformLock {
    pthread_mutex_t mutex;
};

PlatformLock* platformCreateLock() {
    auto* lock = new PlatformLock;
    pthread_mutex_init(&lock->mutex, nullptr);
    return lock;
}

void platformLock(PlatformLock* lock) { pthread_mutex_lock(&lock->mutex); }
void platformUnlock(PlatformLock* lock) { pthread_mutex_unlock(&lock->mutex); }

namespace {
struct ThreadStart {
    void (*entry)(void*);
    void* argument;
};

void* runThread(void* start) {
    ThreadStart copy = *static_cast<ThreadStart*>(start);
    delete static_cast<ThreadStart*>(start);
    copy.entry(copy.argument);
    return nullptr;
}
}  // namespace

bool platformStartThread(void (*entry)(void*), void* argument) {
    auto* start = new (std::nothrow) ThreadStart{entry, argument};
    if (!start) return false;
    pthread_t thread;
    if (pthread_create(&thread, nullptr, runThread, start) != 0) {
        delete start;
        return false;
    }
    pthread_detach(thread);
    return true;
}

void platformSleep(uint32_t milliseconds) {
    // Blocking the browser's thread would only spin it: its rest is the
    // time between GLUT's callbacks.
    if (emscripten_is_main_browser_thread()) return;
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

char platformPathSeparator() { return '/'; }

size_t platformExecutablePath(char* dest, size_t size) {
    static const char kProgram[] = "/game/index.html";
    if (size < sizeof kProgram) {
        if (size) dest[0] = '\0';
        return 0;
    }
    memcpy(dest, kProgram, sizeof kProgram);
    return sizeof kProgram - 1;
}

void platformDirectoryPart(const char* path, char* dest, size_t size) {
    if (size == 0) return;
    const char* slash = strrchr(path, '/');
    size_t length = slash ? static_cast<size_t>(slash - path) + 1 : 0;
    if (length >= size) length = size - 1;
    memcpy(dest, path, length);
    dest[length] = '\0';
}

// The browser's thread draws and ends the page; a worker that exits only
// asks it to.
bool platformExitsOnWindowThread() { return true; }

// A page is one game built with the engine; nothing loads it later.
bool platformProgramLinksEngine() { return true; }

void platformMessageLine(const char* text) {
    const std::string line = gameTextAsUtf8(text) + "\n";
    fputs(line.c_str(), stdout);
    fflush(stdout);
}

void platformWarningLine(const char* text) {
    // One write, so that no other thread's line comes between the colours.
    const std::string line = "\x1b[33m" + gameTextAsUtf8(text) + "\x1b[0m\n";
    fputs(line.c_str(), stdout);
    fflush(stdout);
}

// The browser's console already holds every line; there is no other channel.
void platformDebugOutput(const char*) {}
