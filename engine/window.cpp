#include "engine/window.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "engine/diagnostics.h"
#include "engine/gl.h"
#include "engine/messages.h"
#include "engine/settings.h"
#include "engine/tables.h"
#include "platform/platform.h"
#include "scene/animation.h"
#include "services/input.h"
#include "vindle.h"

namespace {

thread_local bool isWindowThread = false;
std::atomic<GameMainFunc> storedGameMain{nullptr};
std::atomic<bool> windowRunning{false};

// Held by the window thread whenever it may touch the window system or OpenGL;
// released only while it sleeps in onIdle. A thread that ends the process takes
// it first, so exit handlers never run under a frame being drawn.
std::timed_mutex& windowGate() {
    static std::timed_mutex* const gate = new std::timed_mutex;  // never destroyed
    return *gate;
}

struct WindowRequests {
    std::mutex lock;
    bool resize = false;
    bool retitle = false;
    int cursor = -1;
    char title[kPathBufferSize] = {};
};
WindowRequests& requests() {
    static WindowRequests* const pending = new WindowRequests;  // never destroyed
    return *pending;
}

void gameThread(void*) {
    GameMainFunc gameMain = storedGameMain.load();
    if (gameMain) gameMain();
    endProcess(1);
}

const char* const kBanner[] = {
    "本游戏引擎由Vindle团队开发，网址：https://vindle.example.org",
    "Vindle零基础编程入门课程：用C语言写出你的第一个游戏！",
    "欢迎访问 https://vindle.example.org ，免费学习编程",
    "学编程，从写游戏开始；多动手，多思考！",
};

}  // namespace

bool onWindowThread() { return isWindowThread; }

void requestWindowResize() {
    WindowRequests& pending = requests();
    std::lock_guard<std::mutex> guard(pending.lock);
    pending.resize = true;
}

void requestWindowTitle(const char* title) {
    WindowRequests& pending = requests();
    std::lock_guard<std::mutex> guard(pending.lock);
    snprintf(pending.title, sizeof pending.title, "%s", title ? title : "");
    pending.retitle = true;
}

void requestCursor(int glutCursor) {
    WindowRequests& pending = requests();
    std::lock_guard<std::mutex> guard(pending.lock);
    pending.cursor = glutCursor;
}

void applyWindowRequests() {
    WindowRequests& pending = requests();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (pending.resize) {
        glutReshapeWindow(getGameWidth(), getGameHeight());
        pending.resize = false;
    }
    if (pending.retitle) {
        glutSetWindowTitle(pending.title);
        platformNoteWindowTitle(pending.title);
        pending.retitle = false;
    }
    if (pending.cursor >= 0) {
        glutSetCursor(pending.cursor);
        pending.cursor = -1;
    }
}

void endProcess(int status) {
    // Another thread must wait until the window thread rests in onIdle; the
    // wait is bounded because that thread may be blocked (on the engine lock
    // held by a dying caller, or in a game's key handler).
    if (!isWindowThread && windowRunning.load()) windowGate().try_lock_for(std::chrono::seconds(2));
    fflush(stdout);
    exit(status);
}

void onIdle() {
    windowGate().unlock();
    platformSleep(10);
    windowGate().lock();
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

extern "C" {

VINDLE_API void zqInit(GameMainFunc gameMain) {
    static char* const programPath = static_cast<char*>(calloc(kPathBufferSize, 1));
    initEngineTables();
    storedGameMain.store(gameMain);

    int argumentCount = 1;
    char* arguments[] = {programPath, nullptr};
    if (platformExecutablePath(programPath, kPathBufferSize) == 0) {
        printWarning(kMsgExePathFailed);
        return;
    }
    isWindowThread = true;
    windowGate().lock();
    glutInit(&argumentCount, arguments);
    glutInitDisplayMode(GLUT_RGB | GLUT_SINGLE);
    for (const char* line : kBanner) printf("%s\r\n", line);
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
    glutTimerFunc(kAnimationPeriodMs, onAnimationTimer, 0);
    glutIdleFunc(onIdle);
    glutSpecialFunc(onSpecial);
    glutSpecialUpFunc(onSpecialUp);
    glutKeyboardFunc(onKeyboard);
    glutKeyboardUpFunc(onKeyboardUp);
    glutMouseFunc(onMouse);
    glutPassiveMotionFunc(onPassiveMotion);
    windowRunning.store(true);
    platformStartThread(gameThread, nullptr);
    glutMainLoop();
    windowRunning.store(false);
    windowGate().unlock();
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
