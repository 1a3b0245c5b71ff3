// Windows backend: sound through the MCI command strings.
#include <windows.h>
#include <mmsystem.h>

#include "platform/platform.h"
#include "platform/seam.h"

int platformSoundCommand(const char* command) {
    if (SoundCommandHook hook = platformSoundCommandHook()) return hook(command);
    return static_cast<int>(mciSendStringA(command, nullptr, 0, nullptr));
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    dest[0] = '\0';
    mciGetErrorStringA(static_cast<MCIERROR>(code), dest, static_cast<UINT>(size));
}
