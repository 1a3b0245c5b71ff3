/* Preloaded into a game: prints, when the process ends, the longest pause
   between two frames the window showed. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static double last, longest;

void glutSwapBuffers(void) {
    static void (*real)(void);
    if (!real) real = (void (*)(void))dlsym(RTLD_NEXT, "glutSwapBuffers");
    real();
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    double now = t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    if (last > 0 && now - last > longest) longest = now - last;
    last = now;
}

__attribute__((destructor)) static void report(void) {
    printf("longest pause between two frames: %.0f ms\n", longest);
}
