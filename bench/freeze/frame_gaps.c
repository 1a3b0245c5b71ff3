/* Preloaded into a game: prints, when the process ends, the longest pause
   between two frames the window showed, and the time the first frame took
   (it opens the font) and the longest of the others (the display callback,
   from its call to its return). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static double last, longest, firstFrame, longestFrame;
static int frames;
static void (*display)(void);

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void timedDisplay(void) {
    double start = nowMs();
    display();
    double took = nowMs() - start;
    if (frames++ == 0)
        firstFrame = took;
    else if (took > longestFrame)
        longestFrame = took;
}

void glutDisplayFunc(void (*callback)(void)) {
    static void (*real)(void (*)(void));
    if (!real) real = (void (*)(void (*)(void)))dlsym(RTLD_NEXT, "glutDisplayFunc");
    display = callback;
    real(timedDisplay);
}

void glutSwapBuffers(void) {
    static void (*real)(void);
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    double now = nowMs();
    if (last > 0 && now - last > longest) longest = now - last;
    last = now;
}

__attribute__((destructor)) static void report(void) {
    printf("longest pause between two frames: %.0f ms; first frame: %.1f ms; longest other frame: %.1f ms (%d frames)\n",
           longest, firstFrame, longestFrame, frames);
}
