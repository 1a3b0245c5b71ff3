// libFuzzer target: loadPng on whatever bytes the fuzzer makes, each run with
// an empty picture cache so every input is decoded.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scene/png.h"

namespace {

std::string inputPath() {
    const char* dir = getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/vindle-fuzz-" + std::to_string(getpid()) + ".png";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = inputPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) abort();
    if (size && fwrite(data, 1, size, file) != size) abort();
    fclose(file);

    std::string key = path;
    int width = 0, height = 0, colorType = 0;
    if (const unsigned char* pixels = loadPng(key, &width, &height, &colorType)) {
        // Touch the first and last sample, so a block too small is found.
        const size_t stride = colorType == 6 ? 4 * static_cast<size_t>(width) : rgbRowSize(width);
        volatile unsigned char sum = pixels[0] + pixels[stride * height - 1];
        (void)sum;
    }
    forgetCachedPictures();
    return 0;
}
