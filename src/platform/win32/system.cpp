// Windows backend, system: lock, threads and time, process, console, and the
// DLL entry.
//   implemented: every function of these sections, each by the Windows
//     service of its name.
//   differs from Windows: nothing. Where a call fails (no console, no
//     debugger) it does what the Windows call does then: nothing, or an empty
//     result.
// windows.h comes first: the others build on it.
#include <windows.h>

#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

struct PlatformLock {
    CRITICAL_SECTION section;
};

PlatformLock* platformCreateLock() {
    auto* lock = new PlatformLock;
    InitializeCriticalSection(&lock->section);
    return lock;
}

void platformLock(PlatformLock* lock) { EnterCriticalSection(&lock->section); }
void platformUnlock(PlatformLock* lock) { LeaveCriticalSection(&lock->section); }

bool platformStartThread(void (*entry)(void*), void* argument) {
    return _beginthread(entry, 0, argument) != static_cast<uintptr_t>(-1);
}

void platformSleep(uint32_t milliseconds) { Sleep(milliseconds); }

char platformPathSeparator() { return '\\'; }

size_t platformExecutablePath(char* dest, size_t size) {
    if (size == 0) return 0;
    DWORD n = GetModuleFileNameA(nullptr, dest, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
        dest[0] = '\0';
        return 0;
    }
    return n;
}

void platformDirectoryPart(const char* path, char* dest, size_t size) {
    if (size == 0) return;
    char drive[_MAX_DRIVE] = {};
    char* directory = static_cast<char*>(calloc(strlen(path) + 1, 1));
    if (!directory) {
        dest[0] = '\0';
        return;
    }
    _splitpath(path, drive, directory, nullptr, nullptr);
    snprintf(dest, size, "%s%s", drive, directory);
    free(directory);
}

void platformMessageLine(const char* text) {
    printf("%s\n", text);
    fflush(stdout);
}

void platformWarningLine(const char* text) {
    // The attribute calls fail quietly when standard output is no console.
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    SetConsoleTextAttribute(console, 6);
    printf("%s\n", text);
    fflush(stdout);
    SetConsoleTextAttribute(console, 7);
}

void platformDebugOutput(const char* text) { OutputDebugStringA(text); }

namespace {
bool loadedWithProgram = false;
}

// All set-up happens in zqInit; the entry only notes how the library came:
// Windows passes a non-null word to a library loaded with the program.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) loadedWithProgram = reserved != nullptr;
    return TRUE;
}

bool platformProgramLinksEngine() { return loadedWithProgram; }

// Wine's server killed processes whose game thread exited while the window
// thread drew; exit on the window thread never did.
bool platformExitsOnWindowThread() { return true; }
