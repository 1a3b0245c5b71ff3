// Windows backend: sound through MCI command strings. MCI opens a file itself
// when "play" names it, under that name, so the short path is the sound's name.
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "platform/platform.h"

namespace {

int send(const std::string& command) { return static_cast<int>(mciSendStringA(command.c_str(), nullptr, 0, nullptr)); }

}  // namespace

int platformPlaySound(const char* path, bool loop) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    return send(std::string("play ") + path + (loop ? " repeat" : ""));
}

int platformCloseSound(const char* path) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    return send(std::string("close ") + path);
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    dest[0] = '\0';
    if (!mciGetErrorStringA(static_cast<MCIERROR>(code), dest, static_cast<UINT>(size))) dest[0] = '\0';
}

// An MP3 still open through MCI when the process exits can crash it.
void platformBeforeExit() { mciSendStringA("close all", nullptr, 0, nullptr); }
