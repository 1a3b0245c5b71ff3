// Windows backend: the game window and message boxes owned by it.
#include <windows.h>

#include <atomic>
#include <cstring>

#include "platform/platform.h"

namespace {

std::atomic<HWND> createdWindow{nullptr};

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

void platformNoteGameWindow() {
    HDC dc = wglGetCurrentDC();
    if (dc) createdWindow.store(WindowFromDC(dc));
}

// GLUT's title call already hands the code page 936 bytes to the window.
void platformNoteWindowTitle(const char*) {}

int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    HWND owner = nullptr;
    if (ownedByGameWindow) {
        owner = createdWindow.load();
        if (!owner) EnumWindows(findOwnerWindow, reinterpret_cast<LPARAM>(&owner));
    }
    return MessageBoxA(owner, text, caption, static_cast<UINT>(style));
}
