/* A game smaller than a captioned window can be on Windows: 100 by 100, blue,
   with a white text that runs past the game's right edge. Prints "ready",
   then keeps the window open for a minute. */
#include <stdio.h>

#include <vindle.h>

static void gameMain(void) {
    setGameSize(100, 100);
    setBgColor(0.0f, 0.0f, 1.0f);
    createText(1, "WWWWWWWW");
    setTextPosition(1, 40, 40);
    setTextColor(1, 1.0f, 1.0f, 1.0f);
    printf("ready %d %d\n", getGameWidth(), getGameHeight());
    fflush(stdout);
    pauseGame(60000);
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
