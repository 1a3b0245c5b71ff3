/* The Vindle demo: a tour of what a game can do. */
#include <stdio.h>
#include <vindle.h>

/* Texts: a Chinese title, a counter that the main loop updates, a coloured line. */
enum { TITLE_TEXT = 1, COUNTER_TEXT = 2, COLOUR_TEXT = 3 };

static void showTexts(void) {
    createText(TITLE_TEXT, "欢迎来到 Vindle 游戏世界！");
    setTextPosition(TITLE_TEXT, 40, 540);
    setTextFontSize(TITLE_TEXT, 32);

    createText(COUNTER_TEXT, "计数：0");
    setTextPosition(COUNTER_TEXT, 40, 490);

    createText(COLOUR_TEXT, "彩色文字 Colourful text");
    setTextPosition(COLOUR_TEXT, 40, 450);
    setTextFontSize(COLOUR_TEXT, 24);
    setTextColor(COLOUR_TEXT, 0.8f, 0.1f, 0.3f);
}

static void updateCounter(int step) {
    char line[64];
    snprintf(line, sizeof line, "计数：%d", step);
    setText(COUNTER_TEXT, line);
}

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    showTexts();
    for (int step = 0;; ++step) {
        /* The background slowly cycles through soft colours. */
        float t = (float)(step % 200) / 200.0f;
        setBgColor(0.6f + 0.4f * t, 0.8f, 1.0f - 0.4f * t);
        updateCounter(step);
        pauseGame(30);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
