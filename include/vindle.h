/*
 * vindle.h —— Vindle 游戏引擎，游戏只需要包含这一个头文件。
 * (The Vindle game engine's one header; the manual is docs/api in Chinese.)
 *
 * 游戏就是一个普通的控制台程序：
 *
 *     #include <vindle.h>
 *     void gameMain(void) { createText(1, "你好"); pauseGame(3000); }
 *     int main(void) { zqInit(gameMain); return 0; }
 *
 * zqInit 打开窗口，在另一个线程里运行 gameMain；gameMain 返回时程序结束，
 * 退出码是 1（严重错误后是 255，玩家关闭窗口是 0）。文本、图片、精灵用游戏
 * 自己选的编号来区分，每类各有自己的编号。坐标以像素为单位，从游戏区域的
 * 左下角算起，y 向上增大。颜色是 0.0 到 1.0 之间的三个数（红、绿、蓝）：
 * 写 135, 206, 235 得到的是白色。
 * 函数手册和常见错误在引擎附带的 docs 文件夹里：api 和 mistakes
 * （Windows 压缩包里是 docs\api.html，Linux 安装后在 /usr/share/doc/vindle）。
 */
#ifndef VINDLE_H
#define VINDLE_H

#if defined(_WIN32)
#  if defined(VINDLE_BUILD)
#    define VINDLE_API __declspec(dllexport)
#  else
#    define VINDLE_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__)
#  define VINDLE_API __attribute__((visibility("default")))
#else
#  define VINDLE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* 游戏自己的主函数，由 zqInit 在它自己的线程里运行。 */
typedef void (*GameMainFunc)(void);
/* 由 asyncRun 在新线程里运行的函数，参数是传给 asyncRun 的那个。 */
typedef void (*AsyncRunFunc)(void* argument);
/* 松开按键时调用的处理函数：字符键（编码 0..255）或特殊键。 */
typedef void (*NormalKeyUpFunc)(unsigned char key);
typedef void (*SpecialKeyUpFunc)(int key);

/* ---- 启动、窗口和常用工具 ------------------------------------------------ */

/* 打开窗口，在另一个线程里运行 gameMain，并一直处理窗口直到程序结束。
   在 main 里调用一次；它不会返回。 */
VINDLE_API void zqInit(GameMainFunc gameMain);
/* 设置游戏区域和窗口的大小，单位是像素（默认 800 × 600）。 */
VINDLE_API void setGameSize(int width, int height);
/* 游戏区域的宽度（像素）。 */
VINDLE_API int getGameWidth(void);
/* 游戏区域的高度（像素）。 */
VINDLE_API int getGameHeight(void);
/* 把整个画面在窗口里平移 (x, y) 像素。 */
VINDLE_API void setViewPortPosition(int x, int y);
/* setViewPortPosition 设置的水平平移。 */
VINDLE_API int getViewPortPositionX(void);
/* setViewPortPosition 设置的垂直平移。 */
VINDLE_API int getViewPortPositionY(void);
/* 背景颜色（默认白色：1.0, 1.0, 1.0）。 */
VINDLE_API void setBgColor(float red, float green, float blue);
/* 设置窗口标题栏上的文字。 */
VINDLE_API void setGameTitle(const char* title);
/* 引擎的版本号：20171208。 */
VINDLE_API int getZQGameVersion(void);
/* 等待给定的毫秒数；窗口照常刷新。 */
VINDLE_API void pauseGame(int milliseconds);
/* 在一个新线程里运行 function(argument)，自己马上返回。 */
VINDLE_API void asyncRun(AsyncRunFunc function, void* argument);
/* 放 Images、Sprites、Sounds 的文件夹（默认是程序所在的文件夹）。 */
VINDLE_API void setResourcesDir(const char* directory);
/* 删除所有文本、图片和精灵，它们的编号都可以重新使用。 */
VINDLE_API void clearGameUI(void);

/* ---- 文本 ------------------------------------------------------------------ */

/* 新建编号为 id 的文本：显示、黑色、20 像素高、位置 (0, 0)。
   编号已经被用过时程序结束（严重错误）。 */
VINDLE_API void createText(int id, const char* text);
/* 移动文本：第一个字的基线左端放在 (x, y)。 */
VINDLE_API void setTextPosition(int id, int x, int y);
/* 换掉文本显示的文字。 */
VINDLE_API void setText(int id, const char* text);
/* 设置文本颜色（每个数在 0.0 到 1.0 之间）。 */
VINDLE_API void setTextColor(int id, float red, float green, float blue);
/* 设置文字的高度（像素，默认 20）。 */
VINDLE_API void setTextFontSize(int id, int size);
/* 隐藏文本；编号和设置都保留。 */
VINDLE_API void hideText(int id);
/* 重新显示隐藏的文本。 */
VINDLE_API void showText(int id);
/* 文本的 x 坐标；没有这个文本时返回 -1（并打印警告）。 */
VINDLE_API int getTextX(int id);
/* 文本的 y 坐标；没有这个文本时返回 -1（并打印警告）。 */
VINDLE_API int getTextY(int id);
/* 显示时返回 1，隐藏时返回 0，没有这个文本时返回 -1（并打印警告）。 */
VINDLE_API int isTextVisible(int id);
/* 有这个编号的文本返回 1，否则返回 0；从不打印警告。 */
VINDLE_API int isValidText(int id);

