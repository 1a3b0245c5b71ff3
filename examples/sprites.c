/* Sprites: one folder of numbered frames per action (Sprites/walker/walk and
 * Sprites/walker/stand), played every 300 ms. A walker crossing the screen,
 * one mirrored, one upside down, and one that plays its action only once.
 * Escape ends the example. */
#include <stdatomic.h>

#include <vindle.h>

enum { WALKER = 1, MIRRORED, UPSIDE_DOWN, ONCE, STANDING };
enum { CAPTION = 1 };

/* Set on the window thread, which calls the key-up handlers; read by gameMain. */
static atomic_int done;

static void keyReleased(unsigned char key) {
    if (key == KEY_ESCAPE) atomic_store(&done, 1);
}

/* A walker with a label below it; the label's text number is the sprite's plus 10. */
static void addWalker(int id, const char* action, int x, int y, const char* label) {
    createSprite(id, "walker");
    setSpritePosition(id, x, y);
    playSpriteAnimate(id, action);
    createText(id + 10, label);
    setTextPosition(id + 10, x - 16, y - 30);
    setTextFontSize(id + 10, 16);
}

static void gameMain(void) {
    setGameTitle("精灵 Sprites");
    setBgColor(0.85f, 0.93f, 0.85f);
    onNormalKeyUp(keyReleased);

    createText(CAPTION, "精灵：Sprites/walker 里的 walk 和 stand 动作   Esc 结束");
    setTextPosition(CAPTION, 20, 560);
    addWalker(WALKER, "walk", 20, 360, "");
    addWalker(MIRRORED, "walk", 100, 220, "左右翻转");
    setSpriteFlipX(MIRRORED, 1);
    addWalker(UPSIDE_DOWN, "walk", 260, 220, "上下翻转");
    setSpriteFlipY(UPSIDE_DOWN, 1);
    addWalker(ONCE, "walk", 420, 220, "只播一次");
    setSpriteRepeatPlay(ONCE, 0);
    addWalker(STANDING, "stand", 580, 220, "站立");

    int x = 20;
    while (!atomic_load(&done)) {
        x = (x + 2) % getGameWidth();
        setSpritePosition(WALKER, x, 360);
        pauseGame(20);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
