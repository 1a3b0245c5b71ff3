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
 * returns, the program ends with exit status 1 (255 after a fatal error, 0
 * when the player closes the window). Objects (texts, images, sprites) are
 * addressed by numbers that the game chooses; each kind has its own numbers.
 * Coordinates are pixels from the lower-left corner of the game area, y growing
 * upwards. Colours are three numbers from 0.0 to 1.0 (red, green, blue): 135,
 * 206, 235 is white.
 * The manual, in Chinese: docs/api.md.
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

/* ---- texts --------------------------------------------------------------- */

/* Creates text number id showing the string: visible, black, 20 pixels high,
   at (0, 0). A number that is already taken ends the program. */
VINDLE_API void createText(int id, const char* text);
/* Moves the text so that its first character stands on the base line at (x, y). */
VINDLE_API void setTextPosition(int id, int x, int y);
/* Replaces the string that the text shows. */
VINDLE_API void setText(int id, const char* text);
/* Sets the text's colour (each part from 0.0 to 1.0). */
VINDLE_API void setTextColor(int id, float red, float green, float blue);
/* Sets the height of the text's characters in pixels (default 20). */
VINDLE_API void setTextFontSize(int id, int size);
/* Stops drawing the text; it keeps its number and settings. */
VINDLE_API void hideText(int id);
/* Draws a hidden text again. */
VINDLE_API void showText(int id);
/* The text's x position, or -1 (with a warning) if there is no such text. */
VINDLE_API int getTextX(int id);
/* The text's y position, or -1 (with a warning) if there is no such text. */
VINDLE_API int getTextY(int id);
/* 1 if the text is shown, 0 if hidden, -1 (with a warning) if there is no such text. */
VINDLE_API int isTextVisible(int id);
/* 1 if a text with this number exists, else 0; never warns. */
VINDLE_API int isValidText(int id);

/* ---- images ------------------------------------------------------------ */
/* Pictures are PNG files in the Images folder of the resources folder. An image
   is drawn with its lower-left corner at its position, below sprites and texts. */

/* Creates image number id from fileName (e.g. "bg.png") at (0, 0), visible. */
VINDLE_API void createImage(int id, const char* fileName);
/* Moves the lower-left corner of image id to (x, y). */
VINDLE_API void setImagePosition(int id, int x, int y);
/* Gives image id another picture; position and visibility stay. */
VINDLE_API void setImageSource(int id, const char* fileName);
/* Shows image id again after hideImage. */
VINDLE_API void showImage(int id);
/* Stops drawing image id; it keeps its number and settings. */
VINDLE_API void hideImage(int id);
/* Horizontal position of image id (-1 when there is no such image). */
VINDLE_API int getImageX(int id);
/* Vertical position of image id (-1 when there is no such image). */
VINDLE_API int getImageY(int id);
/* Width of image id's picture in pixels (-1 when there is no such image). */
VINDLE_API int getImageWidth(int id);
/* Height of image id's picture in pixels (-1 when there is no such image). */
VINDLE_API int getImageHeight(int id);
/* 1 when image id is shown, 0 when hidden, -1 when there is no such image. */
VINDLE_API int isImageVisible(int id);
/* 1 when image number id exists, else 0; never prints a warning. */
VINDLE_API int isValidImage(int id);

/* ---- sprites ------------------------------------------------------------ */
/* A sprite is a folder under Sprites (its name); each sub-folder is an action
   holding numbered frames 1.png, 2.png, ... played every 300 ms. */

/* Creates sprite number id from the folder Sprites/name; visible at (0, 0),
   looping, but drawn only once an action is played. */
