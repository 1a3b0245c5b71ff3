/* A game as a Visual Studio project links it against Vindle.lib, here with
   clang and lld-link: no C runtime, its own entry point, only engine calls.
   Asking for a text that does not exist prints the engine's warning. */
#include <vindle.h>

static void gameMain(void) {
    createText(1, "Vindle");
    isTextVisible(2);
    pauseGame(200);
}

void start(void) { zqInit(gameMain); }