/* ---- 图片 ------------------------------------------------------------------ */
/* 图片是资源文件夹下 Images 文件夹里的 PNG 文件。图片的左下角放在它的位置上，
   画在精灵和文本的下面。 */

/* 用文件 fileName（例如 "bg.png"）新建编号为 id 的图片，位置 (0, 0)，显示。 */
VINDLE_API void createImage(int id, const char* fileName);
/* 把图片 id 的左下角移到 (x, y)。 */
VINDLE_API void setImagePosition(int id, int x, int y);
/* 给图片 id 换一张图；位置和显示状态不变。 */
VINDLE_API void setImageSource(int id, const char* fileName);
/* 重新显示被 hideImage 隐藏的图片。 */
VINDLE_API void showImage(int id);
/* 隐藏图片 id；编号和设置都保留。 */
VINDLE_API void hideImage(int id);
/* 图片 id 的 x 坐标（没有这个图片时是 -1）。 */
VINDLE_API int getImageX(int id);
/* 图片 id 的 y 坐标（没有这个图片时是 -1）。 */
VINDLE_API int getImageY(int id);
/* 图片 id 的宽度（像素；没有这个图片时是 -1）。 */
VINDLE_API int getImageWidth(int id);
/* 图片 id 的高度（像素；没有这个图片时是 -1）。 */
VINDLE_API int getImageHeight(int id);
/* 显示时返回 1，隐藏时返回 0，没有这个图片时返回 -1。 */
VINDLE_API int isImageVisible(int id);
/* 有编号为 id 的图片返回 1，否则返回 0；从不打印警告。 */
VINDLE_API int isValidImage(int id);

/* ---- 精灵 ------------------------------------------------------------------ */
/* 精灵是 Sprites 下的一个文件夹（文件夹名就是精灵名）；其中每个子文件夹是一个动作，
   里面是按顺序编号的帧 1.png、2.png ……，每 300 毫秒换一帧。 */

/* 用文件夹 Sprites/name 新建编号为 id 的精灵：位置 (0, 0)、显示、循环播放，
   但要等播放了一个动作之后才画出来。 */
VINDLE_API void createSprite(int id, const char* name);
/* 把精灵的左下角移到 (x, y)。 */
VINDLE_API void setSpritePosition(int id, int x, int y);
/* 非 0：在原地左右翻转着画。 */
VINDLE_API void setSpriteFlipX(int id, int flipX);
/* 非 0：在原地上下翻转着画。 */
VINDLE_API void setSpriteFlipY(int id, int flipY);
/* 隐藏精灵；它的动画照样往下走。 */
VINDLE_API void hideSprite(int id);
/* 重新显示精灵。 */
VINDLE_API void showSprite(int id);
/* 非 0：动作循环播放（默认）；0：播放一遍后停在最后一帧。 */
VINDLE_API void setSpriteRepeatPlay(int id, int repeatPlay);
/* 精灵左边的 x 坐标（没有这个精灵时是 -1）。 */
VINDLE_API int getSpriteX(int id);
/* 精灵底边的 y 坐标（没有这个精灵时是 -1）。 */
VINDLE_API int getSpriteY(int id);
/* 最后画出的那一帧的宽度；第一次画出之前是 0。 */
VINDLE_API int getSpriteWidth(int id);
/* 最后画出的那一帧的高度；第一次画出之前是 0。 */
VINDLE_API int getSpriteHeight(int id);
/* 显示时返回 1，隐藏时返回 0（没有这个精灵时是 -1）。 */
VINDLE_API int isSpriteVisible(int id);
/* 有编号为 id 的精灵返回 1，否则返回 0；从不打印警告。 */
VINDLE_API int isValidSprite(int id);
/* 从第一帧开始播放动作文件夹 Sprites/<精灵名>/action；
   给出的正是正在播放的动作时什么也不变。 */
VINDLE_API void playSpriteAnimate(int id, const char* action);

