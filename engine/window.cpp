#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "engine/diagnostics.h"
#include "engine/frame.h"
#include "engine/gl.h"
#include "engine/messages.h"
#include "engine/paths.h"
#include "engine/process.h"
#include "engine/requests.h"
#include "engine/settings.h"
#include "platform/platform.h"
#include "scene/animation.h"
#include "scene/objects.h"
#include "services/input.h"
#include "vindle.h"

namespace {

std::atomic<GameMainFunc> storedGameMain{nullptr};

void gameThread(void*) {
    GameMainFunc gameMain = storedGameMain.load();
    if (gameMain) gameMain();
    endProcess(1);
}

void onIdle() {
    restWithGateOpen(10);
    applyWindowRequests();
    glutPostRedisplay();
}

void onReshape(int width, int height) {
    // The window always has the game size; any other size is undone.
    const int gameWidth = getGameWidth(), gameHeight = getGameHeight();
    if (width != gameWidth || height != gameHeight) glutReshapeWindow(gameWidth, gameHeight);
}

void onDisplay() {
    drawFrame();
    glFlush();
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
    becomeWindowThread();
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
    settings.gameWidth.store(width, std::memory_order_relaxed);
    settings.gameHeight.store(height, std::memory_order_relaxed);
    requestWindowResize();
}

VINDLE_API void setGameTitle(const char* title) {
    platformNoteGameString(title);
    requestWindowTitle(title);
}

}  // extern "C"
