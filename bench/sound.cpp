// What playSound costs the caller for a three-minute file, WAV and MP3: every
// call restarts the sound, as a game replaying its music does. The resident
// memory that two such files hold open is reported beside it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

}  // namespace
