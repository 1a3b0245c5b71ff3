// Linux backend, sound on top of SDL2_mixer. Every open file is one sound on
// a mixer channel of its own, so a file is one sound and several files sound
// together. Files are streamed, not decoded whole: the channel plays a silent
// carrier and an effect on it fills each block from the file (MP3 through
// mpg123, PCM WAV straight from the disk), so a play returns at once whatever
// the file's length and an open sound holds a few kilobytes. Other WAV
// encodings, which SDL converts whole, are loaded as chunks.
//   implemented: every function of the section.
//   differs from Windows: SDL2_mixer in place of MCI; the error texts come
//     from core/messages.h; a machine without audio output plays on a silent
//     device (PLATFORM_SOUND_SILENCED once).
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <mpg123.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "core/messages.h"
#include "platform/platform.h"

namespace {

// A file read a block at a time and converted to the device's format.
class Stream {
public:
    ~Stream() {
        if (mp3_) mpg123_delete(mp3_);
        if (wav_) SDL_RWclose(wav_);
        if (convert_) SDL_FreeAudioStream(convert_);
    }

    // Opens the file and reads its format; false when it cannot be streamed.
    bool open(const std::string& path, const SDL_AudioSpec& device) {
        SDL_AudioFormat format = 0;
        int channels = 0, rate = 0;
        // A RIFF file is a WAV whatever its name; anything else may be MP3.
        SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
        if (!file) return false;
        char magic[4] = {};
        const bool riff = SDL_RWread(file, magic, 1, 4) == 4 && memcmp(magic, "RIFF", 4) == 0;
        SDL_RWclose(file);
        if (riff ? !openWav(path, format, channels, rate) : !openMp3(path, format, channels, rate)) return false;
        convert_ =
            SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, device.format, device.channels, device.freq);
        return convert_ != nullptr;
    }

    // Back to the beginning; called only while the channel is halted.
    void rewind(bool loop) {
        loop_ = loop;
        ended_ = false;
        restartDecoder();
        SDL_AudioStreamClear(convert_);
    }

    // Fills a block of the device's samples; silence once a single play ended.
    void fill(Uint8* out, int length) {
        int filled = 0;
        bool restarted = false;  // a file that gives nothing even from its start ends
        while (filled < length) {
            const int got = SDL_AudioStreamGet(convert_, out + filled, length - filled);
            if (got > 0) {
                filled += got;
                restarted = false;
                continue;
            }
            if (ended_ || got < 0) break;
            if (decodeBlock()) {
                restarted = false;
            } else {
                if (loop_ && !restarted) {
                    restartDecoder();
                    restarted = true;
                } else {
                    SDL_AudioStreamFlush(convert_);
                    ended_ = true;
                }
            }
        }
        if (filled < length) memset(out + filled, 0, static_cast<size_t>(length - filled));
    }

private:
    // A plain PCM WAV: the data chunk is read as it is.
    bool openWav(const std::string& path, SDL_AudioFormat& format, int& channels, int& rate) {
        SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
        if (!file) return false;
        Uint8 header[12];
        if (SDL_RWread(file, header, 1, 12) != 12 || memcmp(header, "RIFF", 4) != 0 ||
            memcmp(header + 8, "WAVE", 4) != 0) {
            SDL_RWclose(file);
            return false;
        }
        bool haveFormat = false;
        for (;;) {
            Uint8 chunk[8];
            if (SDL_RWread(file, chunk, 1, 8) != 8) break;
            const Uint32 size = SDL_SwapLE32(*reinterpret_cast<Uint32*>(chunk + 4));
            if (memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
                Uint8 fmt[16];
                if (SDL_RWread(file, fmt, 1, 16) != 16) break;
                const Uint16 tag = SDL_SwapLE16(*reinterpret_cast<Uint16*>(fmt));
                channels = SDL_SwapLE16(*reinterpret_cast<Uint16*>(fmt + 2));
                rate = static_cast<int>(SDL_SwapLE32(*reinterpret_cast<Uint32*>(fmt + 4)));
                const Uint16 bits = SDL_SwapLE16(*reinterpret_cast<Uint16*>(fmt + 14));
                format = tag == 1 && bits == 8    ? AUDIO_U8
                         : tag == 1 && bits == 16 ? AUDIO_S16LSB
                         : tag == 1 && bits == 32 ? AUDIO_S32LSB
                         : tag == 3 && bits == 32 ? AUDIO_F32LSB
                                                  : 0;
                haveFormat = format != 0 && channels >= 1 && channels <= 8 && rate > 0;
                if (!haveFormat) break;
                SDL_RWseek(file, size - 16 + (size & 1), RW_SEEK_CUR);
            } else if (memcmp(chunk, "data", 4) == 0 && haveFormat) {
                wav_ = file;
                dataStart_ = SDL_RWtell(file);
                const Sint64 rest = SDL_RWsize(file) - dataStart_;
                dataSize_ = rest < size ? rest : size;
                frameBytes_ = channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
                dataSize_ -= dataSize_ % frameBytes_;
                return true;
            } else {
                SDL_RWseek(file, size + (size & 1), RW_SEEK_CUR);
            }
        }
        SDL_RWclose(file);
        return false;
    }

