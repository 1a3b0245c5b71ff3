// playSound and closeSound: the engine keeps no sound state of its own. A sound
// is named by its file's short path and carried out by the platform's
// MCI-style command layer, so one file is one sound.
#include <cstdio>
#include <cstring>

#include "engine/diagnostics.h"
#include "engine/messages.h"
#include "engine/settings.h"
#include "platform/platform.h"
#include "vindle.h"

namespace {

constexpr size_t kExtensionSize = 100;
constexpr size_t kCommandSize = 32010;
constexpr int kUnsupportedFormat = 277;  // MCIERR_INTERNAL

// Compares ASCII letters without regard to case, as the extension test does.
bool equalsIgnoringCase(const char* a, const char* b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b)) return false;
    return *a == *b;
}

}  // namespace

extern "C" {

VINDLE_API int playSound(const char* fileName, int repeat) {
    if (!fileName) fileName = "";
    char fullPath[kPathBufferSize];
    char shortPath[kPathBufferSize] = {};
    char extension[kExtensionSize] = {};
    char command[kCommandSize] = {};

    const bool fits = buildResourcePath(fullPath, "Sounds", fileName);
    // A cut path has lost its extension; the name as given still has it.
    platformExtension(fits ? fullPath : fileName, extension, sizeof extension);
    if (!equalsIgnoringCase(extension, ".wav") && !equalsIgnoringCase(extension, ".mp3"))
        fatalError("%s", kMsgSoundBadExtension);
    if (!fits || !platformFileExists(fullPath)) fatalError(kMsgSoundMissing, fullPath);
    platformShortPath(fullPath, shortPath, sizeof shortPath);

    // Closing first makes a second play of a sounding file start it anew.
    snprintf(command, sizeof command, "close %s", shortPath);
    platformSoundCommand(command);
    snprintf(command, sizeof command, "play %s%s", shortPath, repeat ? " repeat" : "");
    const int result = platformSoundCommand(command);
    if (result == 0) return 0;
    if (result == kUnsupportedFormat) fatalError(kMsgSoundUnsupported, fileName);
    char errorText[kFatalBufferSize];
    platformSoundErrorText(result, errorText, sizeof errorText);
    fatalError("%s", errorText);  // a system text may hold '%'
}

VINDLE_API int closeSound(const char* fileName) {
    if (!fileName) fileName = "";
    char fullPath[kPathBufferSize];
    char shortPath[kPathBufferSize] = {};
    char command[kCommandSize] = {};
    // A path that does not fit names no file, and the close names none either.
    if (buildResourcePath(fullPath, "Sounds", fileName)) platformShortPath(fullPath, shortPath, sizeof shortPath);
    snprintf(command, sizeof command, "close %s", shortPath);
    return platformSoundCommand(command);
}

}  // extern "C"
