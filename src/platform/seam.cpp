#include "platform/seam.h"

#include <atomic>

#include "platform/platform.h"

namespace {
std::atomic<MessageBoxHook> messageBoxHook{nullptr};
std::atomic<PlaySoundHook> playSoundHook{nullptr};
std::atomic<CloseSoundHook> closeSoundHook{nullptr};
std::atomic<GlyphWatcher> glyphWatcher{nullptr};
}  // namespace

void platformSetGlyphWatcher(GlyphWatcher watcher) { glyphWatcher.store(watcher); }

bool rasteriseGlyph(char32_t codePoint, int cellHeight, PlatformGlyph* glyph) {
    if (GlyphWatcher watcher = glyphWatcher.load()) watcher(codePoint, cellHeight);
    return platformRasteriseGlyph(codePoint, cellHeight, glyph);
}

void platformSetMessageBoxHook(MessageBoxHook hook) { messageBoxHook.store(hook); }

void platformSetSoundHooks(PlaySoundHook play, CloseSoundHook close) {
    playSoundHook.store(play);
    closeSoundHook.store(close);
}

int showMessageBox(const char* text, const char* caption, int style, bool ownedByGameWindow) {
    if (MessageBoxHook hook = messageBoxHook.load()) return hook(text, caption, style, ownedByGameWindow);
    return platformMessageBox(text, caption, style, ownedByGameWindow);
}

int playSoundFile(const char* path, bool loop) {
    if (PlaySoundHook hook = playSoundHook.load()) return hook(path, loop);
    return platformPlaySound(path, loop);
}

int closeSoundFile(const char* path) {
    if (CloseSoundHook hook = closeSoundHook.load()) return hook(path);
    return platformCloseSound(path);
}
