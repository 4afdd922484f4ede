// The animation tick: fixed steps per idle call, no timer, each angle kept within one turn.
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// Degrees per tick.
struct OrbitStep {
    OrbitIndex orbit;
    double degrees;
};
struct SpinStep {
    SpinIndex spin;
    double degrees;
};

constexpr OrbitStep orbitStep[] = {
    {ORBIT_MERCURY, 0.9},  {ORBIT_VENUS, 0.7},    {ORBIT_EARTH, 0.5},  {ORBIT_MOON, 0.75},
    {ORBIT_MARS, 0.625},   {ORBIT_JUPITER, 0.65}, {ORBIT_SATURN, 0.6}, {ORBIT_URANUS, 0.55},
    {ORBIT_NEPTUNE, 0.45}, {ORBIT_PLUTO, 0.4},
};
static_assert(rowsFollow(orbitStep, &OrbitStep::orbit, 0, ORBIT_COUNT));

constexpr SpinStep spinStep[] = {
    {SPIN_SUN, 0.04},     {SPIN_MERCURY, 0.0172}, {SPIN_VENUS, 0.004}, {SPIN_EARTH, 1.0},
    {SPIN_MARS, 1.1},     {SPIN_JUPITER, 2.4},    {SPIN_SATURN, 2.24}, {SPIN_URANUS, 1.38},
    {SPIN_NEPTUNE, 1.48}, {SPIN_PLUTO, 0.15},
};
static_assert(rowsFollow(spinStep, &SpinStep::spin, 0, SPIN_COUNT));

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
        sceneState.orbitAngle[i] = advancedAngle(sceneState.orbitAngle[i], orbitStep[i].degrees);
    for (int i = 0; i < SPIN_COUNT; ++i)
        sceneState.spinAngle[i] = advancedAngle(sceneState.spinAngle[i], spinStep[i].degrees);
    glutPostRedisplay();
}
