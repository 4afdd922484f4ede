// The animation tick: each body's own fixed step per idle call, a redisplay each time, and angles
// that keep growing, as the model and the picture show them.
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Degrees per tick: how fast each body has always moved.
constexpr double orbitSpeeds[ORBIT_COUNT] = {0.9, 0.7, 0.5, 0.75, 0.625, 0.65, 0.6, 0.55, 0.45, 0.4};
constexpr double spinSpeeds[SPIN_COUNT] = {0.04, 0.0172, 0.004, 1.0, 1.1, 2.4, 2.24, 1.38, 1.48, 0.15};

class AnimationTick : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
};

TEST_F(AnimationTick, OneTickMovesEveryBodyByItsOwnStepAndAsksForOneRedraw) {
    EXPECT_EQ(redisplaysDuring(advanceAnimation), 1);
    for (int i = 0; i < ORBIT_COUNT; ++i)
        EXPECT_FLOAT_EQ(sceneState.orbitAngle[i], orbitSpeeds[i]) << i;
    for (int i = 0; i < SPIN_COUNT; ++i)
        EXPECT_FLOAT_EQ(sceneState.spinAngle[i], spinSpeeds[i]) << i;
}

TEST_F(AnimationTick, AnglesKeepGrowingPastAFullCircleInFloatSteps) {
    constexpr int ticks = 2000;
    for (int i = 0; i < ticks; ++i)
        advanceAnimation();
    // Each step is added to the stored float, so small errors add up, to about 1 part in 50,000.
    const auto near = [](float angle, double speed) {
        return std::fabs(angle - ticks * speed) <= ticks * speed * 1e-4;
    };
    for (int i = 0; i < ORBIT_COUNT; ++i)
        EXPECT_TRUE(near(sceneState.orbitAngle[i], orbitSpeeds[i])) << i;
    for (int i = 0; i < SPIN_COUNT; ++i)
        EXPECT_TRUE(near(sceneState.spinAngle[i], spinSpeeds[i])) << i;
    EXPECT_NE(sceneState.orbitAngle[ORBIT_MERCURY], 1800.0f);
    EXPECT_GT(sceneState.spinAngle[SPIN_JUPITER], 4799.0f); // never wrapped to 0..360
}

TEST_F(AnimationTick, AHundredTicksTakeMercuryAQuarterTurnOnScreen) {
    for (int i = 0; i < 100; ++i)
        advanceAnimation();
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, atRest::mercury.x).isBlack());
    EXPECT_TRUE(frame.atModel(atRest::mercury.x, 0).isBlack());
}

} // namespace
