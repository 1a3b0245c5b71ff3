// Test seam of the platform layer (internal, never exported): lets tests answer
// message boxes and record sound calls without a window or an audio device,
// and watch glyphs being rasterised. The portable core reaches these services
// only through the functions below, so a backend never looks at the hooks. A
// null hook restores the real service.
#pragma once

#include "platform/platform.h"

using MessageBoxHook = int (*)(const char* text, const char* caption, int style, bool ownedByGameWindow);
using PlaySoundHook = int (*)(const char* path, bool loop);
using CloseSoundHook = int (*)(const char* path);
// Called before each glyph is rasterised, on the rasterising thread.
using GlyphWatcher = void (*)(char32_t codePoint, int cellHeight);

void platformSetMessageBoxHook(MessageBoxHook hook);
void platformSetSoundHooks(PlaySoundHook play, CloseSoundHook close);
void platformSetGlyphWatcher(GlyphWatcher watcher);

// The hook when a test set one, else platformMessageBox, platformPlaySound and
// platformCloseSound.
int showMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow);
int playSoundFile(const char* path, bool loop);
int closeSoundFile(const char* path);
// platformRasteriseGlyph, after telling the watcher.
bool rasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph);
