// Windows backend: files, through the C runtime's own directory search.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

void copyOut(const char* value, size_t length, char* dest, size_t size) {
    if (size == 0) return;
    if (length > size - 1) length = size - 1;
    memcpy(dest, value, length);
    dest[length] = '\0';
}

// _splitpath on a path of any length: the pieces get buffers of its size.
void splitPath(const char* path, std::string* name, std::string* extension) {
    const size_t size = strlen(path) + 1;
    std::string nameBuffer(size, '\0'), extensionBuffer(size, '\0');
    _splitpath(path, nullptr, nullptr, &nameBuffer[0], &extensionBuffer[0]);
    if (name) *name = nameBuffer.c_str();
    if (extension) *extension = extensionBuffer.c_str();
}

}  // namespace

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

void platformExtension(const char* path, char* dest, size_t size) {
    std::string extension;
    splitPath(path, nullptr, &extension);
    copyOut(extension.data(), extension.size(), dest, size);
}

void platformBaseName(const char* path, char* dest, size_t size) {
    std::string name;
    splitPath(path, &name, nullptr);
    copyOut(name.data(), name.size(), dest, size);
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
