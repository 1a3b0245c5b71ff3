// Linux backend: sound on top of SDL2_mixer. Every open file is one decoded
// chunk on a mixer channel of its own, so a file is one sound and several
// files sound together.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "engine/messages.h"
#include "platform/platform.h"

namespace {

struct OpenSound {
    Mix_Chunk* chunk;
    int channel;
};

struct SoundState {
    std::mutex lock;
    bool deviceTried = false;
    bool deviceOpen = false;
    bool silenced = false;        // the dummy driver stands in for a missing output
    bool silenceReported = false;
    std::string silenceReason;
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

// Opens the output once, on the first play. A machine without audio output
// gets SDL's silent dummy driver, so the game runs on without sound.
bool ensureDevice(SoundState& sound) {
    if (sound.deviceTried) return sound.deviceOpen;
    sound.deviceTried = true;
    // SDL would otherwise catch SIGINT and SIGTERM, and Ctrl+C no longer ends the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    Mix_Init(MIX_INIT_MP3);
    sound.deviceOpen = openDevice(nullptr);
    if (!sound.deviceOpen) {
        sound.silenceReason = SDL_GetError();
        sound.deviceOpen = sound.silenced = openDevice("dummy");
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
    if (name.empty()) return PLATFORM_SOUND_NOT_OPEN;
    SoundState& sound = state();
    std::lock_guard<std::mutex> guard(sound.lock);
    if (!ensureDevice(sound)) return PLATFORM_SOUND_HARDWARE;
    auto entry = sound.open.find(name);
    if (entry == sound.open.end()) {
        SDL_RWops* file = SDL_RWFromFile(name.c_str(), "rb");
        if (!file) return PLATFORM_SOUND_FILE_NOT_FOUND;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(file, 1);  // WAV, and MP3 decoded whole
        if (!chunk) return PLATFORM_SOUND_UNSUPPORTED_FORMAT;
        int channel = freeChannel(sound);
        entry = sound.open.emplace(name, OpenSound{chunk, channel}).first;
        sound.channelsInUse.insert(channel);
    }
    // A play of a file that still sounds starts it from the beginning.
    Mix_HaltChannel(entry->second.channel);
    if (Mix_PlayChannel(entry->second.channel, entry->second.chunk, repeat ? -1 : 0) < 0) {
        closeOpenSound(sound, entry);
        return PLATFORM_SOUND_HARDWARE;
    }
    if (sound.silenced && !sound.silenceReported) {
        sound.silenceReported = true;
        return PLATFORM_SOUND_SILENCED;
    }
    return PLATFORM_SOUND_OK;
}

int closeFile(const std::string& name) {
    SoundState& sound = state();
    std::lock_guard<std::mutex> guard(sound.lock);
    auto entry = sound.open.find(name);
    if (entry == sound.open.end()) return PLATFORM_SOUND_NOT_OPEN;
    closeOpenSound(sound, entry);
    return PLATFORM_SOUND_OK;
}

}  // namespace

int platformPlaySound(const char* path, bool loop) { return playFile(path ? path : "", loop); }

int platformCloseSound(const char* path) { return closeFile(path ? path : ""); }

void platformSoundErrorText(int code, char* dest, size_t size) {
    if (size == 0) return;
    const char* text = nullptr;
    switch (code) {
        case PLATFORM_SOUND_SILENCED: {
            SoundState& sound = state();
            std::lock_guard<std::mutex> guard(sound.lock);
            snprintf(dest, size, "%s", sound.silenceReason.c_str());
            return;
        }
        case PLATFORM_SOUND_HARDWARE: text = kMsgSoundHardware; break;
        case PLATFORM_SOUND_NOT_OPEN: text = kMsgSoundNotOpen; break;
        case PLATFORM_SOUND_FILE_NOT_FOUND: text = kMsgSoundFileNotFound; break;
        case PLATFORM_SOUND_UNSUPPORTED_FORMAT: text = kMsgSoundCannotDecode; break;
    }
    if (text)
        snprintf(dest, size, "%s", text);
    else
        snprintf(dest, size, kMsgSoundUnknownError, code);
}
