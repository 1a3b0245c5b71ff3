#include "core/settings.h"

#include "core/process.h"
#include "core/requests.h"
#include "platform/platform.h"
#include "vindle.h"

WindowSettings settings;

namespace {
std::atomic<uint64_t> version{1};

constexpr auto kPublish = std::memory_order_release;
constexpr auto kRead = std::memory_order_acquire;

// Stores value and tells whether that changed the setting.
template <typename T>
bool store(std::atomic<T>& setting, T value) {
    return !sameValue(setting.exchange(value, kPublish), value);
}
}  // namespace

void noteSceneChange() { version.fetch_add(1, kPublish); }
uint64_t sceneVersion() { return version.load(kRead); }

FrameSettings frameSettings() {
    return FrameSettings{settings.gameWidth.load(kRead), settings.gameHeight.load(kRead),
                         settings.bgRed.load(kRead),     settings.bgGreen.load(kRead),
                         settings.bgBlue.load(kRead),    settings.viewportX.load(kRead),
                         settings.viewportY.load(kRead)};
}

extern "C" {

VINDLE_API void setGameSize(int width, int height) {
    noteApiCall();
    const bool resized = store(settings.gameWidth, width);
    if (store(settings.gameHeight, height) || resized) noteSceneChange();
    requestWindowResize();
}

VINDLE_API void setGameTitle(const char* title) {
    noteApiCall();
    platformNoteGameString(title);
    requestWindowTitle(title);
}

VINDLE_API int getGameWidth(void) {
    noteApiCall();
    return settings.gameWidth.load(kRead);
}
VINDLE_API int getGameHeight(void) {
    noteApiCall();
    return settings.gameHeight.load(kRead);
}

VINDLE_API void setViewPortPosition(int x, int y) {
    noteApiCall();
    const bool moved = store(settings.viewportX, x);
    if (store(settings.viewportY, y) || moved) noteSceneChange();
}
VINDLE_API int getViewPortPositionX(void) {
    noteApiCall();
    return settings.viewportX.load(kRead);
}
VINDLE_API int getViewPortPositionY(void) {
    noteApiCall();
    return settings.viewportY.load(kRead);
}

VINDLE_API void setBgColor(float red, float green, float blue) {
    noteApiCall();
    bool changed = store(settings.bgRed, red);
    changed = store(settings.bgGreen, green) || changed;
    changed = store(settings.bgBlue, blue) || changed;
    if (changed) noteSceneChange();
}

}  // extern "C"
