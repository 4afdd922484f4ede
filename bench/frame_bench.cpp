// Cost of one frame at 800 x 800 in the real window: the whole system and two close-ups, each drawn
// by onDisplay while the animation runs, against a frame that only clears and swaps (what the window
// system costs whatever is drawn). glFinish makes the renderer's work land inside the iteration.
// Wall time is the figure; process CPU time adds the renderer's worker threads.
#include "bench/bench_window.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <string>

namespace {

void label(benchmark::State& state, const char* what) {
    state.SetLabel(std::string(what) + ", " + std::to_string(texturedBodyCount()) + " textured bodies");
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_Frame(benchmark::State& state) {
    const int view = static_cast<int>(state.range(0));
    sceneState.currentView = view;
    for (auto _ : state) {
        advanceAnimation();
        onDisplay();
        glFinish();
    }
    sceneState.currentView = VIEW_SYSTEM;
    label(state, view == VIEW_SYSTEM ? "whole system" : view == VIEW_SATURN ? "Saturn close-up" : "Earth and Moon close-up");
}

void BM_ClearAndSwap(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
    label(state, "clear and swap only");
}

BENCHMARK(BM_ClearAndSwap)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Frame)
    ->Arg(VIEW_SYSTEM)
    ->Arg(VIEW_SATURN)
    ->Arg(VIEW_EARTH_MOON)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

} // namespace

int main(int argc, char** argv) {
    openBenchWindow(&argc, argv, BenchTextures::loadedAtOpen);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
