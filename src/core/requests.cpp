#include "core/requests.h"

#include <cstring>
#include <mutex>
#include <utility>

#include "core/paths.h"

namespace {

struct PendingRequests {
    std::mutex lock;
    WindowRequests requests;
};
PendingRequests& pending() {
    static PendingRequests* const instance = new PendingRequests;  // never destroyed
    return *instance;
}

template <typename Change>
void record(Change change) {
    PendingRequests& p = pending();
    std::lock_guard<std::mutex> guard(p.lock);
    change(p.requests);
}

}  // namespace

void requestWindowResize() {
    record([](WindowRequests& r) { r.resize = true; });
}

void requestWindowTitle(const char* title) {
    record([&](WindowRequests& r) {
        // Cut as the engine's other path-sized buffers are.
        r.title.assign(title ? title : "", title ? strnlen(title, kPathBufferSize - 1) : 0);
        r.retitle = true;
    });
}

void requestCursor(bool visible) {
    record([&](WindowRequests& r) { r.cursor = visible ? CursorRequest::show : CursorRequest::hide; });
}

WindowRequests takeWindowRequests() {
    PendingRequests& p = pending();
    std::lock_guard<std::mutex> guard(p.lock);
    return std::exchange(p.requests, WindowRequests{});
}
