// Decoding of PNG pictures into pixel blocks ready for glDrawPixels, with a
// process-wide cache keyed by the lower-cased path.
#pragma once

#include <cstddef>

#include "core/tables.h"

// Loads the picture at path (a buffer the caller owns; it is lower-cased in
// place). Ends the process when the file does not exist or the name does not
// end in ".png". Returns the shared pixel block (8-bit samples, rows
// bottom-up, RGB rows padded to 4 bytes) and fills width, height and colorType
// (2 RGB or 6 RGBA), or returns null when the file cannot be decoded to one of
// those. The block belongs to the cache and lives until the process ends.
// The caller must not hold the engine lock: the file is read and decoded
// without it, so the window goes on drawing meanwhile, and a fault is reported
// with the lock free.
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

// The steps of loadPng, for a caller that holds the engine lock (the sprite
// pass) and so must report faults itself once it has released the lock.
//
// Tests that path (as given) exists, then lower-cases it in place and tests
// its suffix. Returns null, or the message of the fault to report with the
// path as it then is.
const char* checkPngPath(char* path);
// With the engine lock held: the cached picture under the lower-cased path,
// or null.
const PngCacheEntry* findCachedPng(const char* key);
// Reads and decodes a file, taking no lock; pixels is null when it cannot be
// used (width, height and colorType may then hold what the header said).
PngCacheEntry decodePngFile(const char* fileName);
// With the engine lock held: stores a decoded picture under the key, or, when
// another thread stored one first, frees this one and returns that. Returns
// the cached entry (pixels null when memory ran out).
PngCacheEntry cachePng(const char* key, PngCacheEntry decoded);
