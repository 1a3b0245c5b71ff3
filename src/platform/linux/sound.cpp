// Linux backend, sound on top of SDL2_mixer. Every open file is one sound on
// a mixer channel of its own, so a file is one sound and several files sound
// together. Files are streamed, not decoded whole: the channel plays a silent
// carrier and an effect on it fills each block from the file, so a play
// returns at once whatever the file's length and an open sound holds a few
// kilobytes. libsndfile decodes the containers it knows by their first bytes
// (WAV in all its encodings, AIFF, FLAC, Ogg); anything else is read as MPEG
// audio by libmpg123, told to be quiet: libsndfile's own MPEG decoding prints
// libmpg123's notes about damaged files to the console.
//   implemented: every function of the section.
//   differs from Windows: SDL2_mixer, libsndfile and libmpg123 in place of
//     MCI; the error texts come from core/messages.h; a machine without audio
//     output plays on a silent device (PLATFORM_SOUND_SILENCED once).
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <mpg123.h>
#include <sndfile.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/messages.h"
#include "platform/linux/sound.h"
#include "platform/platform.h"

namespace {

// What a sound file may claim: a header outside these is refused before
// anything is sized by it (a rate of 1 Hz would make each second of the file
// cost the device's rate in samples; SDL's converter overflows on huge ones).
constexpr long kLowestRate = 1000, kHighestRate = 384000;
constexpr int kMostChannels = 8;
// Frames decoded at a time.
constexpr size_t kBlockFrames = 1024;

// Whether a file begins as a container that libsndfile reads.
bool isSndfileContainer(const std::string& path) {
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    char magic[4] = {};
    const bool read = fread(magic, 1, sizeof magic, file) == sizeof magic;
    fclose(file);
    for (const char* known : {"RIFF", "RIFX", "RF64", "FORM", "fLaC", "OggS"})
        if (read && memcmp(magic, known, sizeof magic) == 0) return true;
    return false;
}

// A file read a block at a time and converted to the device's format.
class Stream {
public:
    ~Stream() {
        if (sound_) sf_close(sound_);
        if (mpeg_) mpg123_delete(mpeg_);
        if (convert_) SDL_FreeAudioStream(convert_);
    }

    // Opens the file; false when it cannot be played: not a sound file, a
    // format no sound has, or no sound in it.
    bool open(const std::string& path, const SDL_AudioSpec& device) {
        long rate = 0;
        if (!(isSndfileContainer(path) ? openSndfile(path, rate) : openMpeg(path, rate))) return false;
        if (rate < kLowestRate || rate > kHighestRate || channels_ < 1 || channels_ > kMostChannels) return false;
        block_.resize(kBlockFrames * static_cast<size_t>(channels_));
        convert_ = SDL_NewAudioStream(AUDIO_F32SYS, static_cast<Uint8>(channels_), static_cast<int>(rate),
                                      device.format, device.channels, device.freq);
        return convert_ != nullptr;
    }

    // Back to the beginning; called only while the channel is halted.
    void rewind(bool loop) {
        loop_ = loop;
        ended_ = false;
        if (atStart_) return;  // nothing was decoded yet
        restartDecoder();
        SDL_AudioStreamClear(convert_);
        atStart_ = true;
    }

    // Fills a block of the device's samples; silence once a single play ended.
    void fill(Uint8* out, int length) {
        atStart_ = false;
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
    bool openSndfile(const std::string& path, long& rate) {
        SF_INFO info{};
        sound_ = sf_open(path.c_str(), SFM_READ, &info);
        rate = info.samplerate;
        channels_ = info.channels;
        return sound_ != nullptr && info.frames > 0;
    }

    bool openMpeg(const std::string& path, long& rate) {
        int error = MPG123_OK;
        mpeg_ = mpg123_new(nullptr, &error);
        if (!mpeg_) return false;
        mpg123_param(mpeg_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
        // Float samples at the file's own rate; SDL converts the rest.
        mpg123_format_none(mpeg_);
        const long* rates = nullptr;
        size_t count = 0;
        mpg123_rates(&rates, &count);
        for (size_t i = 0; i < count; ++i)
            mpg123_format(mpeg_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
        int encoding = 0;
        return mpg123_open(mpeg_, path.c_str()) == MPG123_OK &&
               mpg123_getformat(mpeg_, &rate, &channels_, &encoding) == MPG123_OK;
    }

    void restartDecoder() {
        if (sound_) sf_seek(sound_, 0, SEEK_SET);
        if (mpeg_) mpg123_seek(mpeg_, 0, SEEK_SET);
    }

    // Puts the next block of the file into the converter; false at its end.
    bool decodeBlock() {
        size_t bytes = 0;
        if (sound_) {
            const sf_count_t frames = sf_readf_float(sound_, block_.data(), static_cast<sf_count_t>(kBlockFrames));
            if (frames > 0) bytes = static_cast<size_t>(frames) * static_cast<size_t>(channels_) * sizeof(float);
        } else {
            const int result = mpg123_read(mpeg_, block_.data(), block_.size() * sizeof(float), &bytes);
            if (bytes == 0 && result == MPG123_NEW_FORMAT) return true;
        }
        return bytes > 0 && SDL_AudioStreamPut(convert_, block_.data(), static_cast<int>(bytes)) == 0;
    }

    SNDFILE* sound_ = nullptr;
    mpg123_handle* mpeg_ = nullptr;
    int channels_ = 0;
    std::vector<float> block_;
    SDL_AudioStream* convert_ = nullptr;
    bool loop_ = false;
    bool ended_ = false;
    bool atStart_ = true;
};

void fillFromStream(int, void* samples, int length, void* stream) {
    static_cast<Stream*>(stream)->fill(static_cast<Uint8*>(samples), length);
}

struct OpenSound {
    std::unique_ptr<Stream> stream;
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
        FILE* file = platformOpenForReading(name.c_str());
        if (!file) return PLATFORM_SOUND_FILE_NOT_FOUND;
        fclose(file);
        auto stream = std::make_unique<Stream>();
        if (!stream->open(name, sound.device)) return PLATFORM_SOUND_UNSUPPORTED_FORMAT;
        int channel = freeChannel(sound);
        entry = sound.open.emplace(name, OpenSound{std::move(stream), channel}).first;
        sound.channelsInUse.insert(channel);
    }
    // A play of a file that still sounds starts it from the beginning.
    OpenSound& playing = entry->second;
    Mix_HaltChannel(playing.channel);
    playing.stream->rewind(repeat);
    const bool started = Mix_RegisterEffect(playing.channel, fillFromStream, nullptr, playing.stream.get()) != 0 &&
                         Mix_PlayChannel(playing.channel, sound.carrier, -1) >= 0;
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

bool decodeSoundForTest(const char* path, int milliseconds, std::vector<int16_t>* samples) {
    SDL_AudioSpec device{};
    device.freq = 44100;
    device.format = AUDIO_S16SYS;
    device.channels = 2;
    Stream stream;
    if (!path || !stream.open(path, device)) return false;
    stream.rewind(false);
    samples->assign(static_cast<size_t>(milliseconds) * 441 / 10 * 2, 0);
    stream.fill(reinterpret_cast<Uint8*>(samples->data()), static_cast<int>(samples->size() * sizeof(int16_t)));
    return true;
}

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
