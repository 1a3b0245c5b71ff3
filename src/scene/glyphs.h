// Glyphs of the text pass: the platform's 1-bit bitmaps, cached per character
// and font size, and texts laid out once per change of string or size, by the
// thread that made the change and before it takes the engine lock.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"

using Glyph = PlatformGlyph;

// The glyph of one character at a font size, rasterised on first use. Any
// thread.
std::shared_ptr<const Glyph> glyphFor(char32_t codePoint, int fontSize);
// For tests and benchmarks: turns the glyph cache on (the default) or off;
// either way it is emptied.
void setGlyphCacheEnabled(bool enabled);
// The number of glyphs currently cached.
int cachedGlyphCount();

// The glyphs of one frame, which holds the engine lock while it draws: a
// glyph the cache lacks is rasterised only while the frame's time for it
// lasts (at least one glyph a frame); the glyphs past it are left out, and the
// frame asks to be drawn again, so no text keeps the window waiting.
// With the engine lock held: starts a frame.
void beginFrameGlyphs();
// With the engine lock held: the glyph, or null when the frame has no time
// left to rasterise it.
std::shared_ptr<const Glyph> frameGlyph(char32_t codePoint, int fontSize);
// With the engine lock held: ends the frame; true when glyphs were left out.
bool endFrameGlyphs();
// For tests: the time a frame may spend rasterising (20 ms by default).
void setFrameGlyphTime(std::chrono::microseconds time);

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
};

// Lays a game string out at a font size, rasterising every character it has
// not met yet: the work of a change of string or size, for the thread that
// makes it to do before it takes the engine lock. Never null.
std::unique_ptr<TextLayout> layoutText(const char* text, int fontSize);
// How far glyph i of the layout moves the pen.
int64_t glyphAdvance(const TextLayout& layout, size_t i);
// The glyphs whose ink may reach the columns [left, right) measured from the
// text's origin: [first, last) of layout.glyphs. Empty when none can.
void glyphsInColumns(const TextLayout& layout, int64_t left, int64_t right, size_t* first, size_t* last);
