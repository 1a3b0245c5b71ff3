/* A game that ends on a fault while its window is open, as chosen by the
   first argument: by default it uses a text number twice; "picture" asks for
   a picture that does not exist while another thread keeps changing the
   background. */
#include <string.h>

#include <vindle.h>

#include "animate_background.h"

static const char* mode = "text";


static void gameMain(void) {
    if (strcmp(mode, "picture") == 0) {
        asyncRun(animateBackground, NULL);
        pauseGame(200);
        createImage(1, "missing.png");
        return;
    }
    createText(7, "第一");
    pauseGame(200);
    createText(7, "第二");
}

int main(int argc, char** argv) {
    if (argc > 1) mode = argv[1];
    zqInit(gameMain);
    return 0;
}
