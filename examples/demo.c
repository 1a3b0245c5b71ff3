/* The Vindle demo: a small scene that shows most of what a game can do.
 *
 *   Left / Right   the walker turns and walks that way (it turns by itself at the edges)
 *   Space          a jump sound over the background music
 *   H              hides or shows the mouse pointer (a key-up handler)
 *   mouse          its position is shown; a left click changes the sky colour
 *   Escape         ends the round; the demo asks whether to play again
 */
#include <stdatomic.h>
#include <stdio.h>

#include <vindle.h>

enum { TITLE_TEXT = 1, CLOCK_TEXT, COLOUR_TEXT, MOUSE_TEXT, HELP_TEXT };
enum { LANDSCAPE = 1, GLASS };
enum { WALKER = 1 };

static const float skies[3][3] = {{0.85f, 0.80f, 0.75f}, {0.75f, 0.85f, 0.95f}, {0.95f, 0.85f, 0.70f}};
static int sky = 0;
static int pointerHidden = 0;
static atomic_int roundOver; /* set by the key handler on the window thread */

/* ---- texts ---------------------------------------------------------------- */

static void showTexts(void) {
    createText(TITLE_TEXT, "欢迎来到 Vindle 游戏世界！");
    setTextPosition(TITLE_TEXT, 40, 540);
    setTextFontSize(TITLE_TEXT, 32);

    createText(CLOCK_TEXT, "");
    setTextPosition(CLOCK_TEXT, 40, 500);

    createText(COLOUR_TEXT, "彩色文字 Colourful text");
    setTextPosition(COLOUR_TEXT, 40, 460);
    setTextFontSize(COLOUR_TEXT, 24);
    setTextColor(COLOUR_TEXT, 0.8f, 0.1f, 0.3f);

    createText(MOUSE_TEXT, "");
    setTextPosition(MOUSE_TEXT, 560, 500);
    setTextColor(MOUSE_TEXT, 0.1f, 0.3f, 0.6f);

    createText(HELP_TEXT, "←→ 走动  空格 跳跃声  H 隐藏指针  点击 换天空颜色  Esc 结束");
    setTextPosition(HELP_TEXT, 40, 420);
    setTextFontSize(HELP_TEXT, 16);
}

static void updateTexts(int secondsLeft) {
    char line[64];
    snprintf(line, sizeof line, "剩余时间：%d 秒", secondsLeft);
    setText(CLOCK_TEXT, line);
    snprintf(line, sizeof line, "鼠标：(%d, %d)", getMousePositionX(), getMousePositionY());
    setText(MOUSE_TEXT, line);
}

/* ---- pictures and the walker ---------------------------------------------- */

/* A landscape along the bottom and a half-transparent panel over it. */
static void showPictures(void) {
    createImage(LANDSCAPE, "bg.png");
    createImage(GLASS, "glass.png");
    setImagePosition(GLASS, 250, 130);
}

static int walkerX = 100, direction = 1;

static void showWalker(void) {
    walkerX = 100;
    direction = 1;
    createSprite(WALKER, "walker");
    setSpritePosition(WALKER, walkerX, 28);
    playSpriteAnimate(WALKER, "walk");
}

/* One step of the walker: arrow keys choose the direction, the edges of the
   window turn it round; frames are mirrored when it walks to the left. */
static void moveWalker(void) {
    int key = getPressedSpecialKeyCode();
    if (getPressedKeyCode() == KEY_LEFT && key == KEY_LEFT) direction = -1;
    if (getPressedKeyCode() == KEY_RIGHT && key == KEY_RIGHT) direction = 1;
    if (walkerX <= 20) direction = 1;
    if (walkerX >= getGameWidth() - 20 - getSpriteWidth(WALKER)) direction = -1;
    walkerX += 2 * direction;
    setSpritePosition(WALKER, walkerX, 28);
    setSpriteFlipX(WALKER, direction < 0);
}

/* ---- keyboard, mouse and sound -------------------------------------------- */

/* Key releases are never missed, however short the press: H toggles the
   pointer, Space plays the jump sound, Escape ends the round. */
static void onKeyReleased(unsigned char key) {
    if (key == 'h' || key == 'H') {
        pointerHidden = !pointerHidden;
        if (pointerHidden) hideMouseCursor();
        else showMouseCursor();
    } else if (key == KEY_SPACE) {
        playSound("jump.wav", 0);
    } else if (key == KEY_ESCAPE) {
        atomic_store(&roundOver, 1);
    }
}

/* A click changes the sky. */
static void handleMouse(void) {
    static int buttonWasDown = 0;
    int buttonDown = isMouseLeftButtonDown();
    if (buttonDown && !buttonWasDown) {
        sky = (sky + 1) % 3;
        setBgColor(skies[sky][0], skies[sky][1], skies[sky][2]);
    }
    buttonWasDown = buttonDown;
}

/* ---- the game ------------------------------------------------------------- */

/* One round: a minute of walking, or until Escape. */
static void playRound(void) {
    clearGameUI();
    setBgColor(skies[sky][0], skies[sky][1], skies[sky][2]);
    showPictures();
    showWalker();
    showTexts();
    atomic_store(&roundOver, 0);
    for (int step = 0; step < 2000 && !atomic_load(&roundOver); ++step) {
        moveWalker();
        handleMouse();
        updateTexts((2000 - step) * 30 / 1000);
        pauseGame(30);
    }
}

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    onNormalKeyUp(onKeyReleased);
    playSound("bgm.mp3", 1);
    do {
        playRound();
    } while (confirm("再玩一次？"));
    closeSound("bgm.mp3");
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
