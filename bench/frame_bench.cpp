// Cost of one frame at 800 x 800 in the real window: the whole system and two close-ups, each drawn
// by onDisplay while the animation runs, against a frame that only clears and swaps (what the window
// system costs whatever is drawn). glFinish makes the renderer's work land inside the iteration.
// Wall time is the figure; process CPU time adds the renderer's worker threads.
//
// Where the time goes is found by taking one part of the work away at a time:
//   BM_FrameWithout/VIEW/0: every triangle culled after lighting (GL_CULL_FACE on both faces), which
//     leaves vertex submission, transformation and lighting, the clear and the swap;
//   BM_FrameWithout/VIEW/1: the same with GL_LIGHTING off;
//   BM_FrameWithout/VIEW/2: the bodies' texture names replaced by 0, so they are drawn untextured;
//   BM_ClearOnly: the clear of a frame, without the swap.
#include "bench/bench_window.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <string>

namespace {

enum Removed { RASTERISATION, RASTERISATION_AND_LIGHTING, TEXTURING };

const char* viewName(int view) {
    return view == VIEW_SYSTEM   ? "whole system"
           : view == VIEW_SATURN ? "Saturn close-up"
                                 : "Earth and Moon close-up";
}

void label(benchmark::State& state, const std::string& what) {
    state.SetLabel(what + ", " + std::to_string(texturedBodyCount()) + " textured bodies");
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void drawFrames(benchmark::State& state, int view) {
    sceneState.currentView = view;
    for (auto _ : state) {
        advanceAnimation();
        onDisplay();
        glFinish();
    }
    sceneState.currentView = VIEW_SYSTEM;
}

void BM_Frame(benchmark::State& state) {
    const int view = static_cast<int>(state.range(0));
    drawFrames(state, view);
    label(state, viewName(view));
}

void BM_FrameWithout(benchmark::State& state) {
    const int view = static_cast<int>(state.range(0));
    const Removed removed = static_cast<Removed>(state.range(1));
    GLuint textures[BODY_COUNT];
    std::memcpy(textures, sceneState.bodyTextures, sizeof textures);
    if (removed != TEXTURING) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT_AND_BACK);
    }
    if (removed == RASTERISATION_AND_LIGHTING) glDisable(GL_LIGHTING);
    if (removed == TEXTURING) std::memset(sceneState.bodyTextures, 0, sizeof textures);

    drawFrames(state, view);

    std::memcpy(sceneState.bodyTextures, textures, sizeof textures);
    glEnable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    label(state,
          std::string(viewName(view)) + (removed == TEXTURING       ? " without texturing"
                                         : removed == RASTERISATION ? " without rasterisation"
                                                                    : " without rasterisation or lighting"));
}

void BM_ClearAndSwap(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glutSwapBuffers();
        glFinish();
    }
    label(state, "clear and swap only");
}

void BM_ClearOnly(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
    label(state, "clear only");
}

BENCHMARK(BM_ClearAndSwap)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Frame)
    ->Arg(VIEW_SYSTEM)
    ->Arg(VIEW_SATURN)
    ->Arg(VIEW_EARTH_MOON)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_ClearOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FrameWithout)
    ->ArgsProduct({{VIEW_SYSTEM, VIEW_SATURN, VIEW_EARTH_MOON},
                   {RASTERISATION, RASTERISATION_AND_LIGHTING, TEXTURING}})
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
