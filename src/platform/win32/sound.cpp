// Windows backend, sound through MCI command strings. MCI opens a file
// itself when "play" names it, under that name, so the short path is the
// sound's name.
//   implemented: every function of the section.
//   differs from Windows: nothing.
// windows.h comes first: the others build on it.
#include <windows.h>

#include <mmsystem.h>

#include <atomic>
#include <string>

#include "platform/platform.h"

namespace {

int send(const std::string& command) { return static_cast<int>(mciSendStringA(command.c_str(), nullptr, 0, nullptr)); }

// Set once a play failed on a machine without any audio output: from then on
// plays succeed silently, so the game runs on. Holds the failing play's code.
std::atomic<int> silencedBy{0};

}  // namespace

int platformPlaySound(const char* path, bool loop) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    if (silencedBy.load() != 0) return PLATFORM_SOUND_OK;
    const int result = send(std::string("play ") + path + (loop ? " repeat" : ""));
    if (result == 0 || waveOutGetNumDevs() != 0) return result;
    int expected = 0;
    return silencedBy.compare_exchange_strong(expected, result) ? PLATFORM_SOUND_SILENCED : PLATFORM_SOUND_OK;
}

int platformCloseSound(const char* path) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    return send(std::string("close ") + path);
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    dest[0] = '\0';
    // For a silenced play, the reason is the text of the play that failed.
    if (code == PLATFORM_SOUND_SILENCED) code = silencedBy.load();
    if (!mciGetErrorStringA(static_cast<MCIERROR>(code), dest, static_cast<UINT>(size))) dest[0] = '\0';
}

// An MP3 still open through MCI when the process exits can crash it.
void platformBeforeExit() { mciSendStringA("close all", nullptr, 0, nullptr); }
