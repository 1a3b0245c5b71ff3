/* A game built from outside the source tree against the installed engine:
   it draws for a moment and returns, so the program ends with status 1. */
#include <vindle.h>

static void gameMain(void) {
    createText(1, "装好了");
    setBgColor(0.0f, 0.5f, 1.0f);
    pauseGame(300);
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
