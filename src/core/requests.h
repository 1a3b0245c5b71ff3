// Window-system calls made by game threads are recorded here and carried out
// by the window thread at its next idle tick: GLUT and X11 are not safe to
// call from another thread.
#pragma once

void requestWindowResize();
void requestWindowTitle(const char* title);
void requestCursor(int glutCursor);
// Carries out the recorded requests; window thread only.
void applyWindowRequests();
// The window size for a game size. The window system refuses sizes below 1
// and cuts large ones to 16 bits, so the window gets the nearest size it can
// have (at least 1 by 1, at most the largest window the platform gives) while
// the game size stays stored. Window thread only.
void windowSizeFor(int gameWidth, int gameHeight, int* width, int* height);
