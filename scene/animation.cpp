// The animation tick: fixed steps per idle call, no timer, each angle kept within one turn.
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// Degrees per tick, by OrbitIndex and SpinIndex.
constexpr double orbitStep[ORBIT_COUNT] = {0.9, 0.7, 0.5, 0.75, 0.625, 0.65, 0.6, 0.55, 0.45, 0.4};
constexpr double spinStep[SPIN_COUNT] = {0.04, 0.0172, 0.004, 1.0, 1.1, 2.4, 2.24, 1.38, 1.48, 0.15};

// The sum is formed in double and brought back below 360 before it is stored as a float: a float
// grown to millions of degrees is too coarse to hold the step, so a body would slow down and stop.
// A turn of 360 degrees changes nothing on screen. A sum just under 360 may round up to 360.0f.
float advancedAngle(float angle, double step) {
    double sum = angle + step;
    if (sum >= 360.0) sum -= 360.0;
    float stored = static_cast<float>(sum);
    return stored >= 360.0f ? 0.0f : stored;
}

} // namespace

void advanceAnimation() {
    for (int i = 0; i < ORBIT_COUNT; ++i)
        sceneState.orbitAngle[i] = advancedAngle(sceneState.orbitAngle[i], orbitStep[i]);
    for (int i = 0; i < SPIN_COUNT; ++i)
        sceneState.spinAngle[i] = advancedAngle(sceneState.spinAngle[i], spinStep[i]);
    glutPostRedisplay();
}
