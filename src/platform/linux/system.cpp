// Linux backend, system: lock, threads and time, process, console.
//   implemented: every function of these sections.
//   differs from Windows: a pthread mutex for the critical section and
//     detached pthreads for _beginthread; the executable's path from
//     /proc/self/exe; console colours as ANSI escapes, and only when standard
//     output is a terminal; no debugger channel (platformDebugOutput does
//     nothing); any thread may exit once the window thread rests; whether
//     the program was linked to the library is read from its dynamic
//     section (the libraries it needs), not from the loader's word.
#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/linux/text.h"
#include "platform/platform.h"

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
    // The game's GBK strings inside a message become UTF-8 like the rest;
    // the line goes out in one piece, so no other thread's output splits it.
    const std::string line = gameTextAsUtf8(text) + "\n";
    fputs(line.c_str(), stdout);
    fflush(stdout);
}

void platformWarningLine(const char* text) {
    // Colour only on a terminal: a redirected log gets the plain line. The
    // stream stays locked from the colour to the newline, so lines that
    // threads print at once are never glued into one.
    const bool terminal = isatty(fileno(stdout));
    flockfile(stdout);
    if (terminal) fputs("\x1b[33m", stdout);
    fputs(gameTextAsUtf8(text).c_str(), stdout);
    if (terminal) {
        fflush(stdout);  // the line shows in yellow before the colour is reset
        fputs("\x1b[0m", stdout);
    }
    fputc('\n', stdout);
    fflush(stdout);
    funlockfile(stdout);
}

// Linux has no debugger channel for plain text; debuggers read the console.
void platformDebugOutput(const char*) {}

// Any thread may exit once the window thread rests between frames.
bool platformExitsOnWindowThread() { return false; }

namespace {

// The strings a loaded object's dynamic section names under tag.
std::vector<std::string> dynamicStrings(const link_map* object, ElfW(Sxword) tag) {
    std::vector<std::string> found;
    if (!object || !object->l_ld) return found;
    ElfW(Addr) strings = 0;
    for (const ElfW(Dyn)* entry = object->l_ld; entry->d_tag != DT_NULL; ++entry)
        if (entry->d_tag == DT_STRTAB) strings = entry->d_un.d_ptr;
    if (!strings) return found;
    // Most machines' loaders relocate the address in place, some do not.
    if (strings < object->l_addr) strings += object->l_addr;
    for (const ElfW(Dyn)* entry = object->l_ld; entry->d_tag != DT_NULL; ++entry)
        if (entry->d_tag == tag) found.emplace_back(reinterpret_cast<const char*>(strings + entry->d_un.d_val));
    return found;
}

}  // namespace

bool platformProgramLinksEngine() {
    Dl_info info;
    link_map* engine = nullptr;
    if (!dladdr1(reinterpret_cast<void*>(&platformProgramLinksEngine), &info, reinterpret_cast<void**>(&engine),
                 RTLD_DL_LINKMAP))
        return false;
    const std::vector<std::string> engineName = dynamicStrings(engine, DT_SONAME);
    void* self = dlopen(nullptr, RTLD_LAZY);
    if (!self) return false;
    link_map* program = nullptr;
    bool linked = false;
    if (!engineName.empty() && dlinfo(self, RTLD_DI_LINKMAP, &program) == 0)
        for (const std::string& needed : dynamicStrings(program, DT_NEEDED)) linked = linked || needed == engineName[0];
    dlclose(self);
    return linked;
}
