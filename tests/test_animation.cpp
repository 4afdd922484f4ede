// The animation tick: each body's own fixed step per idle call, a redisplay each time, and angles
// kept within one turn so that every step keeps its size however long the program runs.
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

// Distance between two float values of [256, 512), the largest an angle holds: what storing an
// angle as a float may round away, on any tick.
const double floatSpacingNear360 = std::nextafter(360.0f, 512.0f) - 360.0f;

// How far `to` lies ahead of `from`, in degrees, once round the circle: [0, 360).
double degreesAhead(double from, double to) {
    double ahead = std::fmod(to - from, 360.0);
    return ahead < 0 ? ahead + 360.0 : ahead;
}

class AnimationTick : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }

    // One tick from the present angles: every angle stays in [0, 360) and moves on by its own step.
    static void expectOneTickMovesEachAngleByItsStep() {
        const SceneState before = sceneState;
        advanceAnimation();
        const auto expectStep = [](float from, float to, double step, const char* kind, int i) {
            EXPECT_GE(to, 0.0f) << kind << ' ' << i;
            EXPECT_LT(to, 360.0f) << kind << ' ' << i;
            EXPECT_NEAR(degreesAhead(from, to), step, floatSpacingNear360)
                << kind << ' ' << i << " from " << from;
        };
        for (int i = 0; i < ORBIT_COUNT; ++i)
            expectStep(before.orbitAngle[i], sceneState.orbitAngle[i], orbitSpeeds[i], "orbit", i);
        for (int i = 0; i < SPIN_COUNT; ++i)
            expectStep(before.spinAngle[i], sceneState.spinAngle[i], spinSpeeds[i], "spin", i);
    }

    // Sets every angle to start(step), the body's own step.
    static void setEveryAngle(float (*start)(double step)) {
        for (int i = 0; i < ORBIT_COUNT; ++i)
            sceneState.orbitAngle[i] = start(orbitSpeeds[i]);
        for (int i = 0; i < SPIN_COUNT; ++i)
            sceneState.spinAngle[i] = start(spinSpeeds[i]);
    }
};

TEST_F(AnimationTick, OneTickMovesEveryBodyByItsOwnStepAndAsksForOneRedraw) {
    EXPECT_EQ(redisplaysDuring(advanceAnimation), 1);
    for (int i = 0; i < ORBIT_COUNT; ++i)
        EXPECT_FLOAT_EQ(sceneState.orbitAngle[i], orbitSpeeds[i]) << i;
    for (int i = 0; i < SPIN_COUNT; ++i)
        EXPECT_FLOAT_EQ(sceneState.spinAngle[i], spinSpeeds[i]) << i;
}

TEST_F(AnimationTick, AnglesComeRoundToTheStartOfATurnInFloatSteps) {
    constexpr int ticks = 2000;
    for (int i = 0; i < ticks; ++i)
        advanceAnimation();
    // Each step is added to the stored float, so small errors add up, to about 1 part in 50,000.
    const auto expectNear = [](float angle, double speed, int i) {
        EXPECT_LT(angle, 360.0f) << i;
        const double expected = std::fmod(ticks * speed, 360.0);
        const double apart = degreesAhead(expected, angle);
        EXPECT_LE(std::min(apart, 360.0 - apart), ticks * speed * 1e-4) << i << ": " << angle;
    };
    for (int i = 0; i < ORBIT_COUNT; ++i)
        expectNear(sceneState.orbitAngle[i], orbitSpeeds[i], i);
    for (int i = 0; i < SPIN_COUNT; ++i)
        expectNear(sceneState.spinAngle[i], spinSpeeds[i], i);
}

// Angles where a turn ends: the largest the state holds, a sum of exactly 360, and the largest
// angle whose sum with the step stays below 360 in double, which may still round up to 360.0f.
TEST_F(AnimationTick, EveryStepKeepsItsSizeWhereATurnEnds) {
    float (*const starts[])(double step) = {
        [](double) { return std::nextafter(360.0f, 0.0f); },
        [](double step) { return static_cast<float>(360.0 - step); },
        [](double step) {
            float angle = static_cast<float>(360.0 - step);
            while (angle + step >= 360.0)
                angle = std::nextafter(angle, 0.0f);
            return angle;
        },
    };
    for (size_t start = 0; start < std::size(starts); ++start) {
        SCOPED_TRACE(start);
        setEveryAngle(starts[start]);
        expectOneTickMovesEachAngleByItsStep();
    }
}

// Ten hours at 2,800 frames a second; a float angle left to grow stopped moving long before.
TEST_F(AnimationTick, EveryStepKeepsItsSizeAfterAHundredMillionTicks) {
    for (long tick = 0; tick < 100'000'000; ++tick)
        advanceAnimation();
    expectOneTickMovesEachAngleByItsStep();
}

TEST_F(AnimationTick, AHundredTicksTakeMercuryAQuarterTurnOnScreen) {
    for (int i = 0; i < 100; ++i)
        advanceAnimation();
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, atRest::mercury.x).isBlack());
    EXPECT_TRUE(frame.atModel(atRest::mercury.x, 0).isBlack());
}

// A whole turn more changes nothing on screen. The rotation matrices of a and a + 360 round
// differently in float, so a body's edge may fall on the other side of a pixel centre: at most
// 1 pixel in 10,000 may differ (Mesa: 6 of 640,000 in the whole system, none in the close-ups).
TEST_F(AnimationTick, AWholeTurnMoreDrawsTheSamePicture) {
    for (int view : {VIEW_SYSTEM, VIEW_EARTH_MOON, VIEW_SATURN}) {
        SCOPED_TRACE(view);
        const auto frameAt = [view](double extraTurn) {
            resetSceneForTest();
            sceneState.currentView = view;
            for (int i = 0; i < ORBIT_COUNT; ++i)
                sceneState.orbitAngle[i] = static_cast<float>(37.0 * i + 11.5 + extraTurn);
            for (int i = 0; i < SPIN_COUNT; ++i)
                sceneState.spinAngle[i] = static_cast<float>(29.0 * i + 3.25 + extraTurn);
            return drawFrame();
        };
        const Frame once = frameAt(0), turnedMore = frameAt(360);
        size_t differing = 0, pixels = once.rgb.size() / 3;
        for (size_t p = 0; p < pixels; ++p)
            differing += !std::equal(&once.rgb[p * 3], &once.rgb[p * 3 + 3], &turnedMore.rgb[p * 3]);
        EXPECT_LE(differing, pixels / 10000);
        EXPECT_FALSE(
            std::equal(once.rgb.begin(), once.rgb.end(), frameAt(180).rgb.begin())); // angles are drawn
    }
}

} // namespace
