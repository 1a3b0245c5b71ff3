// libFuzzer target: a sound file of whatever bytes the fuzzer makes (WAV, MP3
// or anything else), opened as a play opens it and its first second decoded
// for a 44.1 kHz stereo device.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/sound.h"

namespace {

std::string inputPath() {
    const char* dir = getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/vindle-fuzz-" + std::to_string(getpid()) + ".wav";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = inputPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) abort();
    if (size && fwrite(data, 1, size, file) != size) abort();
    fclose(file);
    std::vector<int16_t> samples;
    decodeSoundForTest(path.c_str(), 1000, &samples);
    return 0;
}
