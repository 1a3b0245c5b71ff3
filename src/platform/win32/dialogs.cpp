// Windows backend, dialogs: MessageBoxA, owned by the game window when the
// box belongs to it.
//   implemented: platformMessageBox.
//   differs from Windows: nothing.
#include <windows.h>

#include <cstring>

#include "platform/platform.h"
#include "platform/win32/window.h"

namespace {

// A top-level window of this process made by GLUT: freeglut's class is
// "FREEGLUT", the classic library's "GLUT".
BOOL CALLBACK findOwnerWindow(HWND window, LPARAM ownerSlot) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (_stricmp(className, "FREEGLUT") != 0 && _stricmp(className, "GLUT") != 0) return TRUE;
    *reinterpret_cast<HWND*>(ownerSlot) = window;
    return FALSE;
}

}  // namespace

int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    HWND owner = nullptr;
    if (ownedByGameWindow) {
        owner = gameWindow();
        if (!owner) EnumWindows(findOwnerWindow, reinterpret_cast<LPARAM>(&owner));
    }
    return MessageBoxA(owner, text, caption, static_cast<UINT>(style));
}
