// The whole system as it reaches the screen: placement, orbits, the ring, the view transform.
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct BodyOnAxis {
    const char* name;
    double x;
};

// Centres at every angle 0: the planets alternate sides of the Sun.
constexpr BodyOnAxis bodiesAtRest[] = {
    {"Sun", 0},       {"Mercury", 4.5}, {"Venus", -6.4},   {"Earth", 9.6},    {"Moon", 11.1}, {"Mars", -12.3},
    {"Jupiter", 15.2}, {"Saturn", -19.6}, {"Uranus", 22.2}, {"Neptune", -25.4}, {"Pluto", 28.6},
};

// Points on the x axis between the bodies (and the ring), and well off the axis.
constexpr double gapsOnAxis[] = {-29.0, -27.0, -23.0, -17.0, -14.0, -9.5, -4.5, 3.5, 7.0, 12.5, 18.5, 25.5, 29.8};

class SystemView : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
};

double degrees(double d) { return d * M_PI / 180.0; }

TEST_F(SystemView, AtRestEveryBodyIsOnTheXAxisWithDarkGapsBetween) {
    const Frame frame = drawFrame();
    for (const BodyOnAxis& body : bodiesAtRest) EXPECT_FALSE(frame.atModel(body.x, 0).isBlack()) << body.name;
    for (double x : gapsOnAxis) EXPECT_TRUE(frame.atModel(x, 0).isBlack()) << x;
    for (double y : {-20.0, -5.0, 5.0, 20.0}) EXPECT_TRUE(frame.atModel(0, y).isBlack()) << y;
}

TEST_F(SystemView, BodiesHaveTheirSizes) {
    const Frame frame = drawFrame();
    const struct {
        double x, radius;
    } bodies[] = {{0, 3.0}, {15.2, 1.5}, {4.5, 0.62}, {28.6, 0.9}};
    for (const auto& body : bodies) {
        SCOPED_TRACE(body.x);
        EXPECT_FALSE(frame.atModel(body.x, body.radius * 0.85).isBlack());
        EXPECT_TRUE(frame.atModel(body.x, body.radius * 1.15).isBlack());
    }
}

TEST_F(SystemView, PlanetsMoveCounterClockwiseAsTheirOrbitAnglesGrow) {
    sceneState.orbitAngle[ORBIT_MERCURY] = 90.0f;
    sceneState.orbitAngle[ORBIT_JUPITER] = 30.0f;
    sceneState.orbitAngle[ORBIT_NEPTUNE] = 45.0f;
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, 4.5).isBlack());
    EXPECT_TRUE(frame.atModel(4.5, 0).isBlack());
    EXPECT_FALSE(frame.atModel(15.2 * std::cos(degrees(30)), 15.2 * std::sin(degrees(30))).isBlack());
    EXPECT_TRUE(frame.atModel(15.2, 0).isBlack());
    // Neptune starts on the -x side: 45 degrees takes it below the axis.
    EXPECT_FALSE(frame.atModel(-25.4 * std::cos(degrees(45)), -25.4 * std::sin(degrees(45))).isBlack());
}

TEST_F(SystemView, MoonCirclesTheEarthInTheEarthsFrame) {
    sceneState.orbitAngle[ORBIT_EARTH] = 90.0f; // Earth at (0, 9.6)
    sceneState.orbitAngle[ORBIT_MOON] = 90.0f;  // Moon another 90 degrees on: (-1.5, 9.6)
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, 9.6).isBlack());
    EXPECT_FALSE(frame.atModel(-1.5, 9.6).isBlack());
    EXPECT_TRUE(frame.atModel(0, 11.1).isBlack());
    EXPECT_TRUE(frame.atModel(11.1, 0).isBlack());
}

// The ring's tilt turns with twice Saturn's orbit angle: the half of the ring in front of the
// sphere swaps at 90 degrees and is back at 180. Its depth over the sphere's top tells which.
struct RingCase {
    float orbit;
    bool upperHalfInFront;
};

