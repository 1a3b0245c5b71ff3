/* The Vindle demo: a tour of what a game can do. */
#include <vindle.h>

/* A landscape picture along the bottom, and a half-transparent panel over
   the hills and the sky, so both show through it. */
static void showPictures(void) {
    createImage(1, "bg.png");
    createImage(2, "glass.png");
    setImagePosition(2, 250, 130);
}

/* A figure walking along the hills: at each end it stops, turns round by
   mirroring its frames, and walks back. Runs on a thread of its own. */
static void walkBackAndForth(void* unused) {
    int x = 60, direction = 1;
    (void)unused;
    createSprite(1, "walker");
    setSpritePosition(1, x, 28);
    playSpriteAnimate(1, "walk");
    for (;;) {
        x += direction;
        setSpritePosition(1, x, 28);
        if (x <= 60 || x >= getGameWidth() - 60 - getSpriteWidth(1)) {
            playSpriteAnimate(1, "stand");
            pauseGame(700);
            direction = -direction;
            setSpriteFlipX(1, direction < 0);
            playSpriteAnimate(1, "walk");
        }
        pauseGame(25);
    }
}

static void showWalker(void) { asyncRun(walkBackAndForth, 0); }

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    showPictures();
    showWalker();
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
