#include "services/input.h"

#include <atomic>

#include "core/process.h"
#include "core/requests.h"
#include "vindle.h"

namespace {

// One writer each (the window thread, or the caller of a registration), read
// by the game without the engine lock.
std::atomic<int> pressedKeyCode{0};
std::atomic<bool> pressedKeyIsSpecial{false};
std::atomic<int> normalKeyCode{0};
std::atomic<int> specialKeyCode{0};
std::atomic<int> mouseX{0};
std::atomic<int> mouseY{0};
std::atomic<int> mouseLeftDown{0};
std::atomic<NormalKeyUpFunc> normalKeyUpHandler{nullptr};
std::atomic<SpecialKeyUpFunc> specialKeyUpHandler{nullptr};

constexpr auto kRelaxed = std::memory_order_relaxed;

}  // namespace

void onKeyboard(unsigned char key, int, int) {
    pressedKeyCode.store(key, kRelaxed);
    pressedKeyIsSpecial.store(false, kRelaxed);
    normalKeyCode.store(key, kRelaxed);
}

void onKeyboardUp(unsigned char key, int, int) {
    // The handler still sees the codes from before the release.
    if (NormalKeyUpFunc handler = normalKeyUpHandler.load(kRelaxed)) handler(key);
    pressedKeyCode.store(0, kRelaxed);
    normalKeyCode.store(0, kRelaxed);
}

void onSpecial(int key, int, int) {
    pressedKeyCode.store(key, kRelaxed);
    pressedKeyIsSpecial.store(true, kRelaxed);
    specialKeyCode.store(key, kRelaxed);
}

void onSpecialUp(int key, int, int) {
    if (SpecialKeyUpFunc handler = specialKeyUpHandler.load(kRelaxed)) handler(key);
    pressedKeyCode.store(0, kRelaxed);
    // The released key stays readable until the next special key press.
    specialKeyCode.store(key, kRelaxed);
}

// Codes seen up on the previous tick; window thread only. A key is released
// here only when it is still up a tick later with no key-up call in between:
// the window system may report the key up before its release reaches GLUT
// (Wine does), and that release must still call the handler.
int pressedUpLastTick = 0;
int normalUpLastTick = 0;

void releaseKeysNoLongerHeld(bool (*held)(bool special, int code)) {
    const int pressed = pressedKeyCode.load(kRelaxed);
    const bool special = pressedKeyIsSpecial.load(kRelaxed);
    const int normal = normalKeyCode.load(kRelaxed);
    const bool pressedUp = pressed != 0 && !held(special, pressed);
    const bool sameKey = !special && normal == pressed;
    const bool normalUp = normal != 0 && (sameKey ? pressedUp : !held(false, normal));
    if (pressedUp && pressed == pressedUpLastTick) pressedKeyCode.store(0, kRelaxed);
    if (normalUp && normal == normalUpLastTick) normalKeyCode.store(0, kRelaxed);
    pressedUpLastTick = pressedUp ? pressed : 0;
    normalUpLastTick = normalUp ? normal : 0;
}

void onMouse(int button, int state, int, int) {
    if (button != kMouseLeftButton) return;
    if (state == kMouseButtonDown)
        mouseLeftDown.store(1, kRelaxed);
    else if (state == kMouseButtonUp)
        mouseLeftDown.store(0, kRelaxed);
}

void onPassiveMotion(int x, int y) {
    mouseX.store(x, kRelaxed);
    mouseY.store(y, kRelaxed);
}

extern "C" {

VINDLE_API int getMousePositionX(void) {
    noteApiCall();
    return mouseX.load(kRelaxed);
}

// The window counts y downwards from the top, the scene upwards from the bottom.
VINDLE_API int getMousePositionY(void) {
    noteApiCall();
    return getGameHeight() - mouseY.load(kRelaxed);
}

VINDLE_API int isMouseLeftButtonDown(void) {
    noteApiCall();
    return mouseLeftDown.load(kRelaxed);
}

// Only the window thread may talk to GLUT; it applies these at its next idle tick.
VINDLE_API void showMouseCursor(void) {
    noteApiCall();
    requestCursor(true);
}
VINDLE_API void hideMouseCursor(void) {
    noteApiCall();
    requestCursor(false);
}

VINDLE_API int getPressedKeyCode(void) {
    noteApiCall();
    return pressedKeyCode.load(kRelaxed);
}
VINDLE_API int getPressedNormalKeyCode(void) {
    noteApiCall();
    return normalKeyCode.load(kRelaxed);
}
VINDLE_API int getPressedSpecialKeyCode(void) {
    noteApiCall();
    return specialKeyCode.load(kRelaxed);
}

VINDLE_API void onNormalKeyUp(NormalKeyUpFunc handler) {
    noteApiCall();
    normalKeyUpHandler.store(handler, kRelaxed);
}
VINDLE_API void onSpecialKeyUp(SpecialKeyUpFunc handler) {
    noteApiCall();
    specialKeyUpHandler.store(handler, kRelaxed);
}

}  // extern "C"
