/* Input: the mouse position and left button, the codes of the key held down,
 * and the keys released last, read by the two key-up handlers. The arrow keys
 * move the walker. A letter and a special key can share a number ('d' and
 * Left are both 100): the special-key functions tell them apart. Escape ends
 * the example. */
#include <stdatomic.h>
#include <stdio.h>

#include <vindle.h>

enum { CAPTION = 1, MOUSE, HELD, RELEASED };
enum { WALKER = 1 };

/* Set on the window thread, which calls the key-up handlers; read by gameMain. */
static atomic_int done;
static atomic_int releasedNormal = -1, releasedSpecial = -1;

static void normalKeyReleased(unsigned char key) {
    if (key == KEY_ESCAPE) atomic_store(&done, 1);
    atomic_store(&releasedNormal, key);
}

static void specialKeyReleased(int key) { atomic_store(&releasedSpecial, key); }

static void gameMain(void) {
    char line[96];
    setGameTitle("键盘和鼠标 Input");
    setBgColor(0.95f, 0.92f, 0.85f);
    onNormalKeyUp(normalKeyReleased);
    onSpecialKeyUp(specialKeyReleased);

    createText(CAPTION, "方向键移动小人，按任意键看它的编号   Esc 结束");
    setTextPosition(CAPTION, 20, 560);
    createText(MOUSE, "");
    setTextPosition(MOUSE, 20, 500);
    createText(HELD, "");
    setTextPosition(HELD, 20, 460);
    createText(RELEASED, "");
    setTextPosition(RELEASED, 20, 420);
    setTextColor(RELEASED, 0.1f, 0.3f, 0.7f);

    int x = 376, y = 150;
    createSprite(WALKER, "walker");
    playSpriteAnimate(WALKER, "stand");

    while (!atomic_load(&done)) {
        snprintf(line, sizeof line, "鼠标：(%d, %d)  左键：%s", getMousePositionX(), getMousePositionY(),
                 isMouseLeftButtonDown() ? "按下" : "松开");
        setText(MOUSE, line);
        snprintf(line, sizeof line, "按下的键：getPressedKeyCode %d  普通 %d  特殊 %d", getPressedKeyCode(),
                 getPressedNormalKeyCode(), getPressedSpecialKeyCode());
        setText(HELD, line);
        snprintf(line, sizeof line, "最后松开的键（onNormalKeyUp / onSpecialKeyUp）：普通 %d  特殊 %d",
                 atomic_load(&releasedNormal), atomic_load(&releasedSpecial));
        setText(RELEASED, line);

        /* Only while an arrow is held: the special code stays after a release. */
        if (getPressedKeyCode() == getPressedSpecialKeyCode()) {
            switch (getPressedSpecialKeyCode()) {
                case KEY_LEFT: x -= 3; setSpriteFlipX(WALKER, 1); break;
                case KEY_RIGHT: x += 3; setSpriteFlipX(WALKER, 0); break;
                case KEY_UP: y += 3; break;
                case KEY_DOWN: y -= 3; break;
            }
        }
        setSpritePosition(WALKER, x, y);
        pauseGame(20);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
