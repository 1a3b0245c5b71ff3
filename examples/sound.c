/* Sound: background music from Sounds/bgm.mp3 played in a loop, and a jump
 * sound from Sounds/jump.wav on Space. M stops and starts the music again.
 * Escape ends the example. */
#include <stdatomic.h>

#include <vindle.h>

enum { CAPTION = 1, MUSIC };

/* Set on the window thread, which calls the key-up handlers; read by gameMain. */
static atomic_int done;
static int musicOn = 1;

static void keyReleased(unsigned char key) {
    if (key == KEY_SPACE) playSound("jump.wav", 0);   /* once */
    if (key == 'm' || key == 'M') {
        musicOn = !musicOn;
        if (musicOn) playSound("bgm.mp3", 1);         /* 1: loops until closeSound */
        else closeSound("bgm.mp3");
        setText(MUSIC, musicOn ? "音乐：开" : "音乐：关");
    }
    if (key == KEY_ESCAPE) atomic_store(&done, 1);
}

static void gameMain(void) {
    setGameTitle("声音 Sound");
    setBgColor(0.90f, 0.88f, 0.98f);

    createText(CAPTION, "空格：跳跃声 jump.wav   M：背景音乐 bgm.mp3 开/关   Esc 结束");
    setTextPosition(CAPTION, 20, 560);
    createText(MUSIC, "音乐：开");
    setTextPosition(MUSIC, 20, 500);
    setTextFontSize(MUSIC, 32);

    playSound("bgm.mp3", 1);
    onNormalKeyUp(keyReleased);
    while (!atomic_load(&done)) pauseGame(20);
    closeSound("bgm.mp3");
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