TEST_F(SystemView, SaturnsRingTiltTurnsWithTwiceTheOrbitAngle) {
    for (const RingCase& c : {RingCase{0, true}, RingCase{90, false}, RingCase{180, true}}) {
        SCOPED_TRACE(c.orbit);
        sceneState.orbitAngle[ORBIT_SATURN] = c.orbit;
        const double a = degrees(c.orbit);
        const double sx = -19.6 * std::cos(a), sy = -19.6 * std::sin(a);
        const Frame frame = drawFrame();
        EXPECT_FALSE(frame.atModel(sx, sy).isBlack());
        // Wide along x, squeezed to cos 45 along y: an ellipse with its long axis horizontal.
        EXPECT_FALSE(frame.atModel(sx + 1.7, sy).isBlack());
        EXPECT_FALSE(frame.atModel(sx - 1.7, sy).isBlack());
        EXPECT_TRUE(frame.atModel(sx, sy + 1.7).isBlack());
        EXPECT_TRUE(frame.atModel(sx - 2.2, sy).isBlack()); // (+2.2 at 180 degrees is Uranus)
        // 1.2 above or below Saturn's centre the ring is at z = +-1.2 and the faceted sphere's
        // surface at about z = 0.4: depth 0.480 where the ring is in front, about 0.493 where not.
        const float ringDepthAbove = frame.depthAtModel(sx, sy + 1.2);
        const float ringDepthBelow = frame.depthAtModel(sx, sy - 1.2);
        EXPECT_NEAR(c.upperHalfInFront ? ringDepthAbove : ringDepthBelow, (1.0f - 1.2f / 30.0f) / 2.0f, 0.001);
        EXPECT_GT(c.upperHalfInFront ? ringDepthBelow : ringDepthAbove, 0.488f);
    }
}

TEST_F(SystemView, RingStandsUprightAtFortyFiveDegrees) {
    sceneState.orbitAngle[ORBIT_SATURN] = 45.0f; // its tilt has turned by 90: long axis vertical
    const double sx = -19.6 * std::cos(degrees(45)), sy = -19.6 * std::sin(degrees(45));
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(sx, sy + 1.7).isBlack());
    EXPECT_FALSE(frame.atModel(sx, sy - 1.7).isBlack());
    EXPECT_TRUE(frame.atModel(sx + 1.7, sy).isBlack());
}

TEST_F(SystemView, ZoomScalesAboutTheSun) {
    sceneState.zoom = 0.5f;
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(7.6, 0).isBlack());   // Jupiter
    EXPECT_FALSE(frame.atModel(-9.8, 0).isBlack());  // Saturn
    EXPECT_TRUE(frame.atModel(15.2, 0).isBlack());
    EXPECT_TRUE(frame.atModel(0, 1.7).isBlack());    // the Sun is half as big
    EXPECT_FALSE(frame.atModel(0, 1.3).isBlack());
}

TEST_F(SystemView, DragRotationTurnsTheModel) {
    sceneState.viewYaw = 180.0f; // seen from behind: left and right swap
    Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(-15.2, 0).isBlack());
    EXPECT_TRUE(frame.atModel(15.2, 0).isBlack());

    sceneState.viewYaw = 0.0f;
    sceneState.viewPitch = 180.0f; // upside down
    sceneState.orbitAngle[ORBIT_MERCURY] = 90.0f;
    frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, -4.5).isBlack());
    EXPECT_TRUE(frame.atModel(0, 4.5).isBlack());

    sceneState.viewPitch = 90.0f; // edge on: Mercury passes in front of the Sun
    frame = drawFrame();
    EXPECT_TRUE(frame.atModel(0, 4.5).isBlack());
    EXPECT_TRUE(frame.atModel(0, -4.5).isBlack());
    EXPECT_LT(frame.depthAtModel(0, 0), (1.0f - 4.0f / 30.0f) / 2.0f);
}

TEST_F(SystemView, UnknownViewDrawsABlackFrame) {
    sceneState.currentView = 42;
    const Frame frame = drawFrame();
    for (size_t i = 0; i < frame.rgb.size(); ++i) ASSERT_EQ(frame.rgb[i], 0) << i;
}

TEST_F(SystemView, ManyFramesLeaveTheStackAndErrorsClean) {
    const int depth = modelviewStackDepth();
    for (int i = 0; i < 200; ++i) {
        advanceAnimation();
        onDisplay();
    }
    EXPECT_EQ(modelviewStackDepth(), depth);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(matrix[i], (i % 5 == 0) ? 1.0f : 0.0f, 1e-6) << i;
}

TEST_F(SystemView, LeavesTheGreyColourCurrent) {
    drawFrame();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0.75f);
    EXPECT_EQ(colour[1], 0.75f);
    EXPECT_EQ(colour[2], 0.75f);
}

} // namespace
