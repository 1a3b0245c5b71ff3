/* The Vindle demo: a tour of what a game can do. */
#include <vindle.h>

/* One round of the show: the background slowly cycles through soft colours. */
static void playRound(void) {
    for (int step = 0; step < 400; ++step) {
        float t = (float)(step % 200) / 200.0f;
        setBgColor(0.6f + 0.4f * t, 0.8f, 1.0f - 0.4f * t);
        pauseGame(30);
    }
}

/* Asks at the end of a round; Yes plays again, No ends the demo. */
static int askToPlayAgain(void) { return confirm("再玩一次？"); }

static void gameMain(void) {
    setGameTitle("Vindle 演示");
    do {
        playRound();
    } while (askToPlayAgain());
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
