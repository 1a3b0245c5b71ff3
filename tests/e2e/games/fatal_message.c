/* A game that ends on a fault while its window is open, as chosen by the
   first argument: by default it uses a text number twice; "picture" asks for
   a picture that does not exist while another thread keeps changing the
   background. */
#include <string.h>

#include <vindle.h>

static const char* mode = "text";

static void animateBackground(void* argument) {
    (void)argument;
    for (int step = 0;; ++step) {
        float level = (float)(step % 20) / 20.0f;
        setBgColor(level, 1.0f - level, 0.5f);
        pauseGame(50);
    }
}

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
