// The window: start-up, GLUT's callbacks and timer, and the requests the game
// threads recorded, carried out here on the window thread, the only thread
// that talks to GLUT.
#include <GL/freeglut.h>

#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/requests.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "render/frame.h"
#include "scene/sprites.h"
#include "services/input.h"
#include "vindle.h"

namespace {

std::atomic<GameMainFunc> storedGameMain{nullptr};
std::atomic<bool> engineStarted{false};

void gameThread(void*) {
    GameMainFunc gameMain = storedGameMain.load();
    if (gameMain) gameMain();
    endProcess(1);
}

// GLUT's own fatal errors end the process like any other fatal error, rather
// than with an English line and status 1.
void onGlutError(const char* format, va_list arguments) {
    char detail[kFatalBufferSize];
    formatMessage(detail, sizeof detail, format, arguments);
    fatalError(kMsgWindowSystemFailed, detail);
}

// The window size for a game size. The window system refuses sizes below 1
// (on Windows, below the room a caption needs) and cuts large ones to 16
// bits, so the window gets the nearest size it can have (at least the
// smallest, at most the largest window the platform gives) while the game
// size stays stored. Asking for less than the system gives would only start
// a tug of war with it; the frame fills a larger window.
void windowSizeFor(int gameWidth, int gameHeight, int* width, int* height) {
    int smallestWidth, smallestHeight, largestWidth, largestHeight;
    platformSmallestWindow(&smallestWidth, &smallestHeight);
    platformLargestWindow(&largestWidth, &largestHeight);
    largestWidth = std::max(1, largestWidth);
    largestHeight = std::max(1, largestHeight);
    *width = std::clamp(gameWidth, std::clamp(smallestWidth, 1, largestWidth), largestWidth);
    *height = std::clamp(gameHeight, std::clamp(smallestHeight, 1, largestHeight), largestHeight);
}

void applyWindowRequests() {
    const WindowRequests requests = takeWindowRequests();
    if (requests.resize) {
        int width, height;
        windowSizeFor(getGameWidth(), getGameHeight(), &width, &height);
        glutReshapeWindow(width, height);
    }
    if (requests.retitle) {
        glutSetWindowTitle(requests.title.c_str());
        platformNoteWindowTitle(requests.title.c_str());
    }
    if (requests.cursor != CursorRequest::none)
        glutSetCursor(requests.cursor == CursorRequest::show ? GLUT_CURSOR_INHERIT : GLUT_CURSOR_NONE);
}

void onAnimationTimer(int) {
    advanceAnimations();
    glutTimerFunc(kAnimationPeriodMs, onAnimationTimer, 0);
}

void installInputCallbacks() {
    static_assert(kMouseLeftButton == GLUT_LEFT_BUTTON && kMouseButtonDown == GLUT_DOWN && kMouseButtonUp == GLUT_UP);
    glutSpecialFunc(onSpecial);
    glutSpecialUpFunc(onSpecialUp);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutMouseFunc(onMouse);
    glutPassiveMotionFunc(onPassiveMotion);
}

// The change count the last drawn frame was made from; window thread only.
uint64_t drawnVersion = 0;

void onIdle() {
    restWithGateOpen(10);
    applyWindowRequests();
    releaseKeysNoLongerHeld(platformKeyHeld);
    // A quiet scene is not drawn again; GLUT still calls onDisplay itself
    // when the window is exposed or resized.
    if (sceneVersion() != drawnVersion) glutPostRedisplay();
}

// The window's size as GLUT last reported it; window thread only. Kept here
// because asking GLUT costs a round trip to the X server each time.
int shownWidth = 0, shownHeight = 0;

void onReshape(int width, int height) {
    shownWidth = width;
    shownHeight = height;
    // The window always has the game size; any other size is undone.
    int wantedWidth, wantedHeight;
    windowSizeFor(getGameWidth(), getGameHeight(), &wantedWidth, &wantedHeight);
    if (width != wantedWidth || height != wantedHeight) glutReshapeWindow(wantedWidth, wantedHeight);
}

void onDisplay() {
    drawnVersion = sceneVersion();
    // The frame covers the window as it is, which may differ from the game
    // size: the window system keeps a window within the screen and above its
    // own smallest size.
    if (shownWidth <= 0 || shownHeight <= 0) {
        shownWidth = glutGet(GLUT_WINDOW_WIDTH);
        shownHeight = glutGet(GLUT_WINDOW_HEIGHT);
    }
    drawFrame(shownWidth, shownHeight);
    presentFrame();
    // Single-buffered, the swap shows nothing new; it ends every frame as
    // before, whichever renderer drew it.
    glutSwapBuffers();
}

}  // namespace

extern "C" {

VINDLE_API void zqInit(GameMainFunc gameMain) {
    noteApiCall();
    static char* const programPath = static_cast<char*>(calloc(kPathBufferSize, 1));
    storedGameMain.store(gameMain);

    int argumentCount = 1;
    char* arguments[] = {programPath, nullptr};
    if (platformExecutablePath(programPath, kPathBufferSize) == 0) {
        printWarning(kMsgExePathFailed);
        return;
    }
    // GLUT would end a second start, or one without a display, with status 1:
    // the status of a normal end.
    if (engineStarted.exchange(true)) fatalError(kMsgAlreadyStarted);
    if (!platformWindowSystemReachable()) fatalError(kMsgNoWindowSystem);
    becomeWindowThread();
    glutInitErrorFunc(onGlutError);
    glutInit(&argumentCount, arguments);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    for (const char* line : kBannerLines) printf("%s\r\n", line);
    fflush(stdout);
    glutCreateWindow(kMsgInitialTitle);
    platformNoteGameWindow();
    platformNoteWindowTitle(kMsgInitialTitle);
    // As GLUT defines them, these concern later windows only: the window takes
    // the game size from onReshape when it is first shown.
    glutInitWindowPosition(100, 100);
    glutInitWindowSize(getGameWidth(), getGameHeight());
    glutReshapeFunc(onReshape);
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutCloseFunc(onWindowClosed);
    glutTimerFunc(kAnimationPeriodMs, onAnimationTimer, 0);
    installInputCallbacks();
    windowLoopStarting();
    platformStartThread(gameThread, nullptr);
    glutMainLoop();
    windowLoopEnded();
}

// The number comes from the build (project(VERSION) in CMakeLists.txt).
VINDLE_API int getZQGameVersion(void) {
    noteApiCall();
    return VINDLE_VERSION;
}

VINDLE_API void pauseGame(int milliseconds) {
    noteApiCall();
    // The platform's sleep reads the count as unsigned: -1 would never wake.
    if (milliseconds <= 0) return;
    platformSleep(static_cast<uint32_t>(milliseconds));
}

VINDLE_API void asyncRun(AsyncRunFunc function, void* argument) {
    noteApiCall();
    if (function) platformStartThread(function, argument);
}

}  // extern "C"
