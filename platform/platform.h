// The platform contract: everything the portable core needs from the operating
// system, one function a service. Exactly one backend implements it per target
// (posix/ for Linux, win32/ for the Windows DLL); a new backend is written by
// reading this header alone, and opens its main file (system.cpp) with a
// checklist of what it does differently from Windows. Nothing here may assume
// a particular OS: paths are byte strings in the game's code page, sizes are
// buffer sizes in bytes, and every function is safe to call from any thread
// unless it says otherwise. tests/platform/ is the contract test every
// backend passes.
//
// The window layer is not part of this contract: freeglut is the window layer
// on every target (built from Debian's source package for Windows), and the
// portable core calls it directly, on the window thread only, through
// engine/gl.h. The GLUT calls it makes are:
//   start-up    glutInit, glutInitDisplayMode (GLUT_RGB | GLUT_SINGLE),
//               glutCreateWindow, glutInitWindowPosition, glutInitWindowSize,
//               glutMainLoop
//   callbacks   glutDisplayFunc, glutReshapeFunc, glutIdleFunc, glutTimerFunc,
//               glutKeyboardFunc, glutKeyboardUpFunc, glutSpecialFunc,
//               glutSpecialUpFunc, glutMouseFunc, glutPassiveMotionFunc,
//               glutCloseFunc
//   each frame  glutPostRedisplay, glutSwapBuffers
//   requests    glutReshapeWindow, glutSetWindowTitle, glutSetCursor
//               (GLUT_CURSOR_INHERIT, GLUT_CURSOR_NONE)
// A backend adds what GLUT does not give: the hooks below that name the game
// window (platformNoteGameWindow, platformNoteWindowTitle) let it reach the
// native window for dialogs and titles in the system's encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- lock -------------------------------------------------------------------
// A non-recursive mutual-exclusion lock (a critical section on Windows). Created
// once and never destroyed, so it outlives every thread at process end.
struct PlatformLock;
PlatformLock* platformCreateLock();
void platformLock(PlatformLock* lock);
void platformUnlock(PlatformLock* lock);

// ---- threads and time -------------------------------------------------------
// Starts a detached thread with the default stack size running entry(argument).
// Returns false when the thread could not be started.
bool platformStartThread(void (*entry)(void*), void* argument);
// Suspends the calling thread for the given number of milliseconds.
void platformSleep(uint32_t milliseconds);

// ---- process ----------------------------------------------------------------
// The directory separator of joined paths: '\\' on Windows, '/' on Linux.
char platformPathSeparator();
// Writes the running executable's full path into dest. Returns its length, or 0
// when it cannot be read (dest then holds an empty string).
size_t platformExecutablePath(char* dest, size_t size);
// Writes the drive and directory part of path into dest, ending in a separator
// (empty when path has no directory part). Cut to fit, always terminated.
void platformDirectoryPart(const char* path, char* dest, size_t size);

// How the process ends. True when exit must run on the window thread (the
// system may kill a process whose other thread exits while the window thread
// draws): a game thread then asks the window thread to end the process.
// False when any thread may exit once the window thread rests between frames.
bool platformExitsOnWindowThread();
// Called right before the process exits, on the exiting thread: lets go of
// what must not be torn down by the exit itself (open sounds).
void platformBeforeExit();

// ---- console ----------------------------------------------------------------
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
// Windows cannot hold), in the order the system lists them. name is the bare file name. Returns false when the folder cannot
// be searched (found is then never called).
bool platformListPngFiles(const char* folder, void (*found)(const char* name, void* context),
                          void* context);
// The extension of the last component of path, dot included ("" when none),
// and the base name without directory and extension. Cut to fit.
void platformExtension(const char* path, char* dest, size_t size);
void platformBaseName(const char* path, char* dest, size_t size);
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
// Lower-cases the letters A to Z of a game string in place, leaving both bytes
// of every double-byte character of the game's encoding unchanged.
void platformLowerCaseGameString(char* text);
// Draws a game string in a bold font of the given cell height at the current
// OpenGL raster position, in the current raster colour, one glyph bitmap per
// character, advancing the raster position by each glyph's width. Must be
// called on the thread that owns the current OpenGL context.
void platformDrawGlyphString(const char* text, int cellHeight);

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
// Returns the button chosen, or PLATFORM_BOX_FAILED when no box could be shown.
int platformMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow);
// Called by start-up on the window thread right after the game window has been
// created, while its OpenGL context is current, so the backend can find the
// window later (as the owner of boxes, for example).
void platformNoteGameWindow();
// Called on the window thread after the window's title was set through GLUT,
// so the backend can label the window in the encoding its window system
// expects.
void platformNoteWindowTitle(const char* title);

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
