/* Preloaded into the window benchmark: times every display callback from its
   start to the end of its present (glFinish included, so OpenGL's queued work
   counts) and prints the median of each 100 frames, after 20 to warm up; and
   the median processor time the window thread spent on them, which other
   work on the machine disturbs less (the X server's part is not in it). */
#define _GNU_SOURCE
#include <GL/gl.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { kWarmUp = 20, kFrames = 100 };
static void (*display)(void);
static double times[kFrames], cpuTimes[kFrames];
static int frames, warmUp = kWarmUp;

static double nowMs(clockid_t clock) {
    struct timespec t;
    clock_gettime(clock, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int byValue(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static void timedDisplay(void) {
    double start = nowMs(CLOCK_MONOTONIC), cpuStart = nowMs(CLOCK_THREAD_CPUTIME_ID);
    display();
    glFinish();
    if (warmUp > 0) {
        --warmUp;
        return;
    }
    cpuTimes[frames] = nowMs(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
    times[frames++] = nowMs(CLOCK_MONOTONIC) - start;
    if (frames == kFrames) {
        qsort(times, kFrames, sizeof times[0], byValue);
        qsort(cpuTimes, kFrames, sizeof cpuTimes[0], byValue);
        printf("[frames] %d median %.3f ms, thread time %.3f ms\n", kFrames,
               (times[kFrames / 2 - 1] + times[kFrames / 2]) / 2, (cpuTimes[kFrames / 2 - 1] + cpuTimes[kFrames / 2]) / 2);
        fflush(stdout);
        frames = 0;
    }
}

void glutDisplayFunc(void (*callback)(void)) {
    static void (*real)(void (*)(void));
    if (!real) real = (void (*)(void (*)(void)))dlsym(RTLD_NEXT, "glutDisplayFunc");
    display = callback;
    real(timedDisplay);
}
