/* For games whose window must be seen drawing: a thread that changes the
   background colour every 50 ms, for ever. */
#pragma once

#include <vindle.h>

static void animateBackground(void* argument) {
    (void)argument;
    for (int step = 0;; ++step) {
        float level = (float)(step % 20) / 20.0f;
        setBgColor(level, 1.0f - level, 0.5f);
        pauseGame(50);
    }
}
