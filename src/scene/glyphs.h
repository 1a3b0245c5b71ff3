// Glyphs of the text pass: the platform's 1-bit bitmaps, cached per character
// and font size, and texts laid out once per change of string or size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"

using Glyph = PlatformGlyph;

// The glyph of one character at a font size, rasterised on first use.
std::shared_ptr<const Glyph> glyphFor(char32_t codePoint, int fontSize);
// For tests and benchmarks: turns the glyph cache on (the default) or off;
// either way it is emptied and every text is laid out afresh.
void setGlyphCacheEnabled(bool enabled);
// The number of glyphs currently cached.
int cachedGlyphCount();

struct PlacedGlyph {
    int64_t pen;  // pen position on the base line, from the text's origin
    char32_t codePoint;
};

// A text as the pass draws it: every character with its pen position. Pen
// positions never decrease, so the glyphs that can touch a range of columns
// are found by bisection; only those are fetched from the glyph cache, whose
// size stays bounded whatever the texts hold.
struct TextLayout {
    int fontSize = 0;
    std::vector<PlacedGlyph> glyphs;
    int64_t advance = 0;  // where the pen ends
    // The ink's extent over all glyphs, relative to each glyph's pen.
    int minLeft = 0, maxRight = 0, minBottom = 0, maxTop = 0;
    uint64_t cacheGeneration = 0;
};

// Lays a game string out at a font size. Never null.
std::unique_ptr<TextLayout> layoutText(const char* text, int fontSize);
// False once the glyph cache was switched or emptied after the layout was made.
bool layoutIsCurrent(const TextLayout& layout);
// The glyphs whose ink may reach the columns [left, right) measured from the
// text's origin: [first, last) of layout.glyphs. Empty when none can.
void glyphsInColumns(const TextLayout& layout, int64_t left, int64_t right, size_t* first, size_t* last);
