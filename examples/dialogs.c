/* Dialogs: alert shows a message and waits for OK; confirm asks a yes/no
 * question and says which was chosen. Both take printf formats. The game
 * waits while a box is up; the window goes on drawing. */
#include <vindle.h>

enum { CAPTION = 1, ANSWER };

static void gameMain(void) {
    setGameTitle("对话框 Dialogs");
    setBgColor(0.98f, 0.95f, 0.85f);
    createText(CAPTION, "alert 和 confirm 会等玩家点按钮");
    setTextPosition(CAPTION, 20, 560);
    createText(ANSWER, "");
    setTextPosition(ANSWER, 20, 500);
    setTextFontSize(ANSWER, 28);

    int score = 42;
    alert("你的分数是 %d 分！", score);
    int rounds = 1;
    while (confirm("第 %d 局结束了。再玩一次？", rounds)) {
        ++rounds;
        setText(ANSWER, "你选了“是”");
    }
    setText(ANSWER, "你选了“否”，游戏结束");
    pauseGame(1500);
}

int main(void) {
    zqInit(gameMain);
    return 0;
}
