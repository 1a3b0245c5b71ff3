// playSound and closeSound: the engine keeps no sound state of its own. A sound
// is named by its file's short path and carried out by the platform, so one
// file is one sound.
#include <cstring>
#include <string>

#include "core/diagnostics.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/process.h"
#include "platform/platform.h"
#include "platform/seam.h"
#include "vindle.h"

namespace {

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
    noteApiCall();
    if (!fileName) fileName = "";
    std::string fullPath;
    char shortPath[kPathBufferSize] = {};

    const bool fits = buildResourcePath(fullPath, "Sounds", fileName);
    // A cut path has lost its extension; the name as given still has it.
    const std::string extension = fileExtension(fits ? fullPath.c_str() : fileName);
    if (!equalsIgnoringCase(extension.c_str(), ".wav") && !equalsIgnoringCase(extension.c_str(), ".mp3"))
        fatalError("%s", kMsgSoundBadExtension);
    if (!fits || !platformFileExists(fullPath.c_str())) fatalError(kMsgSoundMissing, fullPath.c_str());
    platformShortPath(fullPath.c_str(), shortPath, sizeof shortPath);

    // The platform starts an open file anew: closing it first would make a
    // replay cost an open, which stalls a key handler that fires a sound.
    const int result = playSoundFile(shortPath, repeat != 0);
    if (result == PLATFORM_SOUND_OK) return 0;
    if (result == PLATFORM_SOUND_UNSUPPORTED_FORMAT) fatalError(kMsgSoundUnsupported, fileName);
    char errorText[kFatalBufferSize];
    platformSoundErrorText(result, errorText, sizeof errorText);
    if (result == PLATFORM_SOUND_SILENCED) {
        printWarning(kMsgSoundNoDevice, errorText);
        return 0;
    }
    fatalError("%s", errorText);  // a system text may hold '%'
}

VINDLE_API int closeSound(const char* fileName) {
    noteApiCall();
    if (!fileName) fileName = "";
    std::string fullPath;
    char shortPath[kPathBufferSize] = {};
    // A path that does not fit names no file, and the close names none either.
    if (buildResourcePath(fullPath, "Sounds", fileName))
        platformShortPath(fullPath.c_str(), shortPath, sizeof shortPath);
    return closeSoundFile(shortPath);
}

}  // extern "C"
