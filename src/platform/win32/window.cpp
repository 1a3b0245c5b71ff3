// Windows backend, window: the game window, and what the window thread asks
// of the system about it.
//   implemented: every function of the section.
//   differs from Windows: nothing.
#include "platform/win32/window.h"

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/platform.h"

namespace {
std::atomic<HWND> createdWindow{nullptr};
}  // namespace

HWND gameWindow() { return createdWindow.load(); }

void platformNoteGameWindow() {
    HDC dc = wglGetCurrentDC();
    if (dc) createdWindow.store(WindowFromDC(dc));
}

// GLUT's title call already hands the code page 936 bytes to the window.
void platformNoteWindowTitle(const char*) {}

// Windows always has a window station to open the game window on.
bool platformWindowSystemReachable() { return true; }

void platformLargestWindow(int* width, int* height) {
    *width = GetSystemMetrics(SM_CXMAXTRACK);
    *height = GetSystemMetrics(SM_CYMAXTRACK);
}

// Windows sizes a captioned window to at least SM_CXMINTRACK by
// SM_CYMINTRACK, frame and caption included (a window manager under Wine
// does the same): the client area left inside that.
void platformSmallestWindow(int* width, int* height) {
    const HWND window = gameWindow();
    const DWORD style = window ? static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) : WS_OVERLAPPEDWINDOW;
    const DWORD extendedStyle = window ? static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) : 0;
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
    *width = std::max(1, static_cast<int>(GetSystemMetrics(SM_CXMINTRACK) - (frame.right - frame.left)));
    *height = std::max(1, static_cast<int>(GetSystemMetrics(SM_CYMINTRACK) - (frame.bottom - frame.top)));
}

namespace {

// The virtual key freeglut reports as the special code; 0 when none does.
int specialVirtualKey(int code) {
    if (code >= 1 && code <= 12) return VK_F1 + code - 1;
    switch (code) {
    case 100:
        return VK_LEFT;
    case 101:
        return VK_UP;
    case 102:
        return VK_RIGHT;
    case 103:
        return VK_DOWN;
    case 104:
        return VK_PRIOR;
    case 105:
        return VK_NEXT;
    case 106:
        return VK_HOME;
    case 107:
        return VK_END;
    case 108:
        return VK_INSERT;
    case 0x70:
        return VK_LSHIFT;
    case 0x71:
        return VK_RSHIFT;
    case 0x72:
        return VK_LCONTROL;
    case 0x73:
        return VK_RCONTROL;
    case 0x74:
        return VK_LMENU;
    case 0x75:
        return VK_RMENU;
    case 0x76:
        return VK_LWIN;
    case 0x77:
        return VK_RWIN;
    default:
        return 0;
    }
}

bool down(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// Whether a key held now types the character code, translated as freeglut
// translates a key: Delete is 127, every other key gives what the layout
// types with the modifiers held now. So the numeric pad's keys, Delete and
// Control with [ (27) are found by the key that made them, which the main
// keyboard's key for the same character is not.
bool heldKeyTypes(int code) {
    BYTE state[256];
    if (!GetKeyboardState(state)) memset(state, 0, sizeof state);
    for (int modifier : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL, VK_MENU, VK_LMENU,
                         VK_RMENU})
        state[modifier] = down(modifier) ? 0x80 : 0;
    // A numeric pad key is a digit only while Num Lock is on.
    state[VK_NUMLOCK] |= 1;
    for (int virtualKey = 1; virtualKey < 255; ++virtualKey) {
        if (!down(virtualKey)) continue;
        if (virtualKey == VK_DELETE) {
            if (code == 127) return true;
            continue;
        }
        WCHAR typed[4] = {};
        // Flag 4: leave the layout's dead-key state alone.
        const UINT scan = MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC);
        if (ToUnicode(static_cast<UINT>(virtualKey), scan, state, typed, 4, 4) == 1 && typed[0] == code) return true;
    }
    return false;
}

bool anyKeyDown() {
    for (int virtualKey = 8; virtualKey < 255; ++virtualKey)
        if (down(virtualKey)) return true;
    return false;
}

}  // namespace

bool platformKeyHeld(bool special, int code) {
    // A release still in the window thread's queue reaches GLUT as usual.
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE) ||
        PeekMessageA(&message, nullptr, WM_SYSKEYUP, WM_SYSKEYUP, PM_NOREMOVE))
        return true;
    if (special) {
        const int virtualKey = specialVirtualKey(code);
        return virtualKey ? down(virtualKey) : anyKeyDown();
    }
    // Bytes above 127 come from an input method or Alt and the numeric pad:
    // no single key types them.
    if (code > 127) return anyKeyDown();
    return heldKeyTypes(code);
}
