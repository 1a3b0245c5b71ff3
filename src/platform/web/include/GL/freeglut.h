// The freeglut header as app/ includes it, for emscripten's GLUT: its
// standard part, and the freeglut extensions app/ calls that emscripten lacks,
// which the web backend implements (web/window.cpp).
#pragma once

#include <GL/freeglut_std.h>
#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif

// GLUT's own fatal errors would go to this handler. Emscripten's GLUT reports
// none this way (its failures are script exceptions), so it is kept unused.
void glutInitErrorFunc(void (*callback)(const char* format, va_list arguments));
// Called when the player leaves the page (the tab is closed or navigated away).
void glutCloseFunc(void (*callback)(void));

#ifdef __cplusplus
}
#endif
