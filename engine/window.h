// The window thread: start-up, the GLUT callbacks of the frame loop, the window
// requests that other threads leave for it, and the orderly end of the process.
#pragma once

// True on the thread that called zqInit and runs the window's event loop.
bool onWindowThread();

// Window-system calls made by game threads are recorded here and carried out
// by the window thread at its next idle tick.
void requestWindowResize();
void requestWindowTitle(const char* title);
void requestCursor(int glutCursor);
// Carries out the recorded requests; window thread only.
void applyWindowRequests();

// Ends the process with the given status once the window thread has stopped
// touching the window system (waiting a bounded time for it).
[[noreturn]] void endProcess(int status);

// GLUT callbacks of the frame loop.
void onIdle();
void onReshape(int width, int height);
void onDisplay();
