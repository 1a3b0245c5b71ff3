// Decoding of PNG pictures into pixel blocks ready for glDrawPixels, with a
// process-wide cache keyed by the lower-cased path.
#pragma once

#include <cstddef>
#include <string>

#include "core/tables.h"

// Loads the picture at path (it is lower-cased in place). Ends the process when the file does not exist or the name
// does not end in ".png". Returns the shared pixel block (8-bit samples, rows bottom-up, RGB rows padded to 4 bytes)
// and fills width, height and colorType (2 RGB or 6 RGBA), or returns null when the file cannot be decoded to one of
// those; tooLarge, when given, then tells whether the picture was refused because decoding it would pass the memory
// budget (512 MiB). The block belongs to the cache and lives until the process ends.
// The caller must not hold the engine lock: the file is read and decoded
// without it, so the window goes on drawing meanwhile, and a fault is reported
// with the lock free.
const unsigned char* loadPng(std::string& path, int* width, int* height, int* colorType, bool* tooLarge = nullptr);

// Bytes of one RGB row: 3 * width rounded up to a multiple of 4.
size_t rgbRowSize(int width);

struct PngCacheEntry {
    int width = 0;
    int height = 0;
    int colorType = 0;
    unsigned char* pixels = nullptr;  // malloc'd; never freed while the process runs
    bool tooLarge = false;            // pixels null: decoding would pass the memory budget
};

// Lower-cased path -> PngCacheEntry; lives as long as the process.
extern Table<std::string, PngCacheEntry>& pngCache;

// The steps of loadPng, for a caller that holds the engine lock (the sprite
// pass) and so must report faults itself once it has released the lock.
//
// Tests that path (as given) exists, then lower-cases it in place and tests
// its suffix. Returns null, or the message of the fault to report with the
// path as it then is.
const char* checkPngPath(std::string& path);
// With the engine lock held: the cached picture under the lower-cased path,
// or null.
const PngCacheEntry* findCachedPng(const std::string& key);
// Reads and decodes a file, taking no lock; pixels is null when it cannot be
// used (width, height and colorType may then hold what the header said).
PngCacheEntry decodePngFile(const char* fileName);
// With the engine lock held: stores a decoded picture under the key, or, when
// another thread stored one first, frees this one and returns that. Returns
// the cached entry (pixels null when memory ran out).
PngCacheEntry cachePng(const std::string& key, PngCacheEntry decoded);

// For tests and the fuzzer only: frees every cached picture and empties the
// cache, so the next load decodes again. No record may point into it.
void forgetCachedPictures();
