/* A blue picture, a big red Chinese text and a warning about a text that does
   not exist; then the sounds of the resources folder in VINDLE_TEST_RESOURCES:
   tone.wav once, tune.mp3 looping until it is closed. Prints what the calls
   return; releasing Escape ends the game. */
#include <stdio.h>
#include <stdlib.h>

#include <vindle.h>

static int escapeReleased = 0; /* set on the window thread */

static void normalUp(unsigned char key) {
    if (key == 27) __atomic_store_n(&escapeReleased, 1, __ATOMIC_RELAXED);
}

static void gameMain(void) {
    const char* resources = getenv("VINDLE_TEST_RESOURCES");
    int wav, mp3, closed, unknown;
    setResourcesDir(resources ? resources : ".");
    setGameSize(320, 200);
    onNormalKeyUp(normalUp);
    createImage(1, "block.png");
    setImagePosition(1, 200, 20);
    createText(1, "中文");
    setTextPosition(1, 20, 100);
    setTextFontSize(1, 40);
    setTextColor(1, 1.0f, 0.0f, 0.0f);
    printf("missing x=%d\n", getTextX(99));
    wav = playSound("tone.wav", 0);
    mp3 = playSound("tune.mp3", 1);
    pauseGame(300);
    closed = closeSound("tune.mp3");
    unknown = closeSound("never.wav");
    printf("sound wav=%d mp3=%d closed=%d unknown=%s\n", wav, mp3, closed, unknown ? "other" : "0");
    printf("ready\n");
    fflush(stdout);
    while (!__atomic_load_n(&escapeReleased, __ATOMIC_RELAXED)) pauseGame(10);
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
