// The platform contract: what the portable code needs from the operating
// system, one function a service. Exactly one backend implements it per
// target (linux/ for Linux, win32/ for the Windows DLL), in the same files
// everywhere, one per section below: system.cpp (lock, threads and time,
// process, console), files.cpp, text.cpp, glyphs.cpp, present.cpp,
// dialogs.cpp, window.cpp, sound.cpp. A new backend is written by reading this
// header alone; each file opens with what it implements and how it differs
// from Windows. Nothing here may assume a particular OS: paths are byte
// strings in the game's code page, sizes are buffer sizes in bytes, and every
// function is safe to call from any thread unless it says otherwise.
// tests/platform/ is the contract test every backend passes.
//
// Only OS services belong here. The portable code's own helper locks and
// threads (the glyph cache, the window requests, the process-end gate) use
// std::mutex and std::thread; the engine lock, the game's threads and sleeps
// are the system's own (a critical section, _beginthread and Sleep on
// Windows) and so stay behind this contract. Pure string work (a name's
// extension, lower-casing) is portable code in core/paths.
//
// The window layer is not part of this contract: freeglut is the window layer
// on every target (built from Debian's source package for Windows), and only
// app/ calls it, on the window thread. The GLUT calls it makes are:
//   start-up    glutInitErrorFunc, glutInit,
//               glutInitDisplayMode (GLUT_RGB | GLUT_SINGLE),
//               glutCreateWindow, glutInitWindowPosition, glutInitWindowSize,
//               glutMainLoop
//   callbacks   glutDisplayFunc, glutReshapeFunc, glutIdleFunc, glutTimerFunc,
//               glutKeyboardFunc, glutKeyboardUpFunc, glutSpecialFunc,
//               glutSpecialUpFunc, glutMouseFunc, glutPassiveMotionFunc,
//               glutCloseFunc
//   each frame  glutPostRedisplay (only when something shown changed),
//               glutSwapBuffers; the window's size comes from the reshape
//               callback (glutGet GLUT_WINDOW_WIDTH and _HEIGHT only before
//               the first one)
//   requests    glutReshapeWindow, glutSetWindowTitle, glutSetCursor
//               (GLUT_CURSOR_INHERIT, GLUT_CURSOR_NONE)
// A backend adds what GLUT does not give: the hooks below that name the game
// window (platformNoteGameWindow, platformNoteWindowTitle) let it reach the
// native window for dialogs and titles in the system's encoding, and the
// window-system section answers what GLUT cannot (a display to connect to,
// the largest window, whether a key is still down).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// ---- system: lock -----------------------------------------------------------
// A non-recursive mutual-exclusion lock (a critical section on Windows). Created
// once and never destroyed, so it outlives every thread at process end.
struct PlatformLock;
PlatformLock* platformCreateLock();
void platformLock(PlatformLock* lock);
void platformUnlock(PlatformLock* lock);

// ---- system: threads and time -----------------------------------------------
// Starts a detached thread with the default stack size running entry(argument).
// Returns false when the thread could not be started.
bool platformStartThread(void (*entry)(void*), void* argument);
// Suspends the calling thread for the given number of milliseconds.
void platformSleep(uint32_t milliseconds);

// ---- system: process --------------------------------------------------------
// The directory separator of joined paths: '\\' on Windows, '/' on Linux.
char platformPathSeparator();
// Writes the running executable's full path into dest. Returns its length, or 0
// when it cannot be read (dest then holds an empty string).
size_t platformExecutablePath(char* dest, size_t size);
// Writes the drive and directory part of path into dest, ending in a separator
// (empty when path has no directory part). Cut to fit, always terminated.
void platformDirectoryPart(const char* path, char* dest, size_t size);

// True when the running program was linked against the engine's library (it
// came with the program), false when it was loaded later (dlopen,
// LoadLibrary), as a script or a tool does. Called at exit.
bool platformProgramLinksEngine();

// How the process ends. True when exit must run on the window thread (the
// system may kill a process whose other thread exits while the window thread
// draws): a game thread then asks the window thread to end the process.
// False when any thread may exit once the window thread rests between frames.
bool platformExitsOnWindowThread();

// ---- system: console --------------------------------------------------------
// Writes an engine message, which may hold the game's strings, and a line feed
// to standard output in the console's encoding, and flushes it.
void platformMessageLine(const char* text);
// Writes text and a line feed to standard output as a warning: in yellow where
// the output is a console, then back to the default colour. The line is
// flushed before the colour is reset.
void platformWarningLine(const char* text);
// Hands text to an attached debugger, if any (no line feed is added).
void platformDebugOutput(const char* text);

