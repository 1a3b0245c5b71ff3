/* Returns from gameMain after the delay given in VINDLE_TEST_DELAY_MS (while
   the window thread is busy drawing). With the argument "again", gameMain
   calls zqInit once more instead. With VINDLE_TEST_SOUND naming a file in the
   resources folder VINDLE_TEST_RESOURCES, that sound loops meanwhile and is
   still open at the end. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vindle.h>

static int again;

static void gameMain(void) {
    const char* delay = getenv("VINDLE_TEST_DELAY_MS");
    const char* sound = getenv("VINDLE_TEST_SOUND");
    printf("game started\n");
    fflush(stdout);
    if (sound && *sound) {
        const char* resources = getenv("VINDLE_TEST_RESOURCES");
        setResourcesDir(resources ? resources : ".");
        playSound(sound, 1);
        printf("sound started\n");
        fflush(stdout);
    }
    if (again) zqInit(gameMain);
    pauseGame(delay ? atoi(delay) : 100);
}

int main(int argc, char** argv) {
    again = argc > 1 && strcmp(argv[1], "again") == 0;
    zqInit(gameMain);
    return 0;
}
