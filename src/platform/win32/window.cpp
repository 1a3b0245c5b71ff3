// Windows backend, window: the game window, and what the window thread asks
// of the system about it.
//   implemented: every function of the section.
//   differs from Windows: nothing.
#include "platform/win32/window.h"

#include <atomic>

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

namespace {

// The virtual key that makes the key GLUT reports as code; 0 when none does.
int virtualKeyOf(bool special, int code) {
    if (special) {
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
        case 0x6D:
            return VK_NUMLOCK;
        case 0x6E:
            return VK_CLEAR;
        case 0x6F:
            return VK_DELETE;
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
        default:
            return 0;
        }
    }
    switch (code) {
    case 8:
        return VK_BACK;
    case 9:
        return VK_TAB;
    case 13:
        return VK_RETURN;
    case 27:
        return VK_ESCAPE;
    default:
        break;
    }
    if (code >= 1 && code <= 26) return 'A' + code - 1;  // with Control
    const SHORT scan = VkKeyScanA(static_cast<CHAR>(code));
    return scan == -1 ? 0 : (scan & 0xFF);
}

bool down(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

bool platformKeyHeld(bool special, int code) {
    // A release still in the window thread's queue reaches GLUT as usual.
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_KEYUP, WM_KEYUP, PM_NOREMOVE) ||
        PeekMessageA(&message, nullptr, WM_SYSKEYUP, WM_SYSKEYUP, PM_NOREMOVE))
        return true;
    if (const int virtualKey = virtualKeyOf(special, code)) return down(virtualKey);
    for (int virtualKey = 8; virtualKey < 255; ++virtualKey)
        if (down(virtualKey)) return true;
    return false;
}
