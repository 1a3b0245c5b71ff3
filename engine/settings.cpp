#include "engine/settings.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/diagnostics.h"
#include "engine/messages.h"
#include "engine/redraw.h"
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
    int n = snprintf(dest, size, "%s%c%s", directory, platformPathSeparator(), name ? name : "");
    return n >= 0 && static_cast<size_t>(n) < size;
}

bool buildResourcePath(char* dest, const char* folder, const char* name) {
    char directory[kPathBufferSize];
    resolveResourcesDir(directory);
    const char separator = platformPathSeparator();
    int n = snprintf(dest, kPathBufferSize, "%s%c%s%c%s", directory, separator, folder, separator, name ? name : "");
    return n >= 0 && static_cast<size_t>(n) < kPathBufferSize;
}

extern "C" {

VINDLE_API int getGameWidth(void) { return settings.gameWidth.load(std::memory_order_relaxed); }
VINDLE_API int getGameHeight(void) { return settings.gameHeight.load(std::memory_order_relaxed); }

VINDLE_API void setViewPortPosition(int x, int y) {
    const bool moved = settings.viewportX.exchange(x, std::memory_order_relaxed) != x;
    if (settings.viewportY.exchange(y, std::memory_order_relaxed) != y || moved) noteSceneChange();
}
VINDLE_API int getViewPortPositionX(void) { return settings.viewportX.load(std::memory_order_relaxed); }
VINDLE_API int getViewPortPositionY(void) { return settings.viewportY.load(std::memory_order_relaxed); }

VINDLE_API void setBgColor(float red, float green, float blue) {
    bool changed = settings.bgRed.exchange(red, std::memory_order_relaxed) != red;
    changed = settings.bgGreen.exchange(green, std::memory_order_relaxed) != green || changed;
    changed = settings.bgBlue.exchange(blue, std::memory_order_relaxed) != blue || changed;
    if (changed) noteSceneChange();
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
