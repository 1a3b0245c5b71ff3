/* Plays a non-looping action whose frames are 1 to 4 pixels wide, from the
   resources folder in VINDLE_TEST_RESOURCES, and reports every change of the
   sprite's width with the milliseconds since the action started. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <vindle.h>

static long long nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

static void gameMain(void) {
    const char* resources = getenv("VINDLE_TEST_RESOURCES");
    long long start;
    int last = 0;
    setResourcesDir(resources ? resources : ".");
    createSprite(1, "counter");
    setSpriteRepeatPlay(1, 0);
    playSpriteAnimate(1, "count");
    start = nowMs();
    while (nowMs() - start < 2500) {
        int width = getSpriteWidth(1);
        if (width != last) {
            printf("width %d at %lld\n", width, nowMs() - start);
            fflush(stdout);
            last = width;
        }
        pauseGame(5);
    }
    printf("done\n");
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
