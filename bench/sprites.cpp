// Frame time with many animated sprites, and the per-frame cost of reaching a
// cached frame through loadPng.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/lock.h"
#include "render/frame.h"
#include "render/gl.h"
#include "core/tables.h"
#include "scene/sprites.h"
#include "scene/objects.h"
#include "scene/png.h"
#include "scene/records.h"
#include "support/osmesa.h"
#include "support/pngfiles.h"
#include "support/temp_resources.h"
#include "vindle.h"

namespace {

constexpr int kGameWidth = 800, kGameHeight = 600;

// A 64 x 64 RGBA walker with four frames, half of them transparent pixels.
void writeWalker(const TempResources& res) {
    for (int f = 1; f <= 4; ++f) {
        PngPicture picture = solidPicture(64, 64, {static_cast<png_byte>(f * 50), 80, 120, 255});
        for (size_t i = 3; i < picture.rows.size(); i += 8) picture.rows[i] = 0;
        writePng(res.file("Sprites/walker/walk/" + std::to_string(f) + ".png"), picture);
    }
}

// Arg 0: the sprites' count; arg 1: 1 when the game names the folder in
// another letter case than the disk ("WALKER" for walker).
void BM_FrameWithAnimatedSprites(benchmark::State& state) {
    TempResources res;
    writeWalker(res);
    clearGameUI();
    setResourcesDir(res.root().c_str());
    OffscreenContext gl(kGameWidth, kGameHeight);
    const int count = static_cast<int>(state.range(0));
    for (int id = 0; id < count; ++id) {
        createSprite(id, state.range(1) ? "WALKER" : "walker");
        setSpritePosition(id, (id * 37) % (kGameWidth - 64), (id * 53) % (kGameHeight - 64));
        setSpriteFlipX(id, id % 2);
        playSpriteAnimate(id, "walk");
    }
    renderFrame(kGameWidth, kGameHeight);  // decodes the four frames once
    int frame = 0;
    for (auto _ : state) {
        // A timer tick every 30 frames, as at 100 frames a second.
        if (++frame % 30 == 0) advanceAnimations();
        renderFrame(kGameWidth, kGameHeight);
    }
    state.SetItemsProcessed(state.iterations() * count);
    clearGameUI();
    setResourcesDir("");
}
BENCHMARK(BM_FrameWithAnimatedSprites)
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond);

// What every visible sprite pays per frame once its frame is cached: the
// existence test, the lower-casing and the cache lookup. Arg 0 hands loadPng
// the same path every time, lower-cased by the first call; arg 1 hands it a
// fresh copy of the path as listed, in the letter case of the disk.
void BM_CachedFrameLookup(benchmark::State& state) {
    TempResources res;
    writeWalker(res);
    const std::string listed = res.path("Sprites/walker/walk/1.png");
    std::string path = listed;
    int width = 0, height = 0, colorType = 0;
    loadPng(path, &width, &height, &colorType);
    if (state.range(0) == 0) {
        for (auto _ : state) benchmark::DoNotOptimize(loadPng(path, &width, &height, &colorType));
    } else {
        for (auto _ : state) {
            std::string scratch = listed;
            benchmark::DoNotOptimize(loadPng(scratch, &width, &height, &colorType));
        }
    }
}
BENCHMARK(BM_CachedFrameLookup)->Arg(0)->Arg(1);

}  // namespace
