// Glyph layer internals exposed to tests and benchmarks.
#pragma once

#include "platform/platform.h"  // kMaxGlyphSize, the largest em size rasterised
// The em size used for a font size of 0.
constexpr int kDefaultGlyphSize = 16;

// The pixel em size rasterised for a game's font size: its magnitude (a
// negative height asks for the character height, which equals the cell of a
// SimSun-like font), the default for 0, at most kMaxGlyphSize.
int rasterGlyphSize(int cellHeight);
