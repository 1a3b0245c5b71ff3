// Whether the frame needs drawing again: every change to something a frame
// shows (a record, a window setting, an animation step) is counted, and the
// window thread draws only when the count moved or the window was exposed.
#pragma once

#include <cstdint>

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
