// Start-up's texture work in the real window, with the real images: decoding the eleven files alone,
// and loadBodyTextures as initScene runs it (decode, upload, free); upload is the difference.
//
// The First* benchmarks time one call in a process that has loaded nothing yet, as at start-up,
// where every output and texture buffer is fresh memory the kernel must fault in. Run each alone
// (--benchmark_filter) in its own process. The others repeat the call, and once the C library
// recycles the freed buffers they show the cost without those faults.
#include "bench/bench_window.h"
#include "image/image.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <string>

namespace {

void BM_DecodeBodyImages(benchmark::State& state) {
    int decoded = 0;
    for (auto _ : state) {
        decoded = 0;
        for (int slot = 0; slot < BODY_COUNT; ++slot) {
            RgbImage* image = loadImageIfPresent(bodyImagePath(slot));
            decoded += image != nullptr;
            benchmark::DoNotOptimize(image);
            freeRgbImage(image);
        }
    }
    state.SetLabel(std::to_string(decoded) + " images decoded");
}

void BM_LoadBodyTextures(benchmark::State& state) {
    for (auto _ : state) {
        loadBodyTextures();
        glFinish();
        // Each call makes eleven new textures; dropping the old ones keeps memory flat and is not timed.
        state.PauseTiming();
        const int textured = texturedBodyCount();
        glDeleteTextures(BODY_COUNT, sceneState.bodyTextures);
        glFinish();
        state.ResumeTiming();
        state.SetLabel(std::to_string(textured) + " textures with images");
    }
}

BENCHMARK(BM_DecodeBodyImages)
    ->Name("BM_FirstDecodeBodyImages")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LoadBodyTextures)
    ->Name("BM_FirstLoadBodyTextures")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodeBodyImages)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadBodyTextures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    openBenchWindow(&argc, argv, BenchTextures::leftForLater);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
