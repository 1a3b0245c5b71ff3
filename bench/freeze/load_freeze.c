/* How long loading a large picture stops the window and the game's other
   threads. Usage: load_freeze <resources dir> image|sprite
   image: createImage of Images/big.png; sprite: the first drawing of a sprite
   whose only frame is Sprites/big/walk/1.png (decoded by the window thread).
   Meanwhile another thread asks the engine something every millisecond and
   records its longest wait. Run with frame_gaps.so preloaded for the window's
   longest pause between two frames. */
#include <stdio.h>
#include <string.h>
#include <time.h>

#include <vindle.h>

static const char* mode = "image";
static volatile int watching = 1;
static volatile double longestWaitMs = 0;

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void watch(void* argument) {
    (void)argument;
    while (watching) {
        double start = nowMs();
        isValidText(99);  /* takes the engine lock */
        double waited = nowMs() - start;
        if (waited > longestWaitMs) longestWaitMs = waited;
        pauseGame(1);
    }
}

static void gameMain(void) {
    pauseGame(500);
    asyncRun(watch, NULL);
    pauseGame(100);
    double start = nowMs();
    if (strcmp(mode, "sprite") == 0) {
        createSprite(1, "big");
        playSpriteAnimate(1, "walk");
        while (getSpriteWidth(1) == 0) pauseGame(1);
    } else {
        createImage(1, "big.png");
    }
    double took = nowMs() - start;
    pauseGame(300);
    watching = 0;
    printf("%s: %dx%d loaded in %.0f ms; longest wait of another thread for the engine: %.0f ms\n", mode,
           strcmp(mode, "sprite") == 0 ? getSpriteWidth(1) : getImageWidth(1),
           strcmp(mode, "sprite") == 0 ? getSpriteHeight(1) : getImageHeight(1), took, longestWaitMs);
    fflush(stdout);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s <resources dir> [image|sprite]\n", argv[0]);
        return 2;
    }
    setResourcesDir(argv[1]);
    if (argc > 2) mode = argv[2];
    zqInit(gameMain);
    return 0;
}
