/* 我的第一个游戏：一个小人在草地上走，方向键控制方向，空格键发出跳跃声，Esc 结束。
 *
 * Visual Studio：按 F5 编译并运行。Dev-C++：按 F11 编译并运行。
 * 图片在 Images 文件夹，精灵（会动的角色）在 Sprites 文件夹，声音在 Sounds 文件夹；
 * 编译后它们和 Vindle.dll 一起被复制到 .exe 旁边，引擎在 .exe 旁边找它们。
 * 每个函数的说明在 vindle.h 和 docs 文件夹里的 api.html，出错时看 mistakes.html。
 */
#include "vindle.h"

/* 文本、图片、精灵各有自己的编号，编号由我们自己选。 */
enum { TITLE = 1, HELP = 2 };   /* 文本编号 */
enum { GROUND = 1 };            /* 图片编号 */
enum { HERO = 1 };              /* 精灵编号 */

/* 按键处理函数（在窗口线程里）改它，gameMain 读它：两个线程都用的变量加 volatile，
   每次都从内存里读。 */
static volatile int gameOver;

/* 松开按键时引擎调用这个函数。短按也不会漏掉，所以“按一下”的操作放在这里。 */
static void keyReleased(unsigned char key) {
    if (key == ' ') playSound("jump.wav", 0);   /* 播放 Sounds\jump.wav，只放一次 */
    if (key == KEY_ESCAPE) gameOver = 1;
}

/* 游戏的主函数：引擎打开窗口后，在另一个线程里运行它。它返回时游戏结束。 */
static void gameMain(void) {
    int x = 100, direction = 1;

    setGameTitle("我的第一个游戏");
    setBgColor(0.53f, 0.81f, 0.92f);   /* 天蓝色：颜色的三个数都在 0.0 到 1.0 之间 */

    createImage(GROUND, "bg.png");      /* Images\bg.png，左下角放在 (0, 0) */

    createText(TITLE, "你好，世界！");
    setTextPosition(TITLE, 40, 540);    /* 坐标从窗口左下角算起，y 向上增大 */
    setTextFontSize(TITLE, 32);
    setTextColor(TITLE, 0.8f, 0.1f, 0.1f);

    createText(HELP, "← → 走动   空格 跳跃声   Esc 结束");
    setTextPosition(HELP, 40, 500);

    createSprite(HERO, "walker");       /* Sprites\walker 文件夹 */
    playSpriteAnimate(HERO, "walk");    /* 播放 Sprites\walker\walk 里的 1.png、2.png…… */

    onNormalKeyUp(keyReleased);

    while (!gameOver) {
        /* 按住方向键时改变方向（方向键是“特殊键”，用 getPressedSpecialKeyCode 读） */
        if (getPressedKeyCode() == KEY_LEFT && getPressedSpecialKeyCode() == KEY_LEFT) direction = -1;
        if (getPressedKeyCode() == KEY_RIGHT && getPressedSpecialKeyCode() == KEY_RIGHT) direction = 1;
        if (x < 0) direction = 1;
        if (x > getGameWidth() - 48) direction = -1;
        x += 2 * direction;
        setSpritePosition(HERO, x, 28);
        setSpriteFlipX(HERO, direction < 0);   /* 向左走时左右翻转 */
        pauseGame(20);                         /* 等 20 毫秒，窗口照常刷新 */
    }
}

int main(void) {
    zqInit(gameMain);   /* 打开窗口并运行 gameMain，不会返回 */
    return 0;
}
