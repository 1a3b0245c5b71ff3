// Web backend: the page around GLUT's canvas (web/window.js): the overlay
// canvas frames are presented on, the page's title, the keys held down, and
// the freeglut calls emscripten's GLUT lacks.
#include <GL/freeglut.h>

#include "platform/platform.h"
#include "platform/web/text.h"

extern "C" {
void vindle_note_game_window(void);
void vindle_set_page_title(const char* title);
int vindle_page_reachable(void);
int vindle_key_held(int special, int code);
void vindle_on_page_closed(void (*callback)(void));
}

extern "C" {

void glutInitErrorFunc(void (*)(const char*, va_list)) {}

void glutCloseFunc(void (*callback)(void)) { vindle_on_page_closed(callback); }

void glutSetWindowTitle(const char* title) { vindle_set_page_title(title ? title : ""); }

}  // extern "C"

void platformNoteGameWindow() { vindle_note_game_window(); }

// GLUT read the title as UTF-8; a GBK game's title is converted first.
void platformNoteWindowTitle(const char* title) { vindle_set_page_title(gameTextAsUtf8(title).c_str()); }

bool platformWindowSystemReachable() { return vindle_page_reachable() != 0; }

// A page scrolls, so no screen bounds the game; a frame of 4096 by 4096
// already takes 64 MB.
void platformLargestWindow(int* width, int* height) {
    *width = 4096;
    *height = 4096;
}

void platformSmallestWindow(int* width, int* height) { *width = *height = 1; }

bool platformKeyHeld(bool special, int code) { return vindle_key_held(special ? 1 : 0, code) != 0; }
