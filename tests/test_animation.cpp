// The animation tick: fixed float steps per call, a redisplay each time, nothing wrapped.
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

// Degrees per tick, as the model has always used them.
constexpr double orbitSteps[ORBIT_COUNT] = {0.9, 0.7, 0.5, 0.75, 0.625, 0.65, 0.6, 0.55, 0.45, 0.4};
constexpr double spinSteps[SPIN_COUNT] = {0.04, 0.0172, 0.004, 1.0, 1.1, 2.4, 2.24, 1.38, 1.48, 0.15};

// Each tick adds in double and rounds the sum to float.
float afterTicks(double step, int ticks) {
    float angle = 0.0f;
    for (int i = 0; i < ticks; ++i) angle = static_cast<float>(angle + step);
    return angle;
}

int displayCalls = 0;
void countDisplay() { ++displayCalls; }

class AnimationTick : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
};

TEST_F(AnimationTick, OneTickMovesEveryAngleByItsStep) {
    advanceAnimation();
    EXPECT_EQ(sceneState.orbitAngle[ORBIT_MERCURY], 0.9f);
    EXPECT_EQ(sceneState.spinAngle[SPIN_VENUS], 0.004f);
    for (int i = 0; i < ORBIT_COUNT; ++i) EXPECT_EQ(sceneState.orbitAngle[i], static_cast<float>(orbitSteps[i])) << i;
    for (int i = 0; i < SPIN_COUNT; ++i) EXPECT_EQ(sceneState.spinAngle[i], static_cast<float>(spinSteps[i])) << i;
}

TEST_F(AnimationTick, ManyTicksAccumulateInFloatAndAreNeverWrapped) {
    constexpr int ticks = 2000;
    for (int i = 0; i < ticks; ++i) advanceAnimation();
    for (int i = 0; i < ORBIT_COUNT; ++i) EXPECT_EQ(sceneState.orbitAngle[i], afterTicks(orbitSteps[i], ticks)) << i;
    for (int i = 0; i < SPIN_COUNT; ++i) EXPECT_EQ(sceneState.spinAngle[i], afterTicks(spinSteps[i], ticks)) << i;
    EXPECT_GT(sceneState.orbitAngle[ORBIT_MERCURY], 1799.0f); // far past 360
    EXPECT_GT(sceneState.spinAngle[SPIN_JUPITER], 4799.0f);
    // Float rounding drifts: 2000 x 0.9 is not exactly 1800 any more.
    EXPECT_NE(sceneState.orbitAngle[ORBIT_MERCURY], 1800.0f);
}

TEST_F(AnimationTick, RequestsARedisplay) {
    displayCalls = 0;
    glutDisplayFunc(countDisplay);
    pumpGlutEvents(3);
    displayCalls = 0;
    advanceAnimation();
    pumpGlutEvents(1);
    EXPECT_EQ(displayCalls, 1);
    pumpGlutEvents(2);
    EXPECT_EQ(displayCalls, 1); // nothing else asked for one
    glutDisplayFunc(onDisplay);
}

} // namespace
