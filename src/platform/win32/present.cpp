// Windows backend, present.
//   implemented: platformPresentFrame, which declines: the portable code
//     shows the frame with one glDrawPixels.
//   differs from Windows: nothing.
#include "platform/platform.h"

// No way of its own: the portable code shows the frame with one glDrawPixels.
bool platformPresentFrame(const unsigned char*, int, int, int) { return false; }
