// Keyboard and mouse: the window thread hands every key and pointer event to
// the functions below (app/ registers them as GLUT's callbacks), which record
// the latest ones for the game to poll.
#pragma once

// Buttons and states of onMouse, numbered as GLUT numbers them.
constexpr int kMouseLeftButton = 0;
constexpr int kMouseButtonDown = 0, kMouseButtonUp = 1;

void onKeyboard(unsigned char key, int x, int y);
void onKeyboardUp(unsigned char key, int x, int y);
void onSpecial(int key, int x, int y);
void onSpecialUp(int key, int x, int y);
void onMouse(int button, int state, int x, int y);
void onPassiveMotion(int x, int y);

// Sets the codes of keys that are no longer down to 0, without a key-up call:
// their release went to another window (a message box, say) while the game
// window did not have the keyboard. held tells whether a key is still down; a
// key counts as released once it has been up on two ticks in a row.
// Window thread.
void releaseKeysNoLongerHeld(bool (*held)(bool special, int code));
