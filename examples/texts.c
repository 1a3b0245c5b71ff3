/* Texts: sizes, colours, Chinese and English, a counter that changes, a text
 * that moves and one that blinks. Escape ends the example. */
#include <stdatomic.h>
#include <stdio.h>

#include <vindle.h>

enum { TITLE = 1, SMALL, BIG, RED, GREEN, BLUE, COUNTER, MOVING, BLINKING };

/* Set on the window thread, which calls the key-up handlers; read by gameMain. */
static atomic_int done;

static void keyReleased(unsigned char key) {
    if (key == KEY_ESCAPE) atomic_store(&done, 1);
}

static void gameMain(void) {
    setGameTitle("文字 Texts");
    setBgColor(0.96f, 0.96f, 0.90f);
    onNormalKeyUp(keyReleased);

    createText(TITLE, "文字的大小、颜色和位置");
    setTextPosition(TITLE, 40, 540);
    setTextFontSize(TITLE, 32);

    createText(SMALL, "16 像素高的字 (16 pixels)");
    setTextPosition(SMALL, 40, 480);
    setTextFontSize(SMALL, 16);
    createText(BIG, "48 像素");
    setTextPosition(BIG, 400, 470);
    setTextFontSize(BIG, 48);

    /* Colours are three numbers from 0.0 to 1.0, not 0 to 255. */
    createText(RED, "红色 (1.0, 0.0, 0.0)");
    setTextColor(RED, 1.0f, 0.0f, 0.0f);
    setTextPosition(RED, 40, 400);
    createText(GREEN, "绿色 (0.0, 0.6, 0.0)");
    setTextColor(GREEN, 0.0f, 0.6f, 0.0f);
    setTextPosition(GREEN, 300, 400);
    createText(BLUE, "蓝色 (0.1, 0.2, 0.9)");
    setTextColor(BLUE, 0.1f, 0.2f, 0.9f);
    setTextPosition(BLUE, 560, 400);

    createText(COUNTER, "");
    setTextPosition(COUNTER, 40, 320);
    setTextFontSize(COUNTER, 24);

    createText(MOVING, "我在移动 →");
    setTextColor(MOVING, 0.5f, 0.2f, 0.6f);

    createText(BLINKING, "一闪一闪 (hideText / showText)   Esc 结束");
    setTextPosition(BLINKING, 40, 80);

    for (int step = 0; !atomic_load(&done); ++step) {
        char line[64];
        snprintf(line, sizeof line, "计数 count: %d", step / 10);
        setText(COUNTER, line);
        setTextPosition(MOVING, 40 + (step * 3) % 600, 200);
        if ((step / 25) % 2) hideText(BLINKING);
        else showText(BLINKING);
        pauseGame(20);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
