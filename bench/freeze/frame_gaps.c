/* Preloaded into a game: prints, when the process ends, the longest pause
   between two frames the window showed and the longest time one frame took
   (the display callback, from its call to its return). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static double last, longest, longestFrame;
static void (*display)(void);

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void timedDisplay(void) {
    double start = nowMs();
    display();
    if (nowMs() - start > longestFrame) longestFrame = nowMs() - start;
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
    printf("longest pause between two frames: %.0f ms; longest frame: %.1f ms\n", longest, longestFrame);
}
