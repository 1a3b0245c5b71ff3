#include "core/requests.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "render/gl.h"
#include "core/paths.h"
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

void windowSizeFor(int gameWidth, int gameHeight, int* width, int* height) {
    int largestWidth, largestHeight;
    platformLargestWindow(&largestWidth, &largestHeight);
    *width = std::clamp(gameWidth, 1, std::max(1, largestWidth));
    *height = std::clamp(gameHeight, 1, std::max(1, largestHeight));
}

void applyWindowRequests() {
    WindowRequests& pending = requests();
    std::lock_guard<std::mutex> guard(pending.lock);
    if (pending.resize) {
        int width, height;
        windowSizeFor(getGameWidth(), getGameHeight(), &width, &height);
        glutReshapeWindow(width, height);
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
