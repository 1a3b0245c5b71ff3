// Window settings, shared by the game thread (which writes them) and the
// window thread (which reads them every frame), and the change counter that
// tells the window thread whether the frame needs drawing again. Settings and
// counter are written with release and read with acquire order, here alone:
// a thread that sees the count move sees every change counted before it, also
// on CPUs that reorder memory accesses.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

struct WindowSettings {
    std::atomic<int> gameWidth{800};
    std::atomic<int> gameHeight{600};
    std::atomic<float> bgRed{1.0f}, bgGreen{1.0f}, bgBlue{1.0f};
    std::atomic<int> viewportX{0}, viewportY{0};
};
extern WindowSettings settings;

// The settings a frame is drawn with, read together once per frame.
struct FrameSettings {
    int width, height;
    float red, green, blue;
    int viewportX, viewportY;
};
FrameSettings frameSettings();

// Every change to something a frame shows (a record, a window setting, an
// animation step) is counted, and the window thread draws only when the
// count moved or the window was exposed.
// Counts one change that shows; any thread.
void noteSceneChange();
// The number of changes so far.
uint64_t sceneVersion();

// Whether two values are the same: floats by their bits, so a NaN stored
// again is no change (NaN != NaN).
template <typename T>
bool sameValue(T a, T b) {
    if constexpr (std::is_floating_point_v<T>) {
        return memcmp(&a, &b, sizeof a) == 0;
    } else {
        return a == b;
    }
}

// Stores value into field and counts a change when it differs.
template <typename T, typename U>
void changeField(T& field, U value) {
    if (sameValue(field, static_cast<T>(value))) return;
    field = static_cast<T>(value);
    noteSceneChange();
}
