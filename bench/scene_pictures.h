// The two pictures of scene S(N) (scene.h), as pixels and as the game's files.
#pragma once

#include <filesystem>
#include <string>

#include "scene.h"
#include "support/pngfiles.h"

namespace scene {

// The scene's two pictures: a 128 x 96 RGB photo and a 64 x 64 RGBA ball,
// its alpha from clear at the edge to opaque in the middle.
inline PngPicture photo() { return patternPicture(128, 96, 3); }
inline PngPicture ball() {
    PngPicture ball = patternPicture(64, 64, 4);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int dx = x - 32, dy = y - 32, d2 = dx * dx + dy * dy;
            ball.rows[(y * 64 + x) * 4 + 3] = static_cast<png_byte>(d2 >= 1024 ? 0 : d2 < 400 ? 255 : 255 - (d2 - 400) * 255 / 624);
        }
    return ball;
}

// Writes the two pictures under root (Images/photo.png, Sprites/ball/spin/1.png).
inline void writeResources(const std::string& root) {
    std::filesystem::create_directories(root + "/Images");
    std::filesystem::create_directories(root + "/Sprites/ball/spin");
    writePng(root + "/Images/photo.png", photo());
    writePng(root + "/Sprites/ball/spin/1.png", ball());
}

}  // namespace scene
