// Test seam of the platform layer (internal, never exported): lets tests answer
// message boxes and record sound commands without a window or an audio device.
// A null hook restores the real service.
#pragma once

using MessageBoxHook = int (*)(const char* text, const char* caption, int style, bool ownedByGameWindow);
using SoundCommandHook = int (*)(const char* command);

void platformSetMessageBoxHook(MessageBoxHook hook);
void platformSetSoundCommandHook(SoundCommandHook hook);

// For backends: the hook currently set, or null.
MessageBoxHook platformMessageBoxHook();
SoundCommandHook platformSoundCommandHook();
