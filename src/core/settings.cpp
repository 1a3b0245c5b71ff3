#include "core/settings.h"

#include "core/requests.h"
#include "platform/platform.h"
#include "vindle.h"

WindowSettings settings;

namespace {
std::atomic<uint64_t> version{1};
}

void noteSceneChange() { version.fetch_add(1, std::memory_order_relaxed); }
uint64_t sceneVersion() { return version.load(std::memory_order_relaxed); }

extern "C" {

VINDLE_API void setGameSize(int width, int height) {
    const bool resized = settings.gameWidth.exchange(width, std::memory_order_relaxed) != width;
    if (settings.gameHeight.exchange(height, std::memory_order_relaxed) != height || resized) noteSceneChange();
    requestWindowResize();
}

VINDLE_API void setGameTitle(const char* title) {
    platformNoteGameString(title);
    requestWindowTitle(title);
}

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

}  // extern "C"
