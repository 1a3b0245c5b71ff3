#include "core/paths.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "platform/platform.h"
#include "vindle.h"

namespace {

// The resources directory may be set by one game thread while another builds
// a path from it, so it has a small lock of its own.
struct ResourcesDir {
    std::mutex lock;
    char path[kPathBufferSize] = {};
};
ResourcesDir& resourcesDir() {
    static ResourcesDir* const dir = new ResourcesDir;  // outlives exit handlers
    return *dir;
}

// Writes the resources directory into dest (kPathBufferSize bytes): the one
// the game set, or else the executable's directory.
void resolveResourcesDir(char* dest) {
    ResourcesDir& dir = resourcesDir();
    {
        std::lock_guard<std::mutex> guard(dir.lock);
        if (dir.path[0] != '\0') {
            memcpy(dest, dir.path, kPathBufferSize);
            return;
        }
    }
    getExeDirectory(dest);
}

}  // namespace

void getExeDirectory(char* dest) {
    memset(dest, 0, kPathBufferSize);
    char path[kPathBufferSize];
    if (platformExecutablePath(path, sizeof path) == 0) {
        printWarning(kMsgExeDirFailed);
        path[0] = '\0';  // an empty directory: paths become relative to the working directory
    }
    platformDirectoryPart(path, dest, kPathBufferSize);
}

bool joinPath(char* dest, size_t size, const char* directory, const char* name) {
    // An empty directory (the executable's could not be read) leaves the path
    // relative to the working directory instead of rooting it.
    int n = *directory ? snprintf(dest, size, "%s%c%s", directory, platformPathSeparator(), name ? name : "")
                       : snprintf(dest, size, "%s", name ? name : "");
    return n >= 0 && static_cast<size_t>(n) < size;
}

bool buildResourcePath(char* dest, const char* folder, const char* name) {
    platformNoteGameString(name);
    char directory[kPathBufferSize];
    resolveResourcesDir(directory);
    char folderPath[kPathBufferSize];
    // When the folder's path is cut, the name still follows it for the message.
    const bool folderFits = joinPath(folderPath, sizeof folderPath, directory, folder);
    return joinPath(dest, kPathBufferSize, folderPath, name) && folderFits;
}

extern "C" VINDLE_API void setResourcesDir(const char* directory) {
    if (!directory) directory = "";
    size_t length = strlen(directory);
    if (length >= kPathBufferSize) {
        printWarning(kMsgResourcesDirTooLong, static_cast<int>(kPathBufferSize - 1));
        return;
    }
    ResourcesDir& dir = resourcesDir();
    std::lock_guard<std::mutex> guard(dir.lock);
    memcpy(dir.path, directory, length + 1);
}
