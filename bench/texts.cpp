// Frame time of texts: a scene full of Chinese texts, and one text of 1 MB,
// whose glyphs mostly lie outside the frame.
#include <benchmark/benchmark.h>

#include <string>

#include "render/frame.h"
#include "scene/objects.h"
#include "support/osmesa.h"
#include "vindle.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

Renderer rendererOf(const benchmark::State& state) { return state.range(0) ? Renderer::OpenGL : Renderer::Compositor; }

void BM_HundredChineseTexts(benchmark::State& state) {
    OffscreenContext context(kWidth, kHeight);
    clearGameUI();
    setRenderer(rendererOf(state));
    static const char* const lines[] = {"天地玄黄宇宙洪荒日月", "盈昃辰宿列张寒来暑往", "秋收冬藏闰余成岁律吕",
                                        "调阳云腾致雨露结为霜", "金生丽水玉出昆冈剑号"};
    for (int i = 0; i < 100; ++i) {
        createText(i, lines[i % 5]);
        setTextPosition(i, (i % 4) * 200, (i / 4) * 24);
        setTextColor(i, 0.1f * (i % 10), 0.0f, 0.5f);
    }
    renderFrame(kWidth, kHeight);  // the face is opened outside the timing
    for (auto _ : state) renderFrame(kWidth, kHeight);
    state.SetLabel(state.range(0) ? "gl" : "cpu");
    setRenderer(Renderer::Compositor);
    clearGameUI();
}
BENCHMARK(BM_HundredChineseTexts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// One text of 1 MB moved every frame: laid out once, then each frame costs
// only the glyphs inside the window.
void BM_OneMegabyteText(benchmark::State& state) {
    OffscreenContext context(kWidth, kHeight);
    clearGameUI();
    setRenderer(rendererOf(state));
    std::string text;
    while (text.size() < (1u << 20)) text += "The quick brown fox jumps over the lazy dog. 敏捷的狐狸跳过懒狗。";
    createText(1, text.c_str());
    renderFrame(kWidth, kHeight);
    int frame = 0;
    for (auto _ : state) {
        setTextPosition(1, -(++frame % 1000) * 100, 300);
        renderFrame(kWidth, kHeight);
    }
    state.SetLabel(state.range(0) ? "gl" : "cpu");
    setRenderer(Renderer::Compositor);
    clearGameUI();
}
BENCHMARK(BM_OneMegabyteText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same text changed before every frame: what one change costs, layout
// included (compositor).
void BM_OneMegabyteTextChanged(benchmark::State& state) {
    OffscreenContext context(kWidth, kHeight);
    clearGameUI();
    std::string text[2];
    while (text[0].size() < (1u << 20)) text[0] += "The quick brown fox jumps over the lazy dog. 敏捷的狐狸跳过懒狗。";
    text[1] = text[0] + "!";
    createText(1, text[0].c_str());
    renderFrame(kWidth, kHeight);
    int frame = 0;
    for (auto _ : state) {
        setText(1, text[++frame % 2].c_str());
        renderFrame(kWidth, kHeight);
    }
    clearGameUI();
}
BENCHMARK(BM_OneMegabyteTextChanged)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
