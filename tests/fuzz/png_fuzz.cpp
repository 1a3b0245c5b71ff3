// libFuzzer target: loadPng on whatever bytes the fuzzer makes, each run with
// an empty picture cache so every input is decoded.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/tables.h"
#include "scene/png.h"

namespace {

std::string inputPath() {
    const char* dir = getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/vindle-fuzz-" + std::to_string(getpid()) + ".png";
}

void emptyCache() {
    if (!pngCache) return;
    for (int32_t b = 0; b < pngCache->bucketCount; ++b)
        for (HashEntry* entry = pngCache->buckets[b]; entry; entry = entry->next) {
            free(static_cast<PngCacheEntry*>(entry->value)->pixels);
            free(entry->value);
            free(reinterpret_cast<char*>(entry->key));
        }
    destroyHashTable(pngCache);
    pngCache = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = inputPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) abort();
    if (size && fwrite(data, 1, size, file) != size) abort();
    fclose(file);

    char buffer[4096];
    snprintf(buffer, sizeof buffer, "%s", path.c_str());
    int width = 0, height = 0, colorType = 0;
    if (const unsigned char* pixels = loadPng(buffer, &width, &height, &colorType)) {
        // Touch the first and last sample, so a block too small is found.
        const size_t stride = colorType == 6 ? 4 * static_cast<size_t>(width) : rgbRowSize(width);
        volatile unsigned char sum = pixels[0] + pixels[stride * height - 1];
        (void)sum;
    }
    emptyCache();
    return 0;
}
