/* How long loading a large picture, or laying out a large text, stops the
   window and the game's other threads.
   Usage: load_freeze <resources dir> image|sprite|cjk|bytes
   image: createImage of Images/big.png; sprite: the first drawing of a sprite
   whose only frame is Sprites/big/walk/1.png (decoded by the window thread);
   cjk: a text of 100,000 distinct CJK and Hangul characters at size 1000;
   bytes: a text of 10 MB of random bytes at size 1000.
   Meanwhile another thread asks the engine something every millisecond and
   records its longest wait. Run with frame_gaps.so preloaded for the window's
   longest pause between two frames and its longest frame. */
#include <stdio.h>
#include <stdlib.h>
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
    for (int step = 0; watching; ++step) {
        double start = nowMs();
        /* Takes the engine lock; in the text modes it also moves a small
           text, so the window has a frame to draw every few milliseconds. */
        if (strcmp(mode, "cjk") == 0 || strcmp(mode, "bytes") == 0)
            setTextPosition(2, step % 200, 10);
        else
            isValidText(99);
        double waited = nowMs() - start;
        if (waited > longestWaitMs) longestWaitMs = waited;
        pauseGame(1);
    }
}

/* Appends the UTF-8 bytes of a code point. */
static char* putUtf8(char* out, unsigned cp) {
    if (cp < 0x800) {
        *out++ = (char)(0xC0 | cp >> 6);
    } else if (cp < 0x10000) {
        *out++ = (char)(0xE0 | cp >> 12);
        *out++ = (char)(0x80 | (cp >> 6 & 0x3F));
    } else {
        *out++ = (char)(0xF0 | cp >> 18);
        *out++ = (char)(0x80 | (cp >> 12 & 0x3F));
        *out++ = (char)(0x80 | (cp >> 6 & 0x3F));
    }
    *out++ = (char)(0x80 | (cp & 0x3F));
    return out;
}

/* The text of the cjk or bytes mode; the caller frees it. */
static char* bigText(void) {
    if (strcmp(mode, "bytes") == 0) {
        size_t size = 10u << 20;
        char* text = malloc(size + 1);
        srand(1);
        for (size_t i = 0; i < size; ++i) text[i] = (char)(1 + rand() % 255);
        text[size] = '\0';
        return text;
    }
    /* CJK ideographs of the basic block and extensions A to G, Hangul syllables. */
    static const unsigned ranges[][2] = {{0x4E00, 0x9FFF},   {0xAC00, 0xD7A3},   {0x3400, 0x4DBF},
                                         {0x20000, 0x2A6DF}, {0x2A700, 0x2EBEF}, {0x30000, 0x3134F}};
    char* text = malloc(100000 * 4 + 1);
    char* out = text;
    int count = 0;
    for (size_t r = 0; r < sizeof ranges / sizeof ranges[0] && count < 100000; ++r)
        for (unsigned cp = ranges[r][0]; cp <= ranges[r][1] && count < 100000; ++cp, ++count) out = putUtf8(out, cp);
    *out = '\0';
    return text;
}

static void gameMain(void) {
    pauseGame(500);
    if (strcmp(mode, "cjk") == 0 || strcmp(mode, "bytes") == 0) createText(2, "tick");
    asyncRun(watch, NULL);
    pauseGame(100);
    double start = nowMs();
    if (strcmp(mode, "cjk") == 0 || strcmp(mode, "bytes") == 0) {
        char* text = bigText();
        createText(1, "");
        setTextFontSize(1, 1000);
        setTextPosition(1, 0, 100);
        start = nowMs();
        setText(1, text);
        double took = nowMs() - start;
        free(text);
        /* The next frames draw the text: how long does the game wait for the engine meanwhile? */
        pauseGame(100);
        start = nowMs();
        isValidText(1);
        double waited = nowMs() - start;
        pauseGame(1000);
        watching = 0;
        printf("%s: setText took %.0f ms, then isValidText waited %.0f ms; longest wait of another thread for the "
               "engine: %.0f ms\n",
               mode, took, waited, longestWaitMs);
        fflush(stdout);
        return;
    }
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
