// What playSound costs the caller for a three-minute file, WAV and MP3: every
// call restarts the sound, as a game replaying its music does. The resident
// memory that two such files hold open is reported beside it. Then the peak
// memory of a 500 MB WAV and of a header claiming 1 Hz, and which encodings,
// rates and channel counts play.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "platform/linux/sound.h"
#include "platform/platform.h"
#include "support/sound_files.h"
#include "vindle.h"

namespace {

// The process's resident memory before any sound was opened.
long startKilobytes = 0;

const std::string& soundsDir() {
    static const std::string dir = [] {
        startKilobytes = residentKilobytes();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        std::string made = makeSoundsFolder();
        writeToneWav(made + "/Sounds/long.wav", 440, 180000);
        writeToneWav(made + "/Sounds/other.wav", 660, 180000);
        const std::string lame = "lame --quiet '" + made + "/Sounds/long.wav' '" + made + "/Sounds/long.mp3'";
        if (system(lame.c_str()) != 0) fprintf(stderr, "no MP3 fixture: lame failed\n");
        return made;
    }();
    return dir;
}

void BM_PlayThreeMinuteSound(benchmark::State& state) {
    setResourcesDir(soundsDir().c_str());
    const char* name = state.range(0) ? "long.mp3" : "long.wav";
    playSound("other.wav", 1);
    for (auto _ : state) playSound(name, 1);
    state.counters["two_open_MB"] = (residentKilobytes() - startKilobytes) / 1024.0;
    closeSound(name);
    closeSound("other.wav");
    setResourcesDir("");
}
BENCHMARK(BM_PlayThreeMinuteSound)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Peak memory of the process so far (VmHWM), in MB.
double peakMegabytes() { return processKilobytes("VmHWM") / 1024.0; }

// A 500 MB 24-bit WAV played for two seconds: what the call costs and the
// process's peak memory. Run alone (--benchmark_filter=HugeWav), as the peak
// is the process's.
void BM_PlayHugeWav(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string dir = makeSoundsFolder();
    const std::string path = dir + "/Sounds/huge.wav";
    {
        std::string block(1 << 20, '\0');
        for (size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 7);
        FILE* file = fopen(path.c_str(), "wb");
        const std::string header = wavBytes(48000, 2, 24, "");
        fwrite(header.data(), 1, header.size(), file);
        for (int i = 0; i < 500; ++i) fwrite(block.data(), 1, block.size(), file);
        // The data chunk's size, now that it is known.
        const uint32_t size = 500u << 20, riff = size + 36;
        fseek(file, 4, SEEK_SET);
        fwrite(&riff, 4, 1, file);
        fseek(file, 40, SEEK_SET);
        fwrite(&size, 4, 1, file);
        fclose(file);
    }
    setResourcesDir(dir.c_str());
    const double before = peakMegabytes();
    for (auto _ : state) {
        playSound("huge.wav", 1);
        state.PauseTiming();
        pauseGame(2000);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["peak_before_MB"] = before;
    closeSound("huge.wav");
    setResourcesDir("");
    remove(path.c_str());
}
BENCHMARK(BM_PlayHugeWav)->Iterations(1)->Unit(benchmark::kMillisecond);

// A header claiming 1 Hz over 179 KB of data, played in a loop for two
// seconds: refused before anything is sized by it. Run alone
// (--benchmark_filter=OneHertz).
void BM_OneHertzHeader(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string dir = makeSoundsFolder();
    writeBytes(dir + "/Sounds/slow.wav", wavBytes(1, 1, 16, std::string(179000, 'x')));
    char path[4096];
    snprintf(path, sizeof path, "%s/Sounds/slow.wav", dir.c_str());
    const double before = peakMegabytes();
    int result = 0;
    for (auto _ : state) result = platformPlaySound(path, true);
    pauseGame(2000);  // a play that streams grows while it plays
    platformCloseSound(path);
    state.counters["result"] = result;
    state.counters["peak_MB"] = peakMegabytes();
    state.counters["peak_before_MB"] = before;
}
BENCHMARK(BM_OneHertzHeader)->Iterations(1)->Unit(benchmark::kMillisecond);

// Which encodings, rates and channel counts play: a 440 Hz tone written by
// libsndfile (MP3 through its LAME writer), the first second decoded for a
// 44.1 kHz stereo device. plays 1 or 0; level: the tone's amplitude on the
// left (about 13000 for a full-strength copy).
struct Variant {
    const char* name;
    int format, rate, channels;
};
const int kWav = SF_FORMAT_WAV, kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
const Variant kVariants[] = {
    {"wav 8-bit", kWav | SF_FORMAT_PCM_U8, 22050, 1},
    {"wav 16-bit", kWav | SF_FORMAT_PCM_16, 44100, 2},
    {"wav 24-bit", kWav | SF_FORMAT_PCM_24, 48000, 2},
    {"wav 32-bit", kWav | SF_FORMAT_PCM_32, 44100, 2},
    {"wav float 32", kWav | SF_FORMAT_FLOAT, 44100, 2},
    {"wav float 64", kWav | SF_FORMAT_DOUBLE, 44100, 2},
    {"wav IMA ADPCM", kWav | SF_FORMAT_IMA_ADPCM, 22050, 1},
    {"wav MS ADPCM", kWav | SF_FORMAT_MS_ADPCM, 22050, 2},
    {"wav A-law", kWav | SF_FORMAT_ALAW, 8000, 1},
    {"wav u-law", kWav | SF_FORMAT_ULAW, 8000, 1},
    {"wav GSM 6.10", kWav | SF_FORMAT_GSM610, 8000, 1},
    {"wav 8 kHz", kWav | SF_FORMAT_PCM_16, 8000, 1},
    {"wav 11 kHz", kWav | SF_FORMAT_PCM_16, 11025, 1},
    {"wav 16 kHz", kWav | SF_FORMAT_PCM_16, 16000, 1},
    {"wav 32 kHz", kWav | SF_FORMAT_PCM_16, 32000, 2},
    {"wav 88 kHz", kWav | SF_FORMAT_PCM_24, 88200, 2},
    {"wav 96 kHz", kWav | SF_FORMAT_PCM_24, 96000, 2},
    {"wav 192 kHz", kWav | SF_FORMAT_PCM_24, 192000, 2},
    {"wav 3 channels", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 44100, 3},
    {"wav 4 channels", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 44100, 4},
    {"wav 6 channels", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 48000, 6},
    {"wav 8 channels", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 48000, 8},
    {"wav 8 channels float", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, 96000, 8},
    {"mp3 44.1 kHz stereo", kMp3, 44100, 2},
    {"mp3 48 kHz mono", kMp3, 48000, 1},
    {"mp3 32 kHz stereo", kMp3, 32000, 2},
    {"mp3 22 kHz mono (MPEG-2)", kMp3, 22050, 1},
    {"mp3 16 kHz stereo (MPEG-2)", kMp3, 16000, 2},
    {"mp3 8 kHz mono (MPEG-2.5)", kMp3, 8000, 1},
};

void BM_DecodeOneSecond(benchmark::State& state) {
    const Variant& v = kVariants[state.range(0)];
    static const std::string dir = makeSoundsFolder();
    const std::string path =
        dir + "/Sounds/" + v.name + ((v.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG ? ".mp3" : ".wav");
    state.SetLabel(v.name);
    if (!writeToneFile(path, v.format, v.rate, v.channels, 440, 1500)) {
        state.SkipWithError("libsndfile cannot write it");
        return;
    }
    std::vector<int16_t> samples;
    bool plays = false;
    for (auto _ : state) plays = decodeSoundForTest(path.c_str(), 1000, &samples);
    double s1 = 0, s2 = 0;
    const double coefficient = 2 * std::cos(2 * M_PI * 440 / 44100);
    for (size_t i = 0; plays && i < samples.size(); i += 2) {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1, s1 = s0;
    }
    state.counters["plays"] = plays;
    state.counters["level"] =
        plays ? 2 * std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / (samples.size() / 2) : 0;
}
BENCHMARK(BM_DecodeOneSecond)->DenseRange(0, std::size(kVariants) - 1)->Unit(benchmark::kMillisecond);

}  // namespace
