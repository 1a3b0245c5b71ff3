// The frame composed in memory: one RGBA buffer of the window's size (which
// may be larger or smaller than the game), drawn with the rules the OpenGL
// raster path follows, so both show the same pixels.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

// A colour component as OpenGL stores a float colour in an 8-bit buffer:
// clamped to 0..1, then scaled to 255 and rounded to nearest (ties to even).
uint8_t colourByte(float component);

// The largest frame side the compositor allocates; a larger game size, like a
// size of 0 or below, gives an empty frame that draws and shows nothing.
constexpr int kMaxFrameSide = 8192;

class Compositor {
public:
    // Starts a frame of width x height cleared to the colour, with the scene
    // shifted by (shiftX, shiftY) as the viewport shifts it. The buffer follows
    // the size; it is allocated only when the size changes.
    void begin(int width, int height, float red, float green, float blue, int shiftX, int shiftY);

    // A picture with its lower-left corner at scene point (x, y): colour type 2
    // (RGB, rows padded to 4 bytes) is copied, 6 (RGBA) blended with its alpha,
    // any other draws nothing. Mirrored pictures cover the same rectangle.
    void drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels, bool flipX,
                     bool flipY);
    // A glyph's ink in an opaque colour, its bitmap's lower-left pixel at
    // scene point (x, y).
    void drawGlyph(int64_t x, int64_t y, const PlatformGlyph& glyph, const uint8_t colour[3]);

    // The visible scene rectangle in scene coordinates: [left, right) x [bottom, top).
    int64_t sceneLeft() const { return -static_cast<int64_t>(shiftX_); }
    int64_t sceneRight() const { return static_cast<int64_t>(width_) - shiftX_; }
    int64_t sceneBottom() const { return -static_cast<int64_t>(shiftY_); }
    int64_t sceneTop() const { return static_cast<int64_t>(height_) - shiftY_; }

    int width() const { return width_; }
    int height() const { return height_; }
    // RGBA bytes, rows bottom row first, width * 4 bytes each; null for an
    // empty frame.
    const unsigned char* pixels() const { return width_ > 0 ? pixels_.data() : nullptr; }

private:
    // An RGB picture widened to opaque 4-byte pixels, made on first use.
    const unsigned char* opaquePixels(int width, int height, const unsigned char* pixels);

    int width_ = 0, height_ = 0;
    int shiftX_ = 0, shiftY_ = 0;
    std::vector<unsigned char> pixels_;
    std::vector<unsigned char> mirrorRow_;  // one reversed span of a mirrored picture
    std::unordered_map<const unsigned char*, std::vector<unsigned char>> widened_;
};
