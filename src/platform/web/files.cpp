// Web backend: files, in the page's file system (emscripten's, in memory),
// where the game's Images/, Sprites/ and Sounds/ are unpacked under /game.
// Games are written on Windows, so a name given with '\' separators or in
// another letter case than the file's still finds it, as on Linux; a frame
// file is an ordinary file, standing in for the archive attribute; the short
// path is the resolved path, as there are no 8.3 names.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/platform.h"
#include "platform/web/text.h"

namespace {

bool exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool isRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Finds an entry of directory whose name equals name ignoring ASCII case.
bool findIgnoringCase(const std::string& directory, const std::string& name, std::string& found) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return false;
    bool matched = false;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            matched = true;
            if (name == entry->d_name) break;  // an exact match wins
        }
    }
    closedir(dir);
    return matched;
}

void copyOut(const std::string& value, char* dest, size_t size) {
    if (size == 0) return;
    size_t length = value.size() < size - 1 ? value.size() : size - 1;
    memcpy(dest, value.data(), length);
    dest[length] = '\0';
}

std::string joined(const std::string& directory, const std::string& name) {
    return directory.empty() || directory.back() == '/' ? directory + name : directory + "/" + name;
}

// The file or folder Windows would open for a game's path: each component
// that does not exist as written is looked up as UTF-8 (a GBK game's names)
// and then ignoring letter case.
bool resolveGamePath(const char* path, std::string& real) {
    if (!path || !*path) return false;
    // One '/' for every run of separators, as Windows reads them.
    std::string wanted;
    for (const char* p = path; *p; ++p) {
        const char c = *p == '\\' ? '/' : *p;
        if (c != '/' || wanted.empty() || wanted.back() != '/') wanted += c;
    }
    if (exists(wanted)) {
        real = wanted;
        return true;
    }
    std::string resolved = wanted[0] == '/' ? "/" : "";
    size_t start = wanted[0] == '/' ? 1 : 0;
    while (start <= wanted.size()) {
        size_t end = wanted.find('/', start);
        if (end == std::string::npos) end = wanted.size();
        const std::string component = wanted.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;  // doubled separators, as Windows allows
        std::string candidate = joined(resolved, component);
        if (!exists(candidate)) {
            const std::string name = gameStringAsUtf8(component.c_str());
            candidate = joined(resolved, name);
            if (name == component || !exists(candidate)) {
                std::string match;
                if (component == "." || component == ".." || !findIgnoringCase(resolved, name, match)) return false;
                candidate = joined(resolved, match);
            }
        }
        resolved = candidate;
    }
    if (!exists(resolved)) return false;
    real = resolved;
    return true;
}

}  // namespace

bool platformPathExists(const char* path) {
    std::string real;
    return resolveGamePath(path, real);
}

bool platformFileExists(const char* path) {
    std::string real;
    return resolveGamePath(path, real) && isRegularFile(real);
}

bool platformDiskPath(const char* path, char* dest, size_t size) {
    std::string real;
    if (!resolveGamePath(path, real) || real.size() >= size) {
        copyOut("", dest, size);
        return false;
    }
    copyOut(real, dest, size);
    return true;
}

FILE* platformOpenForReading(const char* path) {
    std::string real;
    if (!resolveGamePath(path, real) || !isRegularFile(real)) return nullptr;
    return fopen(real.c_str(), "rb");
}

bool platformListPngFiles(const char* folder, void (*found)(const char* name, void* context), void* context) {
    std::string real;
    if (!resolveGamePath(folder, real)) return false;
    DIR* dir = opendir(real.c_str());
    if (!dir) return false;
    while (dirent* entry = readdir(dir)) {
        const size_t length = strlen(entry->d_name);
        if (length < 4 || strcasecmp(entry->d_name + length - 4, ".png") != 0) continue;
        if (strchr(entry->d_name, '\\')) continue;
        // An ordinary file stands in for the archive attribute.
        if (!isRegularFile(real + "/" + entry->d_name)) continue;
        found(entry->d_name, context);
    }
    closedir(dir);
    return true;
}

// No short names here: the sound layer takes the resolved path.
bool platformShortPath(const char* path, char* dest, size_t size) { return platformDiskPath(path, dest, size); }
