// Scene S(N) of the frame benchmarks: an 800 x 600 game with N/2 images of
// 128 x 96 RGB, N sprites of 64 x 64 RGBA (half of them mirrored) and N/4
// texts of 12 Latin characters at 16 px, every position changing each frame.
// Only the public API: a Windows program builds it too. Its pictures are in
// scene_pictures.h.
#pragma once

#include <string>

#include "vindle.h"

namespace scene {

constexpr int kWidth = 800, kHeight = 600;

// How many of each kind S(n) has; sprites with odd numbers are mirrored.
inline int images(int n) { return n / 2; }
inline int sprites(int n) { return n; }
inline int texts(int n) { return n / 4; }
constexpr const char* kText = "Hello Vindle";
constexpr int kFontSize = 16;

// Creates the objects of S(n); the resources directory is set.
inline void create(int n) {
    for (int i = 0; i < images(n); ++i) createImage(i, "photo.png");
    for (int i = 0; i < sprites(n); ++i) {
        createSprite(i, "ball");
        playSpriteAnimate(i, "spin");
        setSpriteFlipX(i, i % 2);
    }
    for (int i = 0; i < texts(n); ++i) {
        createText(i, kText);
        setTextFontSize(i, kFontSize);
        setTextColor(i, 0.1f * (i % 10), 0.2f, 0.5f);
    }
}

// Where object i of a kind (salt tells the kind and the axis) stands in frame
// number frame: positions spread over the game and a little beyond its edges.
inline int at(int i, int frame, int salt, int range) { return ((i * 7919 + frame * 31 + salt) % (range + 80)) - 40; }
inline int imageX(int i, int frame) { return at(i, frame, 1, kWidth - 88); }
inline int imageY(int i, int frame) { return at(i, frame, 2, kHeight - 56); }
inline int spriteX(int i, int frame) { return at(i, frame, 3, kWidth - 24); }
inline int spriteY(int i, int frame) { return at(i, frame, 4, kHeight - 24); }
inline int textX(int i, int frame) { return at(i, frame, 5, kWidth - 60); }
inline int textY(int i, int frame) { return at(i, frame, 6, kHeight - 20); }

// Moves every object of S(n) for frame number frame.
inline void move(int n, int frame) {
    for (int i = 0; i < images(n); ++i) setImagePosition(i, imageX(i, frame), imageY(i, frame));
    for (int i = 0; i < sprites(n); ++i) setSpritePosition(i, spriteX(i, frame), spriteY(i, frame));
    for (int i = 0; i < texts(n); ++i) setTextPosition(i, textX(i, frame), textY(i, frame));
}

}  // namespace scene
