// Scene S(N) of the frame benchmarks: an 800 x 600 game with N/2 images of
// 128 x 96 RGB, N sprites of 64 x 64 RGBA (half of them mirrored) and N/4
// texts of 12 Latin characters at 16 px, every position changing each frame.
#pragma once

#include <string>

#include "support/pngfiles.h"
#include "vindle.h"

namespace scene {

constexpr int kWidth = 800, kHeight = 600;

// Writes the two pictures under root (Images/photo.png, Sprites/ball/spin/1.png).
inline void writeResources(const std::string& root) {
    std::filesystem::create_directories(root + "/Images");
    std::filesystem::create_directories(root + "/Sprites/ball/spin");
    PngPicture photo = patternPicture(128, 96, 3);
    writePng(root + "/Images/photo.png", photo);
    PngPicture ball = patternPicture(64, 64, 4);
    // Alpha from clear at the edge to opaque in the middle.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int dx = x - 32, dy = y - 32, d2 = dx * dx + dy * dy;
            ball.rows[(y * 64 + x) * 4 + 3] = static_cast<png_byte>(d2 >= 1024 ? 0 : d2 < 400 ? 255 : 255 - (d2 - 400) * 255 / 624);
        }
    writePng(root + "/Sprites/ball/spin/1.png", ball);
}

// Creates the objects of S(n); the resources directory is set.
inline void create(int n) {
    for (int i = 0; i < n / 2; ++i) createImage(i, "photo.png");
    for (int i = 0; i < n; ++i) {
        createSprite(i, "ball");
        playSpriteAnimate(i, "spin");
        setSpriteFlipX(i, i % 2);
    }
    for (int i = 0; i < n / 4; ++i) {
        createText(i, "Hello Vindle");
        setTextFontSize(i, 16);
        setTextColor(i, 0.1f * (i % 10), 0.2f, 0.5f);
    }
}

// Moves every object of S(n) for frame number frame: positions spread over
// the game and a little beyond its edges.
inline void move(int n, int frame) {
    auto at = [&](int i, int salt, int range) { return ((i * 7919 + frame * 31 + salt) % (range + 80)) - 40; };
    for (int i = 0; i < n / 2; ++i) setImagePosition(i, at(i, 1, kWidth - 88), at(i, 2, kHeight - 56));
    for (int i = 0; i < n; ++i) setSpritePosition(i, at(i, 3, kWidth - 24), at(i, 4, kHeight - 24));
    for (int i = 0; i < n / 4; ++i) setTextPosition(i, at(i, 5, kWidth - 60), at(i, 6, kHeight - 20));
}

}  // namespace scene
