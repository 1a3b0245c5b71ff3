#include "render/compositor.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_map>

namespace {

// Pixels are handled as 32-bit words (R in the lowest byte: every target is
// little-endian), two components at a time in 16-bit lanes.
inline uint32_t loadPixel(const unsigned char* p) {
    uint32_t word;
    memcpy(&word, p, 4);
    return word;
}

// Two 8-bit components (in the low bytes of two 16-bit lanes) times a
// fraction f/255, each rounded as Mesa's blender rounds: (t + (t >> 8) + 128)
// >> 8 of t = c * f, within one step of c * f / 255 and exact for 0 and 255.
// No lane carries into the next: t + (t >> 8) + 128 stays below 65536.
inline uint32_t scaleLanes(uint32_t lanes, uint32_t f) {
    const uint32_t t = lanes * f;
    return ((t + ((t >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
}

// Lane values of 256 become 255.
inline uint32_t saturateLanes(uint32_t lanes) {
    const uint32_t over = lanes & 0x01000100u;
    return (lanes | (over - (over >> 8))) & 0x00FF00FFu;
}

// The inner loops, one row span each. A mirrored span is first reversed into
// a scratch row, so the blending itself always runs forwards. Where the
// loader picks among clones at start (ELF on x86-64), the blending also comes
// built for AVX2, a third faster than the baseline's SSE2. ThreadSanitizer's
// runtime is not up yet when the loader runs the clone resolver, so its
// builds do without.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__ELF__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define VECTOR_CLONES
#endif

VECTOR_CLONES void blendRgba(unsigned char* __restrict dst, const unsigned char* __restrict src, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t s = loadPixel(src + 4 * i), d = loadPixel(dst + 4 * i);
        const uint32_t alpha = s >> 24, rest = 255 - alpha;
        const uint32_t redBlue = saturateLanes(scaleLanes(s & 0x00FF00FFu, alpha) + scaleLanes(d & 0x00FF00FFu, rest));
        const uint32_t green =
            saturateLanes(scaleLanes((s >> 8) & 0x000000FFu, alpha) + scaleLanes((d >> 8) & 0x000000FFu, rest));
        const uint32_t out = redBlue | green << 8 | 0xFF000000u;
        memcpy(dst + 4 * i, &out, 4);
    }
}

// Copies count 4-byte pixels, last being the rightmost, in reverse order.
void reversePixels(unsigned char* __restrict dst, const unsigned char* __restrict last, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t word = loadPixel(last - 4 * i);
        memcpy(dst + 4 * i, &word, 4);
    }
}

// An RGB picture (rows padded to 4 bytes) as opaque 4-byte pixels.
std::vector<unsigned char> widenRgb(int width, int height, const unsigned char* pixels) {
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    std::vector<unsigned char> wide(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = pixels + rowBytes * static_cast<size_t>(y);
        unsigned char* out = wide.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
        for (int x = 0; x < width; ++x) {
            out[4 * x + 0] = in[3 * x + 0];
            out[4 * x + 1] = in[3 * x + 1];
            out[4 * x + 2] = in[3 * x + 2];
            out[4 * x + 3] = 255;
        }
    }
    return wide;
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

const unsigned char* Compositor::opaquePixels(int width, int height, const unsigned char* pixels) {
    // Pixel blocks are never freed or changed, so the block's address names
    // its pixels for good; each RGB picture is widened once.
    auto found = widened_.find(pixels);
    if (found != widened_.end() && found->second.size() == static_cast<size_t>(width) * height * 4)
        return found->second.data();
    try {
        std::vector<unsigned char>& wide = widened_[pixels];
        wide = widenRgb(width, height, pixels);
        return wide.data();
    } catch (const std::bad_alloc&) {
        widened_.erase(pixels);
        return nullptr;
    }
}

void Compositor::drawPicture(int x, int y, int width, int height, int colorType, const unsigned char* pixels,
                             bool flipX, bool flipY) {
    if (!width_ || !pixels || width <= 0 || height <= 0 || (colorType != 2 && colorType != 6)) return;
    // Window positions of the picture's edges, wide enough for any int.
    const int64_t left = static_cast<int64_t>(shiftX_) + x, bottom = static_cast<int64_t>(shiftY_) + y;
    const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(left + width, width_);
    const int64_t y0 = std::max<int64_t>(bottom, 0), y1 = std::min<int64_t>(bottom + height, height_);
    if (x0 >= x1 || y0 >= y1) return;
    const bool opaque = colorType == 2;
    if (opaque && !(pixels = opaquePixels(width, height, pixels))) return;
    const int count = static_cast<int>(x1 - x0);
    const int firstColumn = static_cast<int>(x0 - left);  // of the span, counted as drawn
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    // A mirrored span starts at the far column of the picture and runs back.
    const int sourceColumn = flipX ? width - 1 - firstColumn : firstColumn;
    if (flipX && mirrorRow_.size() < static_cast<size_t>(count) * 4) mirrorRow_.resize(static_cast<size_t>(count) * 4);
    for (int64_t windowY = y0; windowY < y1; ++windowY) {
        const int drawnRow = static_cast<int>(windowY - bottom);
        const int sourceRow = flipY ? height - 1 - drawnRow : drawnRow;
        const unsigned char* src =
            pixels + rowBytes * static_cast<size_t>(sourceRow) + static_cast<size_t>(sourceColumn) * 4;
        unsigned char* dst =
            pixels_.data() + (static_cast<size_t>(windowY) * static_cast<size_t>(width_) + static_cast<size_t>(x0)) * 4;
        if (flipX) {
            reversePixels(opaque ? dst : mirrorRow_.data(), src, count);
            if (opaque) continue;
            src = mirrorRow_.data();
        }
        if (opaque)
            memcpy(dst, src, static_cast<size_t>(count) * 4);
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
