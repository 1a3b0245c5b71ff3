// The game window as the X11 parts of the Linux backend see it.
#pragma once

#include <X11/Xlib.h>

// The X window that start-up created, or 0 before it exists.
Window gameWindowId();
// GLUT's connection to the X server, or null before the window exists. Window
// thread only.
Display* gameWindowDisplay();
