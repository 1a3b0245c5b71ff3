#include "engine/settings.h"

#include "platform/platform.h"
#include "vindle.h"

WindowSettings settings;

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

// The number comes from the build (project(VERSION) in CMakeLists.txt).
VINDLE_API int getZQGameVersion(void) { return VINDLE_VERSION; }

VINDLE_API void pauseGame(int milliseconds) {
    // The platform's sleep reads the count as unsigned: -1 would never wake.
    if (milliseconds <= 0) return;
    platformSleep(static_cast<uint32_t>(milliseconds));
}

VINDLE_API void asyncRun(AsyncRunFunc function, void* argument) {
    if (function) platformStartThread(function, argument);
}
}  // extern "C"
