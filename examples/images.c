/* Images: a PNG landscape from the Images folder, and a half-transparent panel
 * gliding over it (the landscape shows through). The panel's size comes from
 * getImageWidth / getImageHeight. Escape ends the example. */
#include <stdatomic.h>
#include <stdio.h>

#include <vindle.h>

enum { LANDSCAPE = 1, PANEL };
enum { CAPTION = 1, SIZE };

/* Set on the window thread, which calls the key-up handlers; read by gameMain. */
static atomic_int done;

static void keyReleased(unsigned char key) {
    if (key == KEY_ESCAPE) atomic_store(&done, 1);
}

static void gameMain(void) {
    setGameTitle("图片 Images");
    setBgColor(0.75f, 0.85f, 0.95f);
    onNormalKeyUp(keyReleased);

    createImage(LANDSCAPE, "bg.png");   /* lower-left corner at (0, 0) */
    createImage(PANEL, "glass.png");
    setImagePosition(PANEL, 40, 300);

    createText(CAPTION, "图片：Images/bg.png 和半透明的 Images/glass.png   Esc 结束");
    setTextPosition(CAPTION, 20, 560);
    char line[64];
    snprintf(line, sizeof line, "glass.png: %d x %d", getImageWidth(PANEL), getImageHeight(PANEL));
    createText(SIZE, line);
    setTextPosition(SIZE, 20, 530);

    int x = 40, step = 3;
    while (!atomic_load(&done)) {
        x += step;
        if (x <= 0 || x >= getGameWidth() - getImageWidth(PANEL)) step = -step;
        setImagePosition(PANEL, x, 300);
        pauseGame(20);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
