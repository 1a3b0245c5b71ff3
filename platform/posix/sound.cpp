// Linux backend: sound. A small interpreter for the MCI-style commands the
// engine sends ("play NAME", "play NAME repeat", "close NAME") on top of
// SDL2_mixer. Every open file is one decoded chunk on a mixer channel of its
// own, so a file is one sound and several files sound together.
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <strings.h>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "engine/messages.h"
#include "platform/platform.h"
#include "platform/seam.h"

namespace {

// The MCI codes this layer answers with (MCIERR_BASE 256 + offset).
enum SoundError {
    kUnrecognizedCommand = 261,
    kHardware = 262,
    kInvalidDeviceName = 263,
    kFileNotFound = 275,
    kInternal = 277,
};

struct OpenSound {
    Mix_Chunk* chunk;
    int channel;
};

struct SoundState {
    std::mutex lock;
    bool deviceTried = false;
    bool deviceOpen = false;
    std::map<std::string, OpenSound> open;  // by the name the command gave
    std::set<int> channelsInUse;
};

SoundState& state() {
    // Never destroyed: game threads may still play while the process exits.
    static SoundState* const sound = new SoundState;
    return *sound;
}

bool openDevice(const char* forcedDriver) {
    if (forcedDriver) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, forcedDriver, SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

// ALSA prints its own English errors on stderr while SDL probes a machine
// without a sound card; the engine's one line says all the player needs. The
// library is the one SDL loads, so its handler is the one that counts.
void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
    if (!alsa) alsa = dlopen("libasound.so.2", RTLD_NOW);
    if (!alsa) return;
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(quietAlsaError);
}

// Opens the output once, on the first play. A machine without audio output
// gets SDL's silent dummy driver, so the game runs on without sound.
bool ensureDevice(SoundState& sound) {
    if (sound.deviceTried) return sound.deviceOpen;
    sound.deviceTried = true;
    // SDL would otherwise catch SIGINT and SIGTERM, and Ctrl+C no longer ends the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Mix_Init(MIX_INIT_MP3);
    silenceAlsa();
    sound.deviceOpen = openDevice(nullptr);
    if (!sound.deviceOpen) {
        char warning[1024];
        snprintf(warning, sizeof warning, kMsgSoundNoDevice, SDL_GetError());
        sound.deviceOpen = openDevice("dummy");
        if (sound.deviceOpen) platformWarningLine(warning);
    }
    return sound.deviceOpen;
}

int freeChannel(SoundState& sound) {
    int channel = 0;
    while (sound.channelsInUse.count(channel)) ++channel;
    if (channel >= Mix_AllocateChannels(-1)) Mix_AllocateChannels(channel * 2 + 8);
    return channel;
}

void closeOpenSound(SoundState& sound, std::map<std::string, OpenSound>::iterator entry) {
    Mix_HaltChannel(entry->second.channel);
    Mix_FreeChunk(entry->second.chunk);
    sound.channelsInUse.erase(entry->second.channel);
    sound.open.erase(entry);
}

int playFile(const std::string& name, bool repeat) {
    if (name.empty()) return kInvalidDeviceName;
    SoundState& sound = state();
    std::lock_guard<std::mutex> guard(sound.lock);
    if (!ensureDevice(sound)) return kHardware;
    auto entry = sound.open.find(name);
    if (entry == sound.open.end()) {
        SDL_RWops* file = SDL_RWFromFile(name.c_str(), "rb");
        if (!file) return kFileNotFound;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 1);  // WAV, and MP3 decoded whole
        if (!chunk) return kInternal;
        int channel = freeChannel(sound);
        entry = sound.open.emplace(name, OpenSound{chunk, channel}).first;
        sound.channelsInUse.insert(channel);
    }
    // A play of a file that still sounds starts it from the beginning.
    Mix_HaltChannel(entry->second.channel);
    if (Mix_PlayChannel(entry->second.channel, entry->second.chunk, repeat ? -1 : 0) < 0) {
        closeOpenSound(sound, entry);
        return kHardware;
    }
    return 0;
}

int closeFile(const std::string& name) {
    SoundState& sound = state();
    std::lock_guard<std::mutex> guard(sound.lock);
    auto entry = sound.open.find(name);
    if (entry == sound.open.end()) return kInvalidDeviceName;
    closeOpenSound(sound, entry);
    return 0;
}

// The command word, case ignored, followed by a blank or the end.
bool startsWithWord(const char* command, const char* word, const char*& rest) {
    size_t length = strlen(word);
    if (strncasecmp(command, word, length) != 0) return false;
    if (command[length] != ' ' && command[length] != '\0') return false;
    rest = command[length] ? command + length + 1 : command + length;
    return true;
}

}  // namespace

int platformSoundCommand(const char* command) {
    if (SoundCommandHook hook = platformSoundCommandHook()) return hook(command);
    if (!command) return kUnrecognizedCommand;
    // Names are whole real paths and may hold blanks, so they are not split
    // at blanks: only a trailing " repeat" is taken off.
    const char* rest = nullptr;
    if (startsWithWord(command, "play", rest)) {
        std::string name(rest);
        static const char kRepeat[] = " repeat";
        const size_t suffix = sizeof kRepeat - 1;
        bool repeat = name.size() > suffix && strcasecmp(name.c_str() + name.size() - suffix, kRepeat) == 0;
        if (repeat) name.resize(name.size() - suffix);
        return playFile(name, repeat);
    }
    if (startsWithWord(command, "close", rest)) return closeFile(rest);
    return kUnrecognizedCommand;
}

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    const char* text = nullptr;
    switch (code) {
        case kUnrecognizedCommand: text = "驱动程序无法识别指定的命令。"; break;
        case kHardware: text = "指定的设备有硬件问题，无法打开音频输出。"; break;
        case kInvalidDeviceName: text = "指定的设备未打开，或不被 MCI 识别。"; break;
        case kFileNotFound: text = "找不到指定的文件。请确认路径和文件名是否正确。"; break;
        case kInternal: text = "MCI 设备驱动程序出现内部错误：无法解码该音频文件。"; break;
    }
    if (text)
        snprintf(dest, size, "%s", text);
    else
        snprintf(dest, size, "未知的 MCI 错误（%d）。", code);
}
