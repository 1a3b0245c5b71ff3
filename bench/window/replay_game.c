/* What playSound costs its caller when it restarts a file that is already
   open: the sounds given as arguments (in the Sounds folder of the resources
   directory VINDLE_BENCH_RESOURCES) are each played once, then restarted five
   times from the game thread; then each key released restarts the next sound
   in turn from the key-up handler, on the window thread, five times each.
   Every time is printed, then the medians; releasing Escape ends the game. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include <vindle.h>

#define REPEATS 5

static int count;
static char** names;
static double inHandler[8][REPEATS];
static int handled = 0; /* window thread only */
static int done = 0;    /* set on the window thread, read by the game thread */

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static double timedPlay(const char* name) {
    const double start = now();
    playSound(name, 1);
    return now() - start;
}

static int compare(const void* a, const void* b) {
    const double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

static void report(const char* name, const char* where, double* times) {
    double sorted[REPEATS];
    printf("%s %s:", name, where);
    for (int i = 0; i < REPEATS; ++i) printf(" %.1f", times[i]);
    memcpy(sorted, times, sizeof sorted);
    qsort(sorted, REPEATS, sizeof sorted[0], compare);
    printf(" ms, median %.1f ms\n", sorted[REPEATS / 2]);
    fflush(stdout);
}

static void keyUp(unsigned char key) {
    if (key == 27) {
        __atomic_store_n(&done, 1, __ATOMIC_RELAXED);
        return;
    }
    if (handled >= count * REPEATS) return;
    const int sound = handled % count, round = handled / count;
    inHandler[sound][round] = timedPlay(names[sound]);
    printf("key %d: %s restarted in %.1f ms\n", handled + 1, names[sound], inHandler[sound][round]);
    fflush(stdout);
    if (++handled == count * REPEATS)
        for (int i = 0; i < count; ++i) report(names[i], "restarted in a key-up handler", inHandler[i]);
}

static void gameMain(void) {
    const char* resources = getenv("VINDLE_BENCH_RESOURCES");
    setResourcesDir(resources ? resources : ".");
    for (int i = 0; i < count; ++i) {
        double times[REPEATS];
        printf("%s first play: %.1f ms\n", names[i], timedPlay(names[i]));
        for (int r = 0; r < REPEATS; ++r) {
            pauseGame(300);
            times[r] = timedPlay(names[i]);
        }
        report(names[i], "restarted from the game thread", times);
    }
    onNormalKeyUp(keyUp);
    printf("ready for keys\n");
    fflush(stdout);
    while (!__atomic_load_n(&done, __ATOMIC_RELAXED)) pauseGame(10);
}

int main(int argc, char** argv) {
    count = argc - 1 > 8 ? 8 : argc - 1;
    names = argv + 1;
    zqInit(gameMain);
    return 0;
}