// ---- files ------------------------------------------------------------------
// Paths reach the backend as the game wrote them, with '\\' or '/' separators
// and in any letter case; the backend finds the file as Windows would.

// True when a file or folder of that name exists.
bool platformPathExists(const char* path);
// True when an ordinary file of that name exists: not a folder, pipe or device,
// which a picture or sound read would fail on or block in.
bool platformFileExists(const char* path);
// Writes the path as the file system names it: unchanged where names ignore
// letter case (Windows), else with each component spelt as on disk, so later
// tests of it cost one lookup. Writes "" and returns false when nothing
// matches or it does not fit.
bool platformDiskPath(const char* path, char* dest, size_t size);
// Opens an existing ordinary file for binary reading; null when it cannot be
// opened.
FILE* platformOpenForReading(const char* path);
// Calls found(name, context) for each frame file of a folder: every ordinary
// file whose name ends in ".png" in any letter case and holds no '\\' (a name
// Windows cannot hold), in the order the system lists them. name is the bare
// file name. Returns false when the folder cannot be searched (found is then
// never called).
bool platformListPngFiles(const char* folder, void (*found)(const char* name, void* context), void* context);
// The form of an existing path that the sound layer understands without
// quoting (the 8.3 short path on Windows; the resolved real path on Linux).
// Writes "" and returns false when there is no such file or it does not fit.
bool platformShortPath(const char* path, char* dest, size_t size);

// ---- text -------------------------------------------------------------------
// Shown every string the game hands the engine (texts, titles, box texts, file
// names), so a backend whose games may be written in more than one encoding
// can settle the game's. Fast once settled; a no-op where the code page is
// fixed.
void platformNoteGameString(const char* text);
// Whether a game string is read in a double-byte code page: there a byte from
// 0x81 to 0xFE begins a character of two bytes, whose second byte may look
// like a letter, a '\\' or a '.' and is none of them (code page 936; the
// game's encoding on Linux when the string is not read as UTF-8). False where
// every byte of a multi-byte character lies above 0x7F (UTF-8) or the code
// page has single bytes only. A null text counts as empty.
bool platformDoubleByteString(const char* text);
// The characters of a game string, one code point each, split as the game's
// code page splits them (a double-byte character of code page 936 is one
// character, never two). A character that does not decode becomes U+FFFD. A
// null text counts as empty.
std::u32string platformSplitGameString(const char* text);

// ---- glyphs -----------------------------------------------------------------
// One character of the bold text font, rasterised into a 1-bit bitmap.
//   bits:    height rows, stored bottom row first (as glBitmap reads them);
//            each row is stride bytes, stride = ((width + 31) / 32) * 4 (rows
//            padded to 4 bytes); within a row the leftmost pixel is the most
//            significant bit of the first byte; a set bit is ink.
//   left, bottom: the position of the bitmap's lower-left pixel relative to
//            the pen, which stands on the base line: x grows to the right, y
//            upwards (a "g" has a negative bottom).
//   advance: how far the pen moves right after this character, in whole
//            pixels, never negative.
// A character without ink (a blank) has width = height = 0 and empty bits.
struct PlatformGlyph {
    int width = 0, height = 0, stride = 0;
    int left = 0, bottom = 0;
    int advance = 0;
    std::vector<unsigned char> bits;
};
// The largest cell height a backend rasterises: a text asking for more (of
// either sign) is drawn at this size, so one glyph's bitmap stays small and
// the glyph cache keeps every glyph of a huge text.
constexpr int kMaxGlyphSize = 1000;
// Rasterises one character (a Unicode code point) of the bold font that a
// text of the given font size uses: the cell height as the game gave it (any
// value; a backend maps 0 and negative sizes as its font system does, and
// bounds the magnitude by kMaxGlyphSize). A character the font lacks gets
// the font's missing-glyph box. Returns false, leaving an empty glyph with no
// advance, when no font can be used at all. Any thread; the portable code
// keeps the glyph cache.
bool platformRasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph);

// ---- present ----------------------------------------------------------------
// Memory a frame is composed in: rows of width * 4 bytes, each pixel R, G, B
// and a fourth byte (or B, G, R when redFirst is false).
struct PlatformFrameMemory {
    unsigned char* bottomRow;  // the window's bottom row
    ptrdiff_t rowStep;         // bytes from a row to the one above it
    bool redFirst;
};

// Lends the memory for the next frame of width x height pixels (the window's
// size) in the layout the window takes, so the frame is composed where it is
// shown from; by the time it returns, the window no longer reads the frame
// before. Window thread only. False when the backend has no way of its own:
// the portable code then composes in its own buffer and draws the frame with
// one glDrawPixels into the window's OpenGL context.
bool platformFrameMemory(int width, int height, PlatformFrameMemory* memory);
// Shows the frame composed in the memory lent for it, its bottom-left pixel
// on the window's bottom-left pixel. Window thread only.
void platformPresentFrame(int width, int height);

