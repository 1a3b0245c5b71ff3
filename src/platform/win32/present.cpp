// Windows backend, present.
//   implemented: platformPresentFrame, which declines: the portable code
//     shows the frame with one glDrawPixels.
//   differs from Windows: nothing.
#include "platform/platform.h"

// No way of its own: the portable code shows the frame with one glDrawPixels.
// The frame is the client area's size, so that call paints all of it, also
// where the window is wider than a small game.
bool platformPresentFrame(const unsigned char*, int, int, int) { return false; }
