/* Returns from gameMain after the delay given in VINDLE_TEST_DELAY_MS (while
   the window thread is busy drawing). */
#include <stdio.h>
#include <stdlib.h>
#include <vindle.h>

static void gameMain(void) {
    const char* delay = getenv("VINDLE_TEST_DELAY_MS");
    printf("game started\n");
    fflush(stdout);
    pauseGame(delay ? atoi(delay) : 100);
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
