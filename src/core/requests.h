// Window-system calls made by game threads are recorded here and carried out
// by the window thread at its next idle tick: GLUT and X11 are not safe to
// call from another thread.
#pragma once

#include <string>

enum class CursorRequest { none, show, hide };

// What the game asked of the window since the last take.
struct WindowRequests {
    bool resize = false;  // to the stored game size
    bool retitle = false;
    std::string title;
    CursorRequest cursor = CursorRequest::none;
};

void requestWindowResize();
void requestWindowTitle(const char* title);
void requestCursor(bool visible);
// Hands over the recorded requests and forgets them; the window thread
// carries them out.
WindowRequests takeWindowRequests();
