// In a browser: what the page's controls and gestures need to know of the program, read from the
// program itself rather than copied into the page: the keys its controls stand for and the zoom step a
// pinch is counted in.
#include "input/input.h"
#include "scene/scene.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, tellPageProgramFacts, (int zoomIn, int zoomOut, int lighting, int animation, double zoomStep), {
    Module.astrolumeProgram = {
        keys: {zoomIn: zoomIn, zoomOut: zoomOut, lighting: lighting, animation: animation},
        zoomStep: zoomStep,
    };
});
// clang-format on

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void astrolumeDescribeProgram() {
    tellPageProgramFacts(keyZoomIn, keyZoomOut, keyLighting, keySpace, sceneState.zoomStep);
}
