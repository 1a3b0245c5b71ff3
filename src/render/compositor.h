// The frame composed in memory: one buffer the size of the window, its own
// (RGBA, bottom row first) or memory the platform lends in the layout the
// window takes, drawn with the rules the OpenGL raster path follows, so both
// show the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

// A colour component as OpenGL stores a float colour in an 8-bit buffer:
// clamped to 0..1, then scaled to 255 and rounded to nearest (ties to even).
uint8_t colourByte(float component);

// The largest frame side the compositor allocates. The frame is the window,
// which is never larger than the screen; a larger size, like a size of 0 or
// below, gives an empty frame that draws and shows nothing.
constexpr int kMaxFrameSide = 16384;

// For tests and benchmarks: the sets of inner loops this processor can run,
// the fastest (the one in use at start) first, and switching to one of them.
std::vector<const char*> compositorKernelSets();
bool useCompositorKernels(const char* name);

class Compositor {
public:
    // Starts a frame of width x height (the window's size) cleared to the
    // colour, with the scene shifted by (shiftX, shiftY) as the viewport
    // shifts it. Composed in the memory given, which must hold the frame,
    // or else in the compositor's own buffer, allocated only when the size
    // changes.
    void begin(int width, int height, float red, float green, float blue, int shiftX, int shiftY,
               const PlatformFrameMemory* memory = nullptr);

    // A picture with its lower-left corner at scene point (x, y): colour type 2
    // (RGB, rows padded to 4 bytes) is copied, 6 (RGBA) blended with its alpha,
    // any other draws nothing. Mirrored pictures cover the same rectangle. The
    // picture's own block is read as it is; nothing of it is kept.
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
    // Draws what is still laid out; glyphs and pixels() do so themselves.
    void finish();
    // The finished frame in the compositor's own buffer: RGBA bytes, rows
    // bottom row first, width * 4 bytes each; null for an empty frame or one
    // composed in lent memory.
    const unsigned char* pixels() {
        finish();
        return width_ > 0 && !lent_ ? pixels_.data() : nullptr;
    }
    bool inLentMemory() const { return lent_; }

private:
    // Frames are cleared and pictures drawn tile by tile; a tile that an
    // opaque picture covers whole is drawn only from that picture up.
    static constexpr int kTileSide = 32;

    // A picture laid out on the frame: where it lies in the window and the
    // part of the window it covers, [x0, x1) x [y0, y1).
    struct Placed {
        int64_t left, bottom;
        int width, height, colorType;
        const unsigned char* pixels;
        bool flipX, flipY;
        int x0, x1, y0, y1;
    };
    // A rectangle of one placed picture still to be drawn.
    struct Piece {
        uint32_t picture;
        int x0, x1, y0, y1;
    };
    void drawPiece(const Placed& picture, int x0, int x1, int y0, int y1);
    unsigned char* row(int y) const { return bottomRow_ + rowStep_ * y; }

    int width_ = 0, height_ = 0;
    unsigned char* bottomRow_ = nullptr;
    ptrdiff_t rowStep_ = 0;  // bytes from a row to the one above it
    bool bgra_ = false, lent_ = false;
    int shiftX_ = 0, shiftY_ = 0;
    uint32_t clearWord_ = 0;
    bool composed_ = true;         // nothing laid out waits to be drawn
    bool keepBackground_ = false;  // pictures after glyphs go onto the frame as it is
    std::vector<unsigned char> pixels_;
    std::vector<Placed> placed_;
    std::vector<Piece> pieces_;
    std::vector<uint8_t> covered_;  // per tile, row by row
};
