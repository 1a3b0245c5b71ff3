#include "engine/requests.h"

#include <cstdio>
#include <mutex>

#include "engine/gl.h"
#include "engine/paths.h"
#include "platform/platform.h"
#include "vindle.h"

namespace {

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

}  // namespace

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
