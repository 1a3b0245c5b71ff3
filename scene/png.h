// Decoding of PNG pictures into pixel blocks ready for glDrawPixels, with a
// process-wide cache keyed by the lower-cased path.
#pragma once

#include <cstddef>

#include "engine/tables.h"

// Loads the picture at path (a buffer the caller owns; it is lower-cased in
// place). Ends the process when the file does not exist or the name does not
// end in ".png". Returns the shared pixel block (8-bit samples, rows
// bottom-up, RGB rows padded to 4 bytes) and fills width, height and colorType
// (2 RGB or 6 RGBA), or returns null when the file cannot be decoded to one of
// those. The block belongs to the cache and lives until the process ends.
// The caller holds the engine lock.
unsigned char* loadPng(char* path, int* width, int* height, int* colorType);

// Bytes of one RGB row: 3 * width rounded up to a multiple of 4.
size_t rgbRowSize(int width);

struct PngCacheEntry {
    int width;
    int height;
    int colorType;
    unsigned char* pixels;
};

// Lower-cased path -> PngCacheEntry; null until the first load.
extern HashTable* pngCache;
