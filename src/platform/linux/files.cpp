// Linux backend, files. Games are written on Windows, so a name given with
// '\' separators or in another letter case than the file on disk still finds it.
//   implemented: every function of the section.
//   differs from Windows: names are resolved by walking the folders, matching
//     each component ignoring letter case when the exact one is absent; a frame
//     file is an ordinary file, standing in for the archive attribute; the
//     short path is the resolved real path, as there are no 8.3 names.
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/linux/text.h"
#include "platform/platform.h"

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

}  // namespace

// Finds the file or folder that Windows would open for a game's path: '\'
// separators work and, when the exact path does not exist, each component is
// matched ignoring letter case. Returns false when nothing matches.
bool resolveGamePath(const char* path, std::string& real) {
    if (!path || !*path) return false;
    std::string wanted(path);
    for (char& c : wanted)
        if (c == '\\') c = '/';
    if (exists(wanted)) {
        real = wanted;
        return true;
    }
    // Walk component by component, matching each one ignoring letter case.
    std::string resolved = wanted[0] == '/' ? "/" : "";
    size_t start = wanted[0] == '/' ? 1 : 0;
    while (start <= wanted.size()) {
        size_t end = wanted.find('/', start);
        if (end == std::string::npos) end = wanted.size();
        std::string component = wanted.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;  // doubled separators, as Windows allows
        std::string candidate =
            resolved.empty() || resolved.back() == '/' ? resolved + component : resolved + "/" + component;
        if (!exists(candidate)) {
            // A GBK game's names are stored in UTF-8 on the disk.
            std::string name = component;
            if (encodingOf(component.c_str()) == GameEncoding::gbk) name = gameStringAsUtf8(component.c_str());
            std::string match = name;
            candidate = resolved.empty() || resolved.back() == '/' ? resolved + name : resolved + "/" + name;
            if (name == component || !exists(candidate)) {
                if (component == "." || component == ".." || !findIgnoringCase(resolved, name, match)) return false;
                candidate = resolved.empty() || resolved.back() == '/' ? resolved + match : resolved + "/" + match;
            }
        }
        resolved = candidate;
    }
    if (!exists(resolved)) return false;
    real = resolved;
    return true;
}

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
        size_t length = strlen(entry->d_name);
        if (length < 4 || strcasecmp(entry->d_name + length - 4, ".png") != 0) continue;
        if (strchr(entry->d_name, '\\')) continue;
        // An ordinary file stands in for the archive attribute: a folder named
        // x.png is not a frame.
        if (!isRegularFile(real + "/" + entry->d_name)) continue;
        found(entry->d_name, context);
    }
    closedir(dir);
    return true;
}

// Linux has no short names: the sound layer takes the real path.
bool platformShortPath(const char* path, char* dest, size_t size) { return platformDiskPath(path, dest, size); }
