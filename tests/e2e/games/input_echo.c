/* Prints every change of the input words it polls, and every key release its
   handlers see, one line each. Releasing h hides the mouse pointer, s shows
   it, Escape ends the game. */
#include <stdio.h>

#include <vindle.h>

/* Set by the handler on the window thread, read by the game thread. */
static int escapeReleased = 0;

static void normalUp(unsigned char key) {
    printf("normal-up %d pressed=%d normal=%d\n", key, getPressedKeyCode(), getPressedNormalKeyCode());
    fflush(stdout);
    if (key == 'h') hideMouseCursor();
    if (key == 's') showMouseCursor();
    if (key == 27) __atomic_store_n(&escapeReleased, 1, __ATOMIC_RELAXED);
}

static void specialUp(int key) {
    printf("special-up %d pressed=%d special=%d\n", key, getPressedKeyCode(), getPressedSpecialKeyCode());
    fflush(stdout);
}

static void gameMain(void) {
    int last[6] = {-1, -1, -1, -1, -1, -1};
    setGameSize(640, 480);
    onNormalKeyUp(normalUp);
    onSpecialKeyUp(specialUp);
    printf("ready\n");
    fflush(stdout);
    while (!__atomic_load_n(&escapeReleased, __ATOMIC_RELAXED)) {
        int now[6] = {getPressedKeyCode(), getPressedNormalKeyCode(), getPressedSpecialKeyCode(),
                      getMousePositionX(), getMousePositionY(), isMouseLeftButtonDown()};
        int changed = 0;
        for (int i = 0; i < 6; ++i) {
            if (now[i] != last[i]) changed = 1;
            last[i] = now[i];
        }
        if (changed) {
            printf("state pressed=%d normal=%d special=%d x=%d y=%d left=%d\n", now[0], now[1], now[2], now[3],
                   now[4], now[5]);
            fflush(stdout);
        }
        pauseGame(2);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
