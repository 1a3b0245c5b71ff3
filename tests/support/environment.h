// Environment variables and the test program's own path, on Linux and on
// Windows (under Wine).
#pragma once

#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

// Sets a variable, or removes it when value is null.
inline void setEnvironment(const char* name, const char* value) {
#if defined(_WIN32)
    _putenv_s(name, value ? value : "");
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

// The running test program's full path, as the system names it.
inline std::string testProgramPath() {
    char path[4096] = {};
#if defined(_WIN32)
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return n > 0 && n < sizeof path ? path : "";
#else
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : "";
#endif
}