/* ---- 键盘和鼠标 ------------------------------------------------------------ */
/* 按键分两类，编号各算各的。字符键的编号就是它的字符（'a' 是 97，空格是 32）；
   特殊键的编号见下面的 KEY_ 名字。两类编号有重叠：'d' 和 KEY_LEFT 都是 100，
   'e' 和 KEY_UP 都是 101。getPressedNormalKeyCode 和 onNormalKeyUp 只管字符键，
   getPressedSpecialKeyCode 和 onSpecialKeyUp 只管特殊键；getPressedKeyCode
   两类都管，分不出 'd' 和左方向键。
   短短按一下的键可能在两次 getPressed...KeyCode 之间按下又松开：
   “按一下”的操作用 onNormalKeyUp / onSpecialKeyUp。 */

/* 没有可见字符的字符键（和按键编号比较）。 */
#define KEY_BACKSPACE 8
#define KEY_TAB 9
#define KEY_ENTER 13
#define KEY_ESCAPE 27
#define KEY_SPACE 32
#define KEY_DELETE 127
/* 特殊键，getPressedSpecialKeyCode 和 onSpecialKeyUp 给出的编号。 */
#define KEY_F1 1
#define KEY_F2 2
#define KEY_F3 3
#define KEY_F4 4
#define KEY_F5 5
#define KEY_F6 6
#define KEY_F7 7
#define KEY_F8 8
#define KEY_F9 9
#define KEY_F10 10
#define KEY_F11 11
#define KEY_F12 12
#define KEY_LEFT 100
#define KEY_UP 101
#define KEY_RIGHT 102
#define KEY_DOWN 103
#define KEY_PAGE_UP 104
#define KEY_PAGE_DOWN 105
#define KEY_HOME 106
#define KEY_END 107
#define KEY_INSERT 108
#define KEY_SHIFT_LEFT 112
#define KEY_SHIFT_RIGHT 113
#define KEY_CTRL_LEFT 114
#define KEY_CTRL_RIGHT 115
#define KEY_ALT_LEFT 116
#define KEY_ALT_RIGHT 117


/* 鼠标指针最后一次移动时的 x（从窗口左边算起的像素）；按住左键时不变。 */
VINDLE_API int getMousePositionX(void);
/* 鼠标指针的 y（从下边算起：游戏高度减去窗口坐标的 y）；按住左键时不变。 */
VINDLE_API int getMousePositionY(void);
/* 按住鼠标左键时返回 1，否则返回 0。 */
VINDLE_API int isMouseLeftButtonDown(void);
/* 在窗口上重新显示鼠标指针。 */
VINDLE_API void showMouseCursor(void);
/* 鼠标在窗口上时隐藏指针。 */
VINDLE_API void hideMouseCursor(void);
/* 最后按下的键的编号，两类都算（a 是 97，左方向键是 100）；松开任何键后变成 0。 */
VINDLE_API int getPressedKeyCode(void);
/* 最后按下的字符键的编码 0..255；松开后变成 0。 */
VINDLE_API int getPressedNormalKeyCode(void);
/* 最后按下或松开的特殊键的编号（F1..F12 是 1..12，方向键 100..103）；松开后不变。 */
VINDLE_API int getPressedSpecialKeyCode(void);
/* 每次松开字符键时（在窗口线程里）调用 handler(key)；传 NULL 取消。 */
VINDLE_API void onNormalKeyUp(NormalKeyUpFunc handler);
/* 每次松开特殊键时（在窗口线程里）调用 handler(key)；传 NULL 取消。 */
VINDLE_API void onSpecialKeyUp(SpecialKeyUpFunc handler);

/* ---- 声音 ------------------------------------------------------------------ */

/* 在后台播放 Sounds 文件夹里的 .wav 或 .mp3 文件；repeat 非 0 时循环播放，直到
   closeSound。正在响的文件再播放一次就从头开始。文件不存在或不能播放时程序结束
   （严重错误）。返回 0。 */
VINDLE_API int playSound(const char* fileName, int repeat);
/* 停止 Sounds 文件夹里这个文件的声音。它正在播放（或播放过）时返回 0，否则返回
   别的数；从不报错。 */
VINDLE_API int closeSound(const char* fileName);

/* ---- 对话框 ---------------------------------------------------------------- */

#if defined(__GNUC__)
#  define VINDLE_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#  define VINDLE_PRINTF_FORMAT
#endif
/* 弹出一个带“确定”按钮的对话框（格式和参数同 printf），等玩家关掉它。
   返回 1；对话框打不开时返回 0。 */
VINDLE_API int alert(const char* format, ...) VINDLE_PRINTF_FORMAT;
/* 弹出“是/否”对话框（格式同 printf）并等待回答：玩家选“是”返回 1，否则返回 0。 */
VINDLE_API int confirm(const char* format, ...) VINDLE_PRINTF_FORMAT;

#ifdef __cplusplus
}
#endif

#endif /* VINDLE_H */
