// The end of the process and the window gate it waits on. The window thread
// holds the gate whenever it may touch the window system or OpenGL and opens
// it only while it rests; a thread that ends the process takes the gate first,
// so exit handlers never run under a frame being drawn.
#pragma once

#include <cstdint>

// Every API function notes its call first thing: a game program that ends
// without having called one is told why no window opened.
void noteApiCall();
bool apiCalled();
// For tests: as if no API function had been called yet.
void forgetApiCalls();

// Marks the calling thread (zqInit's) as the window thread and closes the gate.
void becomeWindowThread();
// Between these two the window's event loop runs: other threads that end the
// process wait for the gate. The second also opens the gate for good. The
// first is called after glutInit (it registers an exit handler).
void windowLoopStarting();
void windowLoopEnded();
// Window thread only: sleeps the given time with the gate open, and ends the
// process there when another thread asked for it meanwhile.
void restWithGateOpen(uint32_t milliseconds);

// GLUT's close callback: the player closed the window. The process ends here
// with status 0 the way every other end goes (the platform lets go of its
// sounds first), not in GLUT's own clean-up, which tears the window system
// down under a game thread that still runs. When GLUT closes the window
// because the process is already exiting, it does nothing.
void onWindowClosed();

// Ends the process with the given status once the window thread has stopped
// touching the window system (waiting a bounded time for it): on the calling
// thread, or, where the platform wants it, on the window thread.
[[noreturn]] void endProcess(int status);