VINDLE_API void createSprite(int id, const char* name);
/* Moves the sprite's lower-left corner to (x, y). */
VINDLE_API void setSpritePosition(int id, int x, int y);
/* Non-zero draws the sprite mirrored left to right, in the same place. */
VINDLE_API void setSpriteFlipX(int id, int flipX);
/* Non-zero draws the sprite mirrored top to bottom, in the same place. */
VINDLE_API void setSpriteFlipY(int id, int flipY);
/* Stops drawing the sprite; its animation keeps running. */
VINDLE_API void hideSprite(int id);
/* Draws the sprite again. */
VINDLE_API void showSprite(int id);
/* Non-zero loops the action (the default); 0 stops it on its last frame. */
VINDLE_API void setSpriteRepeatPlay(int id, int repeatPlay);
/* Left edge of the sprite (-1 when there is no such sprite). */
VINDLE_API int getSpriteX(int id);
/* Bottom edge of the sprite (-1 when there is no such sprite). */
VINDLE_API int getSpriteY(int id);
/* Width of the frame drawn last; 0 before the sprite is first drawn. */
VINDLE_API int getSpriteWidth(int id);
/* Height of the frame drawn last; 0 before the sprite is first drawn. */
VINDLE_API int getSpriteHeight(int id);
/* 1 when the sprite is shown, 0 when hidden (-1 when there is no such sprite). */
VINDLE_API int isSpriteVisible(int id);
/* 1 when a sprite has the number id, else 0; never prints a warning. */
VINDLE_API int isValidSprite(int id);
/* Plays the action folder Sprites/<name>/action from its first frame; naming
   the action already playing changes nothing. */
VINDLE_API void playSpriteAnimate(int id, const char* action);

/* ---- keyboard and mouse ------------------------------------------------- */
/* Keys come in two kinds with separate numbers. Character keys report their
   character ('a' is 97, Space 32). Special keys report the numbers below. The
   two ranges overlap: 'd' and KEY_LEFT are both 100, 'e' and KEY_UP both 101.
   getPressedNormalKeyCode and onNormalKeyUp see only character keys,
   getPressedSpecialKeyCode and onSpecialKeyUp only special keys;
   getPressedKeyCode sees both and cannot tell 'd' from Left.
   A short tap can come and go between two looks at getPressed...KeyCode: use
   onNormalKeyUp / onSpecialKeyUp for keys that are tapped. */

/* Character keys without a letter of their own (compare with the key number). */
#define KEY_BACKSPACE 8
#define KEY_TAB 9
#define KEY_ENTER 13
#define KEY_ESCAPE 27
#define KEY_SPACE 32
#define KEY_DELETE 127
/* Special keys, as getPressedSpecialKeyCode and onSpecialKeyUp report them. */
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


/* Pointer x in pixels from the left edge of the window, at its last move. */
VINDLE_API int getMousePositionX(void);
/* Pointer y in pixels from the bottom (the game height minus the window's y). */
VINDLE_API int getMousePositionY(void);
/* 1 while the left mouse button is held down, else 0. */
VINDLE_API int isMouseLeftButtonDown(void);
/* Shows the mouse pointer over the window again. */
VINDLE_API void showMouseCursor(void);
/* Hides the mouse pointer while it is over the window. */
VINDLE_API void hideMouseCursor(void);
/* Code of the key pressed last, of either kind (a is 97, Left 100); 0 after any release. */
VINDLE_API int getPressedKeyCode(void);
/* Character code 0..255 of the character key pressed last; 0 after its release. */
VINDLE_API int getPressedNormalKeyCode(void);
/* Code of the special key pressed or released last (F1..F12 1..12, arrows 100..103). */
VINDLE_API int getPressedSpecialKeyCode(void);
/* Calls handler(key) whenever a character key is released; NULL switches it off. */
VINDLE_API void onNormalKeyUp(NormalKeyUpFunc handler);
/* Calls handler(key) whenever a special key is released; NULL switches it off. */
VINDLE_API void onSpecialKeyUp(SpecialKeyUpFunc handler);

/* ---- sound ---------------------------------------------------------------- */

/* Plays a .wav or .mp3 file from the Sounds folder in the background; with
   repeat non-zero it loops until closeSound. Playing a file that still sounds
   starts it again. A missing or unplayable file ends the program. Returns 0. */
VINDLE_API int playSound(const char* fileName, int repeat);
/* Stops the sound of that file from the Sounds folder. Returns 0 when it was
   playing (or had played), another number otherwise; never complains. */
VINDLE_API int closeSound(const char* fileName);

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
