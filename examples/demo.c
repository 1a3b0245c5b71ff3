/* The Vindle demo: a tour of what a game can do. */
#include <stdio.h>
#include <string.h>

#include <vindle.h>

/* ---- texts --------------------------------------------------------------- */

/* A Chinese title, a counter that the main loop updates, a coloured line. */
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

/* ---- pictures ---------------------------------------------------------- */

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

/* ---- keyboard and mouse ------------------------------------------------- */

static int figureX = 0, figureY = 0; /* moved with the arrow keys */
static int palette = 0;              /* a left click picks the next one */
static int cursorHidden = 0;

/* Releasing H hides the mouse pointer or brings it back. */
static void demoKeyUp(unsigned char key) {
    if (key != 'h' && key != 'H') return;
    cursorHidden = !cursorHidden;
    if (cursorHidden) hideMouseCursor();
    else showMouseCursor();
    printf("H: mouse pointer %s\n", cursorHidden ? "hidden" : "shown");
    fflush(stdout);
}

/* An arrow key held down (a special key, not the letter with the same code). */
static int heldArrow(void) {
    int key = getPressedKeyCode();
    if (key == 0 || key != getPressedSpecialKeyCode() || key == getPressedNormalKeyCode()) return 0;
    return key;
}

/* Called every step: arrows move the scene, a click changes the colours and
   the title shows where everything is. */
static void demoInput(void) {
    static int wasDown = 0;
    static char lastTitle[128] = "";
    char title[128];
    int down;

    switch (heldArrow()) {
    case 100: figureX -= 4; break; /* Left */
    case 101: figureY += 4; break; /* Up */
    case 102: figureX += 4; break; /* Right */
    case 103: figureY -= 4; break; /* Down */
    default: break;
    }
    setViewPortPosition(figureX, figureY);

    down = isMouseLeftButtonDown();
    if (down && !wasDown) palette = (palette + 1) % 3;
    wasDown = down;

    snprintf(title, sizeof title, "Vindle 演示  方向键 (%d, %d)  鼠标 (%d, %d)  H 隐藏指针", figureX, figureY,
             getMousePositionX(), getMousePositionY());
    if (strcmp(title, lastTitle) != 0) {
        setGameTitle(title);
        strcpy(lastTitle, title);
    }
}

/* ---- sound ------------------------------------------------------------- */

/* Background music that loops for the whole demo. */
static void startMusic(void) { playSound("bgm.mp3", 1); }

/* A jump sound every few seconds, over the music. */
static void playEffects(int step) {
    if (step % 100 == 50) playSound("jump.wav", 0);
}

/* ---- the game ------------------------------------------------------------ */

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    showPictures();
    showTexts();
    showWalker();
    onNormalKeyUp(demoKeyUp);
    startMusic();
    for (int step = 0;; ++step) {
        /* The background slowly cycles through soft colours. */
        float t = (float)(step % 200) / 200.0f;
        float shade[3] = {0.6f + 0.4f * t, 0.8f, 1.0f - 0.4f * t};
        setBgColor(shade[palette], shade[(palette + 1) % 3], shade[(palette + 2) % 3]);
        demoInput();
        updateCounter(step);
        playEffects(step);
        pauseGame(30);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
