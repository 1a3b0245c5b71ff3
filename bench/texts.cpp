// Frame time of a scene full of Chinese texts, with and without the glyph cache.
#include <benchmark/benchmark.h>

#include "engine/tables.h"
#include "platform/posix/glyphs.h"
#include "scene/objects.h"
#include "support/osmesa.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

void buildScene() {
    initObjectTables();
    clearGameUI();
    static const char* const lines[] = {"天地玄黄宇宙洪荒日月", "盈昃辰宿列张寒来暑往", "秋收冬藏闰余成岁律吕",
                                        "调阳云腾致雨露结为霜", "金生丽水玉出昆冈剑号"};
    for (int i = 0; i < 100; ++i) {
        createText(i, lines[i % 5]);
        setTextPosition(i, (i % 4) * 200, (i / 4) * 24);
        setTextColor(i, 0.1f * (i % 10), 0.0f, 0.5f);
    }
}

// Arg 1: glyph cache on; arg 0: every glyph rasterised on every frame.
void BM_HundredChineseTexts(benchmark::State& state) {
    OffscreenContext context(kWidth, kHeight);
    buildScene();
    setGlyphCacheEnabled(state.range(0) != 0);
    renderFrame(kWidth, kHeight);  // the face is opened outside the timing
    for (auto _ : state) renderFrame(kWidth, kHeight);
    state.SetLabel(state.range(0) ? "glyph cache" : "no glyph cache");
    setGlyphCacheEnabled(true);
    clearGameUI();
}
BENCHMARK(BM_HundredChineseTexts)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
