/* A game that uses a text number twice while its window is open: a fault the
   game cannot go on from. */
#include <vindle.h>

static void gameMain(void) {
    createText(7, "第一");
    pauseGame(200);
    createText(7, "第二");
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
