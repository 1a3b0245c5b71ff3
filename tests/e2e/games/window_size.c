/* Keeps the window open; with an argument "W H" it first sets that game size. */
#include <stdio.h>
#include <stdlib.h>
#include <vindle.h>

static int width, height;

static void gameMain(void) {
    if (width > 0) setGameSize(width, height);
    printf("size %d %d\n", getGameWidth(), getGameHeight());
    fflush(stdout);
    pauseGame(60000);
}

int main(int argc, char** argv) {
    if (argc == 3) {
        width = atoi(argv[1]);
        height = atoi(argv[2]);
    }
    zqInit(gameMain);
    return 0;
}
