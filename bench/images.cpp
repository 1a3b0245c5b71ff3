// Frame time with many visible images, and the cost of creating an image from
// a picture that is already decoded.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "render/frame.h"
#include "render/gl.h"
#include "core/tables.h"
#include "scene/objects.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "vindle.h"

namespace {

constexpr int kGameWidth = 800, kGameHeight = 600;

// A resources folder with one 64 x 64 half-transparent RGBA picture.
const TempDir& resources() {
    static TempDir dir;
    static bool ready = [] {
        std::filesystem::create_directory(dir.file("Images"));
        writePng(dir.file("Images/tile.png"), solidPicture(64, 64, {200, 120, 40, 160}));
        setResourcesDir(dir.path().c_str());
        return true;
    }();
    (void)ready;
    return dir;
}

void frameWithVisibleImages(benchmark::State& state) {
    resources();
    OffscreenContext context(kGameWidth, kGameHeight);
    clearGameUI();
    const int count = static_cast<int>(state.range(0));
    for (int id = 0; id < count; ++id) {
        createImage(id, "tile.png");
        setImagePosition(id, (id * 37) % (kGameWidth - 64), (id * 53) % (kGameHeight - 64));
    }
    for (auto _ : state) renderFrame(kGameWidth, kGameHeight);
    clearGameUI();
}
BENCHMARK(frameWithVisibleImages)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void createImageFromCachedFile(benchmark::State& state) {
    resources();
    clearGameUI();
    createImage(0, "tile.png");  // the first load decodes
    int id = 1;
    for (auto _ : state) {
        createImage(id++, "tile.png");
        if (id == 1000) {  // keep chains short, as a game would
            state.PauseTiming();
            clearGameUI();
            id = 0;
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    clearGameUI();
}
BENCHMARK(createImageFromCachedFile);

}  // namespace
