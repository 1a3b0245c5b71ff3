/* The mistake: gameMain called directly, zqInit never. */
#include <vindle.h>

static void gameMain(void) { createText(1, "hi"); }

int main(void) {
    gameMain();
    return 0;
}
