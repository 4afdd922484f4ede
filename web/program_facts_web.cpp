// In a browser: what the page's controls and gestures need to know of the program, read from the
// program itself rather than copied into the page: the keys its controls stand for, the zoom step a
// pinch is counted in, and what the model shows now (for the controls' states and the model's name).
#include "input/input.h"
#include "scene/scene.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, tellPageProgramFacts, (int zoomIn, int zoomOut, int lighting, int animation, double zoomStep,
                                   int wholeSystemView), {
    Module.astrolumeProgram = {
        keys: {zoomIn: zoomIn, zoomOut: zoomOut, lighting: lighting, animation: animation},
        zoomStep: zoomStep,
        wholeSystemView: wholeSystemView,
    };
});
// clang-format on

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void astrolumeDescribeProgram() {
    tellPageProgramFacts(keyZoomIn, keyZoomOut, keyLighting, keySpace, sceneState.zoomStep, VIEW_SYSTEM);
}

// The lighting (bit 0) and the view (a ViewMode, from bit 8), read by the page after each frame.
extern "C" EMSCRIPTEN_KEEPALIVE int astrolumeProgramState() {
    return (sceneState.lightingOn ? 1 : 0) | (sceneState.currentView << 8);
}
