// Web backend: glyphs drawn by the browser with canvas fillText in a bold
// Chinese font and thresholded into the 1-bit bitmaps of the glyph contract.
// The canvas belongs to the browser's thread; other threads ask it there.
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

extern "C" {
// web/glyphs.js. Fills metrics with width, height, left, bottom, advance and
// the address of the bits (malloc'ed, the caller frees them; null when the
// glyph has no ink). Returns 0 when the page has no 2D canvas.
int vindle_rasterise_glyph(unsigned codePoint, int pixelSize, int* metrics);
}

namespace {

// The size for a font size of 0.
constexpr int kDefaultGlyphSize = 16;

// A negative cell height asks for the character height, which is the em
// size of a SimSun-like font, as it is on the other targets.
int pixelSizeFor(int cellHeight) {
    if (cellHeight == 0) return kDefaultGlyphSize;
    const long long magnitude = cellHeight < 0 ? -static_cast<long long>(cellHeight) : cellHeight;
    return magnitude > kMaxGlyphSize ? kMaxGlyphSize : static_cast<int>(magnitude);
}

}  // namespace

bool platformRasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph) {
    *glyph = PlatformGlyph();
    int metrics[6] = {};
    const unsigned character = codePoint <= 0x10FFFF ? static_cast<unsigned>(codePoint) : 0xFFFD;
    if (!vindle_rasterise_glyph(character, pixelSizeFor(cellHeight), metrics)) return false;
    glyph->advance = metrics[4] > 0 ? metrics[4] : 0;
    auto* bits = reinterpret_cast<unsigned char*>(static_cast<uintptr_t>(static_cast<unsigned>(metrics[5])));
    if (!bits) return true;
    glyph->width = metrics[0];
    glyph->height = metrics[1];
    glyph->stride = (glyph->width + 31) / 32 * 4;
    glyph->left = metrics[2];
    glyph->bottom = metrics[3];
    glyph->bits.assign(bits, bits + static_cast<size_t>(glyph->stride) * static_cast<size_t>(glyph->height));
    free(bits);
    return true;
}
