// Linux backend: lock, threads, time, process and console.
//
// What this backend does differently from Windows (all of platform.h is
// implemented; nothing is missing):
//  - paths: '\\' separators and any letter case are resolved by walking the
//    folders (linux/files.cpp); the short path is the resolved real path, as
//    there are no 8.3 names; a frame file is an ordinary file, standing in for
//    the archive attribute;
//  - console: ANSI colours, and only when stdout is a terminal; no debugger
//    channel (platformDebugOutput does nothing);
//  - text: glyphs from FreeType through fontconfig's match for SimSun; a game
//    string is UTF-8 when it is valid UTF-8, else code page 936;
//  - present: MIT-SHM (XShmPutImage) into the GLX window when the X server
//    offers it and the visual is 24-bit true colour; VINDLE_PRESENT=gl, a
//    remote server or another visual leave it to one glDrawPixels;
//  - dialogs: a small Xlib/Xft box in place of MessageBoxA, owned through the
//    X window that GLX reports at start-up; an input-only window laid over
//    the owner while the box is up stands in for the disabled owner;
//  - keyboard: XKB's detectable auto-repeat on GLUT's connection, so repeats
//    arrive as presses only, as on Windows; whether a key is down comes from
//    the X server's key map;
//  - largest window: the X screen's size (Windows' maximum tracking size);
//  - window titles: also written as UTF-8 (_NET_WM_NAME) beside GLUT's Latin-1;
//  - sound: SDL2_mixer in place of MCI, files decoded whole; the error texts
//    come from core/messages.h; a machine without audio output plays on a
//    silent device (PLATFORM_SOUND_SILENCED once);
//  - executable path: /proc/self/exe.
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "platform/platform.h"
#include "platform/linux/text.h"

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
    timespec wait{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) == -1 && errno == EINTR) {
    }
}

char platformPathSeparator() { return '/'; }

size_t platformExecutablePath(char* dest, size_t size) {
    if (size == 0) return 0;
    ssize_t n = readlink("/proc/self/exe", dest, size - 1);
    if (n <= 0 || static_cast<size_t>(n) >= size - 1) {
        dest[0] = '\0';
        return 0;
    }
    dest[n] = '\0';
    return static_cast<size_t>(n);
}

void platformDirectoryPart(const char* path, char* dest, size_t size) {
    if (size == 0) return;
    const char* slash = strrchr(path, '/');
    size_t length = slash ? static_cast<size_t>(slash - path) + 1 : 0;
    if (length >= size) length = size - 1;
    memcpy(dest, path, length);
    dest[length] = '\0';
}

void platformMessageLine(const char* text) {
    // The game's GBK strings inside a message become UTF-8 like the rest.
    fputs(gameTextAsUtf8(text).c_str(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

void platformWarningLine(const char* text) {
    // Colour only on a terminal: a redirected log gets the plain line.
    const bool terminal = isatty(fileno(stdout));
    if (terminal) fputs("\x1b[33m", stdout);
    fputs(gameTextAsUtf8(text).c_str(), stdout);
    if (terminal) {
        fflush(stdout);  // the line shows in yellow before the colour is reset
        fputs("\x1b[0m", stdout);
    }
    fputc('\n', stdout);
    fflush(stdout);
}

// Linux has no debugger channel for plain text; debuggers read the console.
void platformDebugOutput(const char*) {}

// Any thread may exit once the window thread rests between frames.
bool platformExitsOnWindowThread() { return false; }
// SDL_mixer stops its device by itself at exit.
void platformBeforeExit() {}
