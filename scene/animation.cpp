// The animation tick: fixed steps per idle call, no timer, angles never wrapped.
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// Degrees per tick, by OrbitIndex and SpinIndex.
constexpr double orbitStep[ORBIT_COUNT] = {0.9, 0.7, 0.5, 0.75, 0.625, 0.65, 0.6, 0.55, 0.45, 0.4};
constexpr double spinStep[SPIN_COUNT] = {0.04, 0.0172, 0.004, 1.0, 1.1, 2.4, 2.24, 1.38, 1.48, 0.15};

} // namespace

void advanceAnimation() {
    // The sum is formed in double and stored back as float, tick after tick.
    for (int i = 0; i < ORBIT_COUNT; ++i)
        sceneState.orbitAngle[i] = static_cast<float>(sceneState.orbitAngle[i] + orbitStep[i]);
    for (int i = 0; i < SPIN_COUNT; ++i)
        sceneState.spinAngle[i] = static_cast<float>(sceneState.spinAngle[i] + spinStep[i]);
    glutPostRedisplay();
}
