#include "core/paths.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/process.h"
#include "platform/platform.h"
#include "vindle.h"

namespace {

// The resources directory may be set by one game thread while another builds
// a path from it, so it has a small lock of its own.
struct ResourcesDir {
    std::mutex lock;
    std::string path;
};
ResourcesDir& resourcesDir() {
    static ResourcesDir* const dir = new ResourcesDir;  // outlives exit handlers
    return *dir;
}

// The one the game set, or else the executable's directory.
std::string resolveResourcesDir() {
    ResourcesDir& dir = resourcesDir();
    {
        std::lock_guard<std::mutex> guard(dir.lock);
        if (!dir.path.empty()) return dir.path;
    }
    return getExeDirectory();
}

bool isLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Where the last component of path begins, and where its extension begins
// (its end when it has none).
void splitName(const char* path, size_t* name, size_t* extension) {
    const bool pairs = platformDoubleByteString(path);
    size_t start = path[0] != '\0' && path[1] == ':' ? 2 : 0;
    size_t dot = std::string::npos, i = start;
    for (; path[i] != '\0'; ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (pairs && isLeadByte(c)) {
            if (path[i + 1] == '\0') break;
            ++i;
        } else if (c == '/' || c == '\\') {
            start = i + 1;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    while (path[i] != '\0') ++i;
    *name = start;
    *extension = dot == std::string::npos ? i : dot;
}

}  // namespace

std::string fileExtension(const char* path) {
    size_t name, extension;
    splitName(path, &name, &extension);
    return path + extension;
}

std::string fileBaseName(const char* path) {
    size_t name, extension;
    splitName(path, &name, &extension);
    return std::string(path + name, extension - name);
}

void lowerCaseGameString(char* text) {
    if (!text) return;
    const bool pairs = platformDoubleByteString(text);
    for (auto* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
        if (pairs && isLeadByte(*p)) {
            if (!p[1]) break;
            ++p;  // both bytes of a double-byte character stay
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = static_cast<unsigned char>(*p - 'A' + 'a');
        }
    }
}

std::string getExeDirectory() {
    std::string path(kPathBufferSize, '\0');
    if (platformExecutablePath(&path[0], path.size()) == 0) {
        printWarning(kMsgExeDirFailed);
        return "";  // an empty directory: paths become relative to the working directory
    }
    std::string directory(kPathBufferSize, '\0');
    platformDirectoryPart(path.c_str(), &directory[0], directory.size());
    directory.resize(strlen(directory.c_str()));
    return directory;
}

std::string joinPath(const std::string& directory, const char* name) {
    // An empty directory (the executable's could not be read) leaves the path
    // relative to the working directory instead of rooting it.
    std::string path = directory;
    if (!path.empty()) path += platformPathSeparator();
    return path += name ? name : "";
}

bool fitsPathBuffer(std::string& path) {
    if (path.size() < kPathBufferSize) return true;
    path.resize(kPathBufferSize - 1);
    return false;
}

bool buildResourcePath(std::string& dest, const char* folder, const char* name) {
    platformNoteGameString(name);
    dest = joinPath(joinPath(resolveResourcesDir(), folder), name);
    return fitsPathBuffer(dest);
}

extern "C" VINDLE_API void setResourcesDir(const char* directory) {
    noteApiCall();
    if (!directory) directory = "";
    size_t length = strlen(directory);
    if (length >= kPathBufferSize) {
        printWarning(kMsgResourcesDirTooLong, static_cast<int>(kPathBufferSize - 1));
        return;
    }
    ResourcesDir& dir = resourcesDir();
    std::lock_guard<std::mutex> guard(dir.lock);
    dir.path = directory;
}
