// Window settings, shared by the game thread (which writes them) and the
// window thread (which reads them every frame), and the change counter that
// tells the window thread whether the frame needs drawing again.
#pragma once

#include <atomic>
#include <cstdint>

struct WindowSettings {
    std::atomic<int> gameWidth{800};
    std::atomic<int> gameHeight{600};
    std::atomic<float> bgRed{1.0f}, bgGreen{1.0f}, bgBlue{1.0f};
    std::atomic<int> viewportX{0}, viewportY{0};
};
extern WindowSettings settings;

// Every change to something a frame shows (a record, a window setting, an
// animation step) is counted, and the window thread draws only when the
// count moved or the window was exposed.
// Counts one change that shows; any thread.
void noteSceneChange();
// The number of changes so far.
uint64_t sceneVersion();

// Stores value into field and counts a change when it differs.
template <typename T, typename U>
void changeField(T& field, U value) {
    if (field == static_cast<T>(value)) return;
    field = static_cast<T>(value);
    noteSceneChange();
}
