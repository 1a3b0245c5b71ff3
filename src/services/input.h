// Keyboard and mouse: GLUT callbacks, run on the window thread, that record the
// latest key and pointer events for the game to poll.
#pragma once

// Installs the callbacks below on the current GLUT window; window thread, at
// start-up.
void installInputCallbacks();

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
