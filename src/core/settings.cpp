#include "core/settings.h"

#include "core/redraw.h"
#include "platform/platform.h"
#include "vindle.h"

WindowSettings settings;

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
