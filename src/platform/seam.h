// Test seam of the platform layer (internal, never exported): lets tests answer
// message boxes and record sound calls without a window or an audio device.
// The portable core reaches these three services only through the functions
// below, so a backend never looks at the hooks. A null hook restores the real
// service.
#pragma once

using MessageBoxHook = int (*)(const char* text, const char* caption, int style, bool ownedByGameWindow);
using PlaySoundHook = int (*)(const char* path, bool loop);
using CloseSoundHook = int (*)(const char* path);

void platformSetMessageBoxHook(MessageBoxHook hook);
void platformSetSoundHooks(PlaySoundHook play, CloseSoundHook close);

// The hook when a test set one, else platformMessageBox, platformPlaySound and
// platformCloseSound.
int showMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow);
int playSoundFile(const char* path, bool loop);
int closeSoundFile(const char* path);
