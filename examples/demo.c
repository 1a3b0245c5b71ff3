/* The Vindle demo: a tour of what a game can do. */
#include <vindle.h>

/* Background music that loops for the whole demo. */
static void startMusic(void) { playSound("bgm.mp3", 1); }

/* A jump sound every few seconds, over the music. */
static void playEffects(int step) {
    if (step % 100 == 50) playSound("jump.wav", 0);
}

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    startMusic();
    for (int step = 0;; ++step) {
        /* The background slowly cycles through soft colours. */
        float t = (float)(step % 200) / 200.0f;
        setBgColor(0.6f + 0.4f * t, 0.8f, 1.0f - 0.4f * t);
        playEffects(step);
        pauseGame(30);
    }
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
