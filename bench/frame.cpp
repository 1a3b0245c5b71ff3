// Frame time of scene S(N) offscreen (OSMesa), with each renderer: from the
// frame's clear to the end of its present, the objects moved between frames.
#include <benchmark/benchmark.h>

#include "render/frame.h"
#include "scene/objects.h"
#include "scene_pictures.h"
#include "support/osmesa.h"

namespace {

// Arg gl: 0 the compositor, 1 the OpenGL renderer, 2 the compositor without
// its present (the composing alone).
void BM_SceneFrame(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Renderer renderer = state.range(1) == 1 ? Renderer::OpenGL : Renderer::Compositor;
    const bool present = state.range(1) != 2;
    TempDir dir;
    scene::writeResources(dir.path());
    clearGameUI();
    setResourcesDir(dir.path().c_str());
    OffscreenContext context(scene::kWidth, scene::kHeight);
    setRenderer(renderer);
    scene::create(n);
    renderFrame(scene::kWidth, scene::kHeight);  // decodes and lays out once
    int frame = 0;
    for (auto _ : state) {
        state.PauseTiming();
        scene::move(n, ++frame);
        state.ResumeTiming();
        if (present) {
            renderFrame(scene::kWidth, scene::kHeight);
        } else {
            drawFrame(scene::kWidth, scene::kHeight);
        }
    }
    state.SetLabel(renderer == Renderer::OpenGL ? "gl" : present ? "cpu" : "cpu, compose only");
    setRenderer(Renderer::Compositor);
    clearGameUI();
    setResourcesDir("");
}
BENCHMARK(BM_SceneFrame)
    ->ArgsProduct({{10, 100, 1000}, {0, 1, 2}})
    ->ArgNames({"N", "gl"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
