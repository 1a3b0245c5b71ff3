/* Keeps the window open. Arguments are "W H" pairs, set in turn with
   setGameSize three seconds apart; the stored size is printed after each. */
#include <stdio.h>
#include <stdlib.h>
#include <vindle.h>

static int pairs, sizes[16][2];

static void gameMain(void) {
    for (int i = 0; i < pairs; ++i) {
        if (i > 0) pauseGame(3000);
        setGameSize(sizes[i][0], sizes[i][1]);
        printf("size %d %d\n", getGameWidth(), getGameHeight());
        fflush(stdout);
    }
    if (pairs == 0) {
        printf("size %d %d\n", getGameWidth(), getGameHeight());
        fflush(stdout);
    }
    pauseGame(60000);
}

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc && pairs < 16; i += 2, ++pairs) {
        sizes[pairs][0] = atoi(argv[i]);
        sizes[pairs][1] = atoi(argv[i + 1]);
    }
    zqInit(gameMain);
    return 0;
}
