#include "platform/seam.h"

#include <atomic>

namespace {
std::atomic<MessageBoxHook> messageBoxHook{nullptr};
std::atomic<SoundCommandHook> soundCommandHook{nullptr};
}  // namespace

void platformSetMessageBoxHook(MessageBoxHook hook) { messageBoxHook.store(hook); }
void platformSetSoundCommandHook(SoundCommandHook hook) { soundCommandHook.store(hook); }
MessageBoxHook platformMessageBoxHook() { return messageBoxHook.load(); }
SoundCommandHook platformSoundCommandHook() { return soundCommandHook.load(); }