// ---- dialogs ----------------------------------------------------------------
// Box styles and results, numbered as the Windows message box numbers them.
enum {
    PLATFORM_BOX_OK = 0,               // OK button, no icon
    PLATFORM_BOX_ERROR = 16,           // OK button, stop icon
    PLATFORM_BOX_YESNO_QUESTION = 36,  // Yes and No buttons, question icon
};
enum { PLATFORM_BOX_FAILED = 0, PLATFORM_BOX_IDOK = 1, PLATFORM_BOX_IDYES = 6, PLATFORM_BOX_IDNO = 7 };
// Shows a modal box and blocks until the player closes it. With ownedByGameWindow
// the box belongs to the game window when one exists; otherwise it has no owner.
// While an owned box is up the game window takes no keyboard or pointer input
// and goes on drawing. A box answers only to a key pressed while it is up, so a
// key held from before (and its repeats) cannot answer it.
// Returns the button chosen, or PLATFORM_BOX_FAILED when no box could be shown.
int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow);
// ---- window -----------------------------------------------------------------
// Called by start-up on the window thread right after the game window has been
// created, while its OpenGL context is current, so the backend can find the
// window later (as the owner of boxes, for example). From then on a held key's
// repeats reach GLUT as presses only, without releases in between, as on
// Windows.
void platformNoteGameWindow();
// Called on the window thread after the window's title was set through GLUT,
// so the backend can label the window in the encoding its window system
// expects.
void platformNoteWindowTitle(const char* title);

// True when a window can be opened at all (a display to connect to). Called by
// start-up on the window thread before GLUT is initialised. A backend that
// connects to test it keeps the connection until platformNoteGameWindow:
// some window systems reset when their last client leaves and refuse the
// next one meanwhile.
bool platformWindowSystemReachable();
// The largest window the window system gives the game, in pixels (about the
// screen's size, as Windows limits a top-level window). Window thread only.
void platformLargestWindow(int* width, int* height);
// The smallest window the window system gives the game, in pixels: 1 by 1
// where any size goes; on Windows a captioned window keeps room for its
// caption's buttons, so a small game gets a wider window. Window thread only.
void platformSmallestWindow(int* width, int* height);
// Whether the key that GLUT reported with this code (a character code, or a
// GLUT special key code when special) is still held down. A release already
// on its way to the game window counts as held, so that it arrives as usual.
// A code the keyboard cannot make counts as held while any key is down.
// Window thread only.
bool platformKeyHeld(bool special, int code);

// ---- sound ------------------------------------------------------------------
// A sound is named by the short path of its file (platformShortPath), so one
// file is one sound and several files may sound at once. Results are numbered
// as MCI numbers them; a backend may return any other non-zero MCI-style code,
// which platformSoundErrorText must then explain.
enum {
    PLATFORM_SOUND_OK = 0,
    // The play succeeded on a silent device because the machine has no audio
    // output, so the game runs on without sound. Returned by the one play that
    // found out; the portable layer reports it as a warning, later plays
    // answer PLATFORM_SOUND_OK.
    PLATFORM_SOUND_SILENCED = 1,
    PLATFORM_SOUND_HARDWARE = 262,            // the output cannot be opened (MCIERR_HARDWARE)
    PLATFORM_SOUND_NOT_OPEN = 263,            // no sound of that name (MCIERR_INVALID_DEVICE_NAME)
    PLATFORM_SOUND_FILE_NOT_FOUND = 275,      // MCIERR_FILE_NOT_FOUND
    PLATFORM_SOUND_UNSUPPORTED_FORMAT = 277,  // the file cannot be decoded (MCIERR_INTERNAL)
};
// Starts the file from its beginning, once or (with loop) until it is closed.
// A file that is already open is restarted. An empty path answers
// PLATFORM_SOUND_NOT_OPEN.
int platformPlaySound(const char* path, bool loop);
// Stops the sound of that file and forgets it. PLATFORM_SOUND_NOT_OPEN when it
// was not open (also for an empty path).
int platformCloseSound(const char* path);
// Writes the player's text for a result into dest (cut to fit); for
// PLATFORM_SOUND_SILENCED, why the audio output could not be opened.
void platformSoundErrorText(int code, char* dest, size_t size);
// Called right before the process exits, on the exiting thread: closes the
// open sounds where the exit itself must not tear them down.
void platformBeforeExit();
