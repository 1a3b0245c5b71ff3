// Windows backend, present.
//   implemented: platformFrameMemory, which declines: the portable code
//     composes in its own buffer and shows the frame with one glDrawPixels;
//     platformPresentFrame, never called.
//   differs from Windows: nothing.
#include "platform/platform.h"

// No way of its own. The frame is the client area's size, so the one
// glDrawPixels paints all of it, also where the window is wider than a small
// game.
bool platformFrameMemory(int, int, PlatformFrameMemory*) { return false; }
void platformPresentFrame(int, int) {}
