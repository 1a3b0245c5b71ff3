#include "engine/compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace {

// The product of two 8-bit fractions rounded as Mesa's blender rounds it:
// within one step of a * b / 255, exact for 0 and 255. Every intermediate
// fits 16 bits, so the compiler can work on eight or sixteen lanes at once.
inline uint16_t mulFraction(uint16_t a, uint16_t b) {
    const uint16_t t = static_cast<uint16_t>(a * b);
    return static_cast<uint16_t>((t + (t >> 8) + 128) >> 8);
}

// The inner loops, one row span each. A mirrored span is first reversed into
// a scratch row, so the blending itself always runs forwards.
void copyRgb(unsigned char* __restrict dst, const unsigned char* __restrict src, int count) {
    for (int i = 0; i < count; ++i) {
        dst[4 * i + 0] = src[3 * i + 0];
        dst[4 * i + 1] = src[3 * i + 1];
        dst[4 * i + 2] = src[3 * i + 2];
        dst[4 * i + 3] = 255;
    }
}

void blendRgba(unsigned char* __restrict dst, const unsigned char* __restrict src, int count) {
    for (int i = 0; i < count; ++i) {
        const uint16_t alpha = src[4 * i + 3], rest = static_cast<uint16_t>(255 - src[4 * i + 3]);
        for (int c = 0; c < 3; ++c) {
            const uint16_t v =
                static_cast<uint16_t>(mulFraction(src[4 * i + c], alpha) + mulFraction(dst[4 * i + c], rest));
            dst[4 * i + c] = static_cast<unsigned char>(v > 255 ? 255 : v);
        }
    }
}

// Copies count pixels of bytesPerPixel bytes, last is the rightmost, in
// reverse order into dst.
void reversePixels(unsigned char* __restrict dst, const unsigned char* __restrict last, int count, int bytesPerPixel) {
    if (bytesPerPixel == 4) {
        for (int i = 0; i < count; ++i) {
            uint32_t word;
            memcpy(&word, last - 4 * i, 4);
            memcpy(dst + 4 * i, &word, 4);
        }
    } else {
        for (int i = 0; i < count; ++i) memcpy(dst + 3 * i, last - 3 * i, 3);
    }
}

}  // namespace

uint8_t colourByte(float component) {
    // NaN fails both tests and counts as 0.
    const float clamped = component > 0.0f ? (component < 1.0f ? component : 1.0f) : 0.0f;
    return static_cast<uint8_t>(std::lrintf(clamped * 255.0f));
}

void Compositor::begin(int width, int height, float red, float green, float blue, int shiftX, int shiftY) {
    if (width <= 0 || height <= 0 || width > kMaxFrameSide || height > kMaxFrameSide) width = height = 0;
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (bytes != pixels_.size()) {
        try {
            // Shrinking gives the memory back too: a game that was large once
            // should not keep its frame.
            std::vector<unsigned char>(bytes).swap(pixels_);
        } catch (const std::bad_alloc&) {
            std::vector<unsigned char>().swap(pixels_);
            width = height = 0;
        }
    }
    width_ = width;
    height_ = height;
    shiftX_ = shiftX;
    shiftY_ = shiftY;
    if (!width_) return;
    const unsigned char fill[4] = {colourByte(red), colourByte(green), colourByte(blue), 255};
    uint32_t word;
    memcpy(&word, fill, 4);
    auto* out = reinterpret_cast<uint32_t*>(pixels_.data());
    std::fill(out, out + static_cast<size_t>(width_) * static_cast<size_t>(height_), word);
}

void Compositor::drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels,
                             bool flipX, bool flipY) {
    if (!width_ || !pixels || width <= 0 || height <= 0 || (colorType != 2 && colorType != 6)) return;
    // Window positions of the picture's edges, wide enough for any int.
    const int64_t left = static_cast<int64_t>(shiftX_) + x, bottom = static_cast<int64_t>(shiftY_) + y;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + width, width_);
    const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + height, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const int count = static_cast<int>(x1 - x0);
    const int firstColumn = static_cast<int>(x0 - left);  // of the span, counted as drawn
    const int bytesPerPixel = colorType == 2 ? 3 : 4;
    const size_t rowBytes = colorType == 2 ? (static_cast<size_t>(width) * 3 + 3) / 4 * 4 : static_cast<size_t>(width) * 4;
    // A mirrored span starts at the far column of the picture and runs back.
    const int sourceColumn = flipX ? width - 1 - firstColumn : firstColumn;
    if (flipX && mirrorRow_.size() < static_cast<size_t>(count) * 4) mirrorRow_.resize(static_cast<size_t>(count) * 4);
    for (int64_t windowY = y0; windowY < y1; ++windowY) {
        const int drawnRow = static_cast<int>(windowY - bottom);
        const int sourceRow = flipY ? height - 1 - drawnRow : drawnRow;
        const unsigned char* src = pixels + rowBytes * static_cast<size_t>(sourceRow) +
                                   static_cast<size_t>(sourceColumn) * static_cast<size_t>(bytesPerPixel);
        unsigned char* dst = pixels_.data() + (static_cast<size_t>(windowY) * static_cast<size_t>(width_) +
                                               static_cast<size_t>(x0)) * 4;
        if (flipX) {
            reversePixels(mirrorRow_.data(), src, count, bytesPerPixel);
            src = mirrorRow_.data();
        }
        if (colorType == 2)
            copyRgb(dst, src, count);
        else
            blendRgba(dst, src, count);
    }
}

void Compositor::drawGlyph(int64_t x, int64_t y, const PlatformGlyph& glyph, const uint8_t colour[3]) {
    if (!width_ || glyph.width <= 0 || glyph.height <= 0) return;
    const int64_t left = shiftX_ + x, bottom = shiftY_ + y;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + glyph.width, width_);
    const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + glyph.height, height_);
    if (x0 >= x1 || y0 >= y1) return;
    for (int64_t windowY = y0; windowY < y1; ++windowY) {
        const unsigned char* bits = glyph.bits.data() + static_cast<size_t>(windowY - bottom) * glyph.stride;
        unsigned char* dst = pixels_.data() + static_cast<size_t>(windowY) * static_cast<size_t>(width_) * 4;
        for (int64_t windowX = x0; windowX < x1; ++windowX) {
            const int64_t column = windowX - left;
            if (!(bits[column >> 3] & (0x80 >> (column & 7)))) continue;
            unsigned char* p = dst + windowX * 4;
            p[0] = colour[0];
            p[1] = colour[1];
            p[2] = colour[2];
        }
    }
}
