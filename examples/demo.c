/* The Vindle demo: a tour of what a game can do. */
#include <vindle.h>

/* A landscape picture along the bottom, and a half-transparent panel over
   the hills and the sky, so both show through it. */
static void showPictures(void) {
    createImage(1, "bg.png");
    createImage(2, "glass.png");
    setImagePosition(2, 250, 130);
}

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    showPictures();
    for (int step = 0;; ++step) {
        /* The background slowly cycles through soft colours. */
        float t = (float)(step % 200) / 200.0f;
        setBgColor(0.6f + 0.4f * t, 0.8f, 1.0f - 0.4f * t);
        pauseGame(30);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
