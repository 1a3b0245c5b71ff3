/*
 * vindle.h - the Vindle game engine, the one header a game includes.
 *
 * A game is an ordinary console program:
 *
 *     #include <vindle.h>
 *     void gameMain(void) { createText(1, "Hello"); pauseGame(3000); }
 *     int main(void) { zqInit(gameMain); return 0; }
 *
 * zqInit opens the window and runs gameMain on a second thread; when gameMain
 * returns, the program ends. Objects (texts, images, sprites) are addressed by
 * numbers that the game chooses; each kind has its own numbers. Coordinates are
 * pixels from the lower-left corner of the game area, y growing upwards. Colours
 * are three numbers from 0.0 to 1.0 (red, green, blue).
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

/* The game's own function, run on its own thread by zqInit. */
typedef void (*GameMainFunc)(void);
/* A function started by asyncRun with the argument given there. */
typedef void (*AsyncRunFunc)(void* argument);
/* Handlers for key releases: a character key (its code 0..255) or a special key. */
typedef void (*NormalKeyUpFunc)(unsigned char key);
typedef void (*SpecialKeyUpFunc)(int key);

/* ---- start-up, window and conveniences ---------------------------------- */

/* Opens the window, starts gameMain on its own thread and runs the window until
   the program ends. Call it once from main; it does not come back. */
VINDLE_API void zqInit(GameMainFunc gameMain);
/* Sets the size of the game area and the window, in pixels (default 800 x 600). */
VINDLE_API void setGameSize(int width, int height);
/* Width of the game area in pixels. */
VINDLE_API int getGameWidth(void);
/* Height of the game area in pixels. */
VINDLE_API int getGameHeight(void);
/* Shifts the whole scene in the window by (x, y) pixels. */
VINDLE_API void setViewPortPosition(int x, int y);
/* Horizontal shift of the scene set with setViewPortPosition. */
VINDLE_API int getViewPortPositionX(void);
/* Vertical shift of the scene set with setViewPortPosition. */
VINDLE_API int getViewPortPositionY(void);
/* Colour that every frame is cleared to (default white: 1.0, 1.0, 1.0). */
VINDLE_API void setBgColor(float red, float green, float blue);
/* Sets the text in the window's title bar. */
VINDLE_API void setGameTitle(const char* title);
/* The engine's version number, 20171208. */
VINDLE_API int getZQGameVersion(void);
/* Waits the given number of milliseconds; the window goes on drawing. */
VINDLE_API void pauseGame(int milliseconds);
/* Runs function(argument) on a new thread of its own and returns at once. */
VINDLE_API void asyncRun(AsyncRunFunc function, void* argument);
/* Folder that holds Images, Sprites and Sounds (default: the program's folder). */
VINDLE_API void setResourcesDir(const char* directory);
/* Removes every text, image and sprite; all their numbers are free again. */
VINDLE_API void clearGameUI(void);

/* ---- message dialogs ----------------------------------------------------- */

#if defined(__GNUC__)
#  define VINDLE_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#  define VINDLE_PRINTF_FORMAT
#endif
/* Shows a message box with an OK button (format and arguments as in printf)
   and waits until the player closes it. Returns 1, or 0 if no box could open. */
VINDLE_API int alert(const char* format, ...) VINDLE_PRINTF_FORMAT;
/* Asks a yes/no question (format as in printf) and waits for the answer:
   1 when the player chose Yes, otherwise 0. */
VINDLE_API int confirm(const char* format, ...) VINDLE_PRINTF_FORMAT;

#ifdef __cplusplus
}
#endif

#endif /* VINDLE_H */
