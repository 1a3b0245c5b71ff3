// Web backend: sound through Web Audio (web/sound.js). Every file is one
// voice, named by its path; a play restarts it. The file is checked here, so
// that a play answers at once; the browser decodes it whole on first play,
// and a file it cannot decode ends the game then, with the message a failed
// play gives on the other targets.
#include <emscripten.h>

#include <cstdio>
#include <cstring>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "platform/platform.h"

extern "C" {
// Returns 0, or -1 when the page has no Web Audio.
int vindle_sound_play(const char* path, int loop);
// Returns 0, or -1 when the file was not open.
int vindle_sound_close(const char* path);
void vindle_sound_close_all(void);
// web/system.js: lets the coming exit end the page's runtime.
void vindle_end_runtime_on_exit(void);
}

namespace {

// A WAV (RIFF ... WAVE) or an MP3 (an ID3 tag or an MPEG audio frame header).
bool looksLikeSound(const char* path) {
    FILE* file = platformOpenForReading(path);
    if (!file) return false;
    unsigned char head[12] = {};
    const size_t got = fread(head, 1, sizeof head, file);
    fclose(file);
    if (got >= 12 && memcmp(head, "RIFF", 4) == 0 && memcmp(head + 8, "WAVE", 4) == 0) return true;
    if (got >= 3 && memcmp(head, "ID3", 3) == 0) return true;
    return got >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0;
}

bool silencedReported = false;  // browser's thread only (the calls are proxied there)

}  // namespace

int platformPlaySound(const char* path, bool loop) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    if (!platformFileExists(path)) return PLATFORM_SOUND_FILE_NOT_FOUND;
    if (!looksLikeSound(path)) return PLATFORM_SOUND_UNSUPPORTED_FORMAT;
    if (vindle_sound_play(path, loop ? 1 : 0) == 0) return PLATFORM_SOUND_OK;
    // No Web Audio: the game runs on without sound, told once.
    if (silencedReported) return PLATFORM_SOUND_OK;
    silencedReported = true;
    return PLATFORM_SOUND_SILENCED;
}

int platformCloseSound(const char* path) {
    if (!path || !*path) return PLATFORM_SOUND_NOT_OPEN;
    return vindle_sound_close(path) == 0 ? PLATFORM_SOUND_OK : PLATFORM_SOUND_NOT_OPEN;
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    const char* text = nullptr;
    switch (code) {
    case PLATFORM_SOUND_SILENCED:
        text = kMsgSoundNoWebAudio;
        break;
    case PLATFORM_SOUND_HARDWARE:
        text = kMsgSoundHardware;
        break;
    case PLATFORM_SOUND_NOT_OPEN:
        text = kMsgSoundNotOpen;
        break;
    case PLATFORM_SOUND_FILE_NOT_FOUND:
        text = kMsgSoundFileNotFound;
        break;
    case PLATFORM_SOUND_UNSUPPORTED_FORMAT:
        text = kMsgSoundCannotDecode;
        break;
    }
    if (text)
        snprintf(dest, size, "%s", text);
    else
        snprintf(dest, size, kMsgSoundUnknownError, code);
}

// The page's runtime outlives an exit unless told otherwise (GLUT's loop
// keeps it alive): right before the exit, the voices stop and the runtime is
// told to end with it, which stops the workers and shows the status.
void platformBeforeExit() {
    vindle_sound_close_all();
    vindle_end_runtime_on_exit();
}

// Called by web/sound.js, on the browser's thread, when the browser could not
// decode a played file.
extern "C" EMSCRIPTEN_KEEPALIVE void vindleSoundUndecodable(const char* path) {
    const char* name = strrchr(path, '/');
    fatalError(kMsgSoundUnsupported, name ? name + 1 : path);
}
