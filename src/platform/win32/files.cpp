// Windows backend, files, through the C runtime's own directory search.
//   implemented: every function of the section.
//   differs from Windows: nothing; names ignore letter case on the system.
// windows.h comes first: the others build on it.
#include <windows.h>

#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

bool platformPathExists(const char* path) { return path && _access(path, 0) == 0; }

// A folder or a device (a name such as "CON") is no picture or sound.
bool platformFileExists(const char* path) {
    if (!path) return false;
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

// Names ignore letter case here: the path as given is the disk's.
bool platformDiskPath(const char* path, char* dest, size_t size) {
    if (size == 0) return false;
    const size_t length = path ? strlen(path) : 0;
    if (!path || length >= size || _access(path, 0) != 0) {
        dest[0] = '\0';
        return false;
    }
    memcpy(dest, path, length + 1);
    return true;
}

FILE* platformOpenForReading(const char* path) { return platformFileExists(path) ? fopen(path, "rb") : nullptr; }

bool platformListPngFiles(const char* folder, void (*found)(const char* name, void* context), void* context) {
    std::string pattern = std::string(folder) + "\\*.png";
    _finddata64i32_t entry;
    intptr_t search = _findfirst64i32(pattern.c_str(), &entry);
    // No match and no folder look alike here; only the latter is a failure.
    if (search == -1) return _access(folder, 0) == 0;
    do {
        // A frame is an entry with the archive attribute, which Windows sets
        // on files written; a folder named x.png lacks it.
        if (entry.attrib & _A_ARCH) found(entry.name, context);
    } while (_findnext64i32(search, &entry) == 0);
    _findclose(search);
    return true;
}

bool platformShortPath(const char* path, char* dest, size_t size) {
    if (size == 0) return false;
    DWORD n = GetShortPathNameA(path, dest, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
        dest[0] = '\0';
        return false;
    }
    return true;
}
