#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/diagnostics.h"
#include "render/frame.h"
#include "render/gl.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/process.h"
#include "core/redraw.h"
#include "core/requests.h"
#include "core/settings.h"
#include "platform/platform.h"
#include "scene/animation.h"
#include "scene/objects.h"
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

void onReshape(int width, int height) {
    // The window always has the game size; any other size is undone.
    int wantedWidth, wantedHeight;
    windowSizeFor(getGameWidth(), getGameHeight(), &wantedWidth, &wantedHeight);
    if (width != wantedWidth || height != wantedHeight) glutReshapeWindow(wantedWidth, wantedHeight);
}

void onDisplay() {
    drawnVersion = sceneVersion();
    drawFrame();
    presentFrame(glutGet(GLUT_WINDOW_HEIGHT));
    // Single-buffered, the swap shows nothing new; it ends every frame as
    // before, whichever renderer drew it.
    glutSwapBuffers();
}

}  // namespace

extern "C" {

VINDLE_API void zqInit(GameMainFunc gameMain) {
    noteZqInitCalled();
    static char* const programPath = static_cast<char*>(calloc(kPathBufferSize, 1));
    initObjectTables();
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
    startAnimationTimer();
    installInputCallbacks();
    windowLoopStarting();
    platformStartThread(gameThread, nullptr);
    glutMainLoop();
    windowLoopEnded();
}

VINDLE_API void setGameSize(int width, int height) {
    const bool resized = settings.gameWidth.exchange(width, std::memory_order_relaxed) != width;
    if (settings.gameHeight.exchange(height, std::memory_order_relaxed) != height || resized) noteSceneChange();
    requestWindowResize();
}

VINDLE_API void setGameTitle(const char* title) {
    platformNoteGameString(title);
    requestWindowTitle(title);
}

}  // extern "C"
