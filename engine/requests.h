// Window-system calls made by game threads are recorded here and carried out
// by the window thread at its next idle tick: GLUT and X11 are not safe to
// call from another thread.
#pragma once

void requestWindowResize();
void requestWindowTitle(const char* title);
void requestCursor(int glutCursor);
// Carries out the recorded requests; window thread only.
void applyWindowRequests();