    bool openMp3(const std::string& path, SDL_AudioFormat& format, int& channels, int& rate) {
        int error = MPG123_OK;
        mp3_ = mpg123_new(nullptr, &error);
        if (!mp3_) return false;
        mpg123_param(mp3_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // 16-bit samples at the file's own rate; SDL converts the rest.
        mpg123_format_none(mp3_);
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(mp3_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        long fileRate = 0;
        int fileChannels = 0, encoding = 0;
        if (mpg123_open(mp3_, path.c_str()) != MPG123_OK ||
            mpg123_getformat(mp3_, &fileRate, &fileChannels, &encoding) != MPG123_OK || fileRate <= 0) {
            mpg123_delete(mp3_);
            mp3_ = nullptr;
            return false;
        }
        format = AUDIO_S16SYS;
        channels = fileChannels;
        rate = static_cast<int>(fileRate);
        frameBytes_ = 2 * channels;
        return true;
    }

    void restartDecoder() {
        if (mp3_) mpg123_seek(mp3_, 0, SEEK_SET);
        if (wav_) SDL_RWseek(wav_, dataStart_, RW_SEEK_SET);
        read_ = 0;
    }

    // Puts the next block of the file into the converter; false at its end.
    bool decodeBlock() {
        Uint8 block[8192];
        size_t got = 0;
        if (mp3_) {
            const int result = mpg123_read(mp3_, block, sizeof block, &got);
            if (result != MPG123_OK && result != MPG123_NEW_FORMAT && got == 0) return false;
            if (got == 0) return result == MPG123_NEW_FORMAT;
        } else {
            const Sint64 left = dataSize_ - read_;
            size_t want = sizeof block - sizeof block % static_cast<size_t>(frameBytes_);
            if (left < static_cast<Sint64>(want)) want = static_cast<size_t>(left);
            if (want == 0) return false;
            got = SDL_RWread(wav_, block, 1, want);
            if (got == 0) return false;
            read_ += static_cast<Sint64>(got);
        }
        return SDL_AudioStreamPut(convert_, block, static_cast<int>(got)) == 0;
    }

    mpg123_handle* mp3_ = nullptr;
    SDL_RWops* wav_ = nullptr;
    Sint64 dataStart_ = 0, dataSize_ = 0, read_ = 0;
    int frameBytes_ = 1;
    SDL_AudioStream* convert_ = nullptr;
    bool loop_ = false;
    bool ended_ = false;
};

void fillFromStream(int, void* samples, int length, void* stream) {
    static_cast<Stream*>(stream)->fill(static_cast<Uint8*>(samples), length);
}

struct OpenSound {
    Mix_Chunk* chunk;                // a chunk loaded whole, or the silent carrier
    std::unique_ptr<Stream> stream;  // null for a chunk loaded whole
    int channel;
};

struct SoundState {
    std::mutex lock;
    bool deviceTried = false;
    bool deviceOpen = false;
    bool silenced = false;  // the dummy driver stands in for a missing output
    bool silenceReported = false;
    std::string silenceReason;
    SDL_AudioSpec device{};
    Mix_Chunk* carrier = nullptr;           // silence the streams write over
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
        sound.silenceReason = SDL_GetError();
        sound.deviceOpen = sound.silenced = openDevice("dummy");
    }
    if (sound.deviceOpen) {
        int frequency = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&frequency, &format, &channels);
        sound.device.freq = frequency;
        sound.device.format = format;
        sound.device.channels = static_cast<Uint8>(channels);
        // A block of silence looped under each stream; it belongs to the
        // process, as the device does.
        static Uint8* const silence = static_cast<Uint8*>(calloc(1, 4096));
        sound.carrier = silence ? Mix_QuickLoad_RAW(silence, 4096) : nullptr;
        if (!sound.carrier) sound.deviceOpen = false;
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
    Mix_HaltChannel(entry->second.channel);  // also removes the stream's effect
    if (!entry->second.stream) Mix_FreeChunk(entry->second.chunk);
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
        auto stream = std::make_unique<Stream>();
        Mix_Chunk* chunk = sound.carrier;
        if (stream->open(name, sound.device)) {
            SDL_RWclose(file);
        } else {
            stream.reset();
            chunk = Mix_LoadWAV_RW(file, 1);  // another WAV encoding, converted whole
            if (!chunk) return PLATFORM_SOUND_UNSUPPORTED_FORMAT;
        }
        int channel = freeChannel(sound);
        entry = sound.open.emplace(name, OpenSound{chunk, std::move(stream), channel}).first;
        sound.channelsInUse.insert(channel);
    }
    // A play of a file that still sounds starts it from the beginning.
    OpenSound& playing = entry->second;
    Mix_HaltChannel(playing.channel);
    bool started = true;
    if (playing.stream) {
        playing.stream->rewind(repeat);
        started = Mix_RegisterEffect(playing.channel, fillFromStream, nullptr, playing.stream.get()) != 0 &&
                  Mix_PlayChannel(playing.channel, playing.chunk, -1) >= 0;
    } else {
        started = Mix_PlayChannel(playing.channel, playing.chunk, repeat ? -1 : 0) >= 0;
    }
    if (!started) {
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

// SDL_mixer stops its device by itself at exit.
void platformBeforeExit() {}
