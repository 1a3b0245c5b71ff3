// The game window as the Windows backend's files share it.
#pragma once

#include <windows.h>

// The window made at start-up (platformNoteGameWindow), or null before.
HWND gameWindow();
