// A long run in the real window: FRAMES frames (default 100,000) of the animation with drags, zoom
// keys and menu choices between them, sent through the program's own GLUT callbacks as a day in a
// classroom would send them. Prints the memory as it goes, checks for OpenGL errors after every
// frame, and ends with status 1 if there was one or if the heap in use grew by more than 1 MiB (10
// bytes a frame) after the first thousand frames, in which every view is drawn and the renderer's
// caches fill. The resident figure is printed too, but the renderer's passing peaks of a few MiB
// leave pages with the allocator, so it steps up now and then without anything being kept.
//   long_run [FRAMES]
#include "bench/bench_window.h"
#include "input/input.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr long warmUpFrames = 1000;
constexpr long allowedGrowthKiB = 1024;

long residentKiB() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes handed out by malloc and not yet freed, by the program and every library in the process:
// unlike the resident figure, untouched by what the allocator keeps in hand after a free.
long heapInUseKiB() {
    const struct mallinfo2 heap = mallinfo2();
    return static_cast<long>((heap.uordblks + heap.hblkhd) / 1024); // small blocks and mapped large ones
}

// What happens between frames: a drag of twenty moves every 500 frames, a zoom key every 50 (ten
// in, then ten out), a menu choice every 5,000, and every 80 while warming up (each body's
// close-up and the whole system in turn).
void sendInput(long frame) {
    if (frame % 500 == 0) {
        onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
        for (int step = 1; step <= 20; ++step)
            onMotion(300 + step * 7, 300 - step * 3);
        onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 440, 240);
    }
    if (frame % 50 == 0) onKeyboard(frame / 50 % 20 < 10 ? 'z' : 'x', 0, 0);
    const long menuEvery = frame <= warmUpFrames ? 80 : 5000;
    if (frame % menuEvery == 0) onMenu(static_cast<int>(frame / menuEvery % MENU_WHOLE_SYSTEM) + 1);
}

} // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::atol(argv[1]) : 100000;
    if (frames <= warmUpFrames) {
        std::fprintf(stderr, "long_run: FRAMES must be more than %ld\n", warmUpFrames);
        return 2;
    }
    openBenchWindow(&argc, argv, BenchTextures::loadedAtOpen);
    const long atOpen = residentKiB();
    long afterWarmUp = 0, heapAfterWarmUp = 0, errors = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long frame = 1; frame <= frames; ++frame) {
        sendInput(frame);
        advanceAnimation();
        onDisplay();
        glFinish();
        for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
            if (errors++ < 10) std::printf("frame %ld: OpenGL error 0x%04x\n", frame, error);
        }
        if (frame % 100 == 0) pumpBenchWindow(1);
        if (frame == warmUpFrames) {
            afterWarmUp = residentKiB();
            heapAfterWarmUp = heapInUseKiB();
        }
        if (frame % (frames / 10) == 0)
            std::printf("frame %7ld: resident %ld KiB, heap in use %ld KiB\n", frame, residentKiB(),
                        heapInUseKiB());
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long atTheEnd = residentKiB();
    const long heapAtTheEnd = heapInUseKiB();
    std::printf("%ld frames in %.0f s (%.0f a second), %ld OpenGL errors; resident memory %ld KiB with the "
                "window open, %ld KiB after %ld frames, %ld KiB at the end (%+ld KiB); heap in use %ld KiB "
                "after %ld frames, %ld KiB at the end (%+ld KiB)\n",
                frames, seconds, frames / seconds, errors, atOpen, afterWarmUp, warmUpFrames, atTheEnd,
                atTheEnd - afterWarmUp, heapAfterWarmUp, warmUpFrames, heapAtTheEnd,
                heapAtTheEnd - heapAfterWarmUp);
    return errors == 0 && heapAtTheEnd - heapAfterWarmUp <= allowedGrowthKiB ? 0 : 1;
}
