// Window settings, shared by the game thread (which writes them) and the
// window thread (which reads them every frame).
#pragma once

#include <atomic>

struct WindowSettings {
    std::atomic<int> gameWidth{800};
    std::atomic<int> gameHeight{600};
    std::atomic<float> bgRed{1.0f}, bgGreen{1.0f}, bgBlue{1.0f};
    std::atomic<int> viewportX{0}, viewportY{0};
};
extern WindowSettings settings;
