#include "engine/settings.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/diagnostics.h"
#include "engine/messages.h"
#include "platform/platform.h"
#include "vindle.h"

WindowSettings settings;

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

extern "C" {

VINDLE_API int getGameWidth(void) { return settings.gameWidth.load(std::memory_order_relaxed); }
VINDLE_API int getGameHeight(void) { return settings.gameHeight.load(std::memory_order_relaxed); }

VINDLE_API void setViewPortPosition(int x, int y) {
    settings.viewportX.store(x, std::memory_order_relaxed);
    settings.viewportY.store(y, std::memory_order_relaxed);
}
VINDLE_API int getViewPortPositionX(void) { return settings.viewportX.load(std::memory_order_relaxed); }
VINDLE_API int getViewPortPositionY(void) { return settings.viewportY.load(std::memory_order_relaxed); }

VINDLE_API void setBgColor(float red, float green, float blue) {
    settings.bgRed.store(red, std::memory_order_relaxed);
    settings.bgGreen.store(green, std::memory_order_relaxed);
    settings.bgBlue.store(blue, std::memory_order_relaxed);
}

VINDLE_API int getZQGameVersion(void) { return 20171208; }

VINDLE_API void pauseGame(int milliseconds) {
    // The platform's sleep reads the count as unsigned: -1 would never wake.
    if (milliseconds <= 0) return;
    platformSleep(static_cast<uint32_t>(milliseconds));
}

VINDLE_API void asyncRun(AsyncRunFunc function, void* argument) {
    if (function) platformStartThread(function, argument);
}

VINDLE_API void setResourcesDir(const char* directory) {
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

}  // extern "C"
