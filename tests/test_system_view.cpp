// The whole system as it reaches the screen: placement, orbits, the ring, the view transform, and
// what every frame leaves behind.
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

class SystemView : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
    void TearDown() override { EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)); }
};

double radians(double degrees) {
    return degrees * M_PI / 180.0;
}

// Where a body at rest on the x axis is after its orbit angle has turned by `degrees`.
struct Point {
    double x, y;
};
Point turned(const BodyPlace& body, double degrees) {
    return {body.x * std::cos(radians(degrees)), body.x * std::sin(radians(degrees))};
}

struct ViewCase {
    const char* what;
    void (*arrange)(); // changes the start-up state
    std::vector<Point> lit, dark;
    float sunDepthBelow = 1; // the Sun's centre, or whatever covers it, is nearer than this
};

const BodyPlace& sun = atRest::sun;
const BodyPlace& mercury = atRest::mercury;
const BodyPlace& jupiter = atRest::jupiter;
const Point saturnAt45 = turned(atRest::saturn, 45);

const ViewCase viewCases[] = {
    {"planets move counter-clockwise as their orbit angles grow",
     [] {
         sceneState.orbitAngle[ORBIT_MERCURY] = 90.0f;
         sceneState.orbitAngle[ORBIT_JUPITER] = 30.0f;
         sceneState.orbitAngle[ORBIT_NEPTUNE] = 45.0f; // from the -x side: below the axis
     },
     {turned(mercury, 90), turned(jupiter, 30), turned(atRest::neptune, 45)},
     {{mercury.x, 0}, {jupiter.x, 0}}},
    {"the Moon circles the Earth in the Earth's frame",
     [] {
         sceneState.orbitAngle[ORBIT_EARTH] = 90.0f; // Earth at (0, 9.6)
         sceneState.orbitAngle[ORBIT_MOON] = 90.0f;  // Moon another 90 degrees on: (-1.5, 9.6)
     },
     {{0, atRest::earth.x}, {-1.5, atRest::earth.x}},
     {{0, atRest::moon.x}, {atRest::moon.x, 0}}},
    {"at Saturn's orbit angle 45 the ring's tilt has turned by 90: long axis vertical",
     [] { sceneState.orbitAngle[ORBIT_SATURN] = 45.0f; },
     {{saturnAt45.x, saturnAt45.y + 1.7}, {saturnAt45.x, saturnAt45.y - 1.7}},
     {{saturnAt45.x + 1.7, saturnAt45.y}}},
    {"zoom scales about the Sun",
     [] { sceneState.zoom = 0.5f; },
     {{jupiter.x / 2, 0}, {atRest::saturn.x / 2, 0}, {0, sun.radius / 2 - 0.2}},
     {{jupiter.x, 0}, {0, sun.radius / 2 + 0.2}}},
    {"yaw 180 shows the model from behind: left and right swap",
     [] { sceneState.viewYaw = 180.0f; },
     {{-jupiter.x, 0}},
     {{jupiter.x, 0}}},
    {"pitch 180 turns the model upside down",
     [] {
         sceneState.viewPitch = 180.0f;
         sceneState.orbitAngle[ORBIT_MERCURY] = 90.0f;
     },
     {{0, -mercury.x}},
     {{0, mercury.x}}},
    {"pitch 90 shows the plane edge on, Mercury passing in front of the Sun",
     [] {
         sceneState.viewPitch = 90.0f;
         sceneState.orbitAngle[ORBIT_MERCURY] = 90.0f;
     },
     {},
     {{0, mercury.x}, {0, -mercury.x}},
     (1.0f - 4.0f / 30.0f) / 2.0f},
};

TEST_F(SystemView, StateChangesShowOnScreen) {
    for (const ViewCase& c : viewCases) {
        SCOPED_TRACE(c.what);
        resetSceneForTest();
        c.arrange();
        const Frame frame = drawFrame();
        for (const Point& p : c.lit)
            EXPECT_FALSE(frame.atModel(p.x, p.y).isBlack()) << p.x << "," << p.y;
        for (const Point& p : c.dark)
            EXPECT_TRUE(frame.atModel(p.x, p.y).isBlack()) << p.x << "," << p.y;
        EXPECT_LT(frame.depthAtModel(0, 0), c.sunDepthBelow);
    }
}

// Points on the x axis between the bodies (and the ring).
constexpr double gapsOnAxis[] = {-29.0, -27.0, -23.0, -17.0, -14.0, -9.5, -4.5,
                                 3.5,   7.0,   12.5,  18.5,  25.5,  29.8};

TEST_F(SystemView, AtRestEveryBodyIsOnTheXAxisAtItsSizeWithDarkGapsBetween) {
    const Frame frame = drawFrame();
    for (const BodyPlace& body : atRest::bodies)
        EXPECT_FALSE(frame.atModel(body.x, 0).isBlack()) << body.name;
    for (double x : gapsOnAxis)
        EXPECT_TRUE(frame.atModel(x, 0).isBlack()) << x;
    for (double y : {-20.0, -5.0, 5.0, 20.0})
        EXPECT_TRUE(frame.atModel(0, y).isBlack()) << y;
    for (const BodyPlace& body : {atRest::sun, atRest::jupiter, atRest::mercury, atRest::pluto}) {
        EXPECT_FALSE(frame.atModel(body.x, body.radius * 0.85).isBlack()) << body.name;
        EXPECT_TRUE(frame.atModel(body.x, body.radius * 1.15).isBlack()) << body.name;
    }
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
        const Point s = turned(atRest::saturn, c.orbit);
        const Frame frame = drawFrame();
        EXPECT_FALSE(frame.atModel(s.x, s.y).isBlack());
        // Wide along x, squeezed to cos 45 along y: an ellipse with its long axis horizontal.
        EXPECT_FALSE(frame.atModel(s.x + 1.7, s.y).isBlack());
        EXPECT_FALSE(frame.atModel(s.x - 1.7, s.y).isBlack());
        EXPECT_TRUE(frame.atModel(s.x, s.y + 1.7).isBlack());
        EXPECT_TRUE(frame.atModel(s.x - 2.2, s.y).isBlack()); // (+2.2 at 180 degrees is Uranus)
        // 1.2 above or below Saturn's centre the ring is at z = +-1.2 and the faceted sphere's
        // surface at about z = 0.4: depth 0.480 where the ring is in front, about 0.493 where not.
        const float ringDepthAbove = frame.depthAtModel(s.x, s.y + 1.2);
        const float ringDepthBelow = frame.depthAtModel(s.x, s.y - 1.2);
        EXPECT_NEAR(c.upperHalfInFront ? ringDepthAbove : ringDepthBelow, (1.0f - 1.2f / 30.0f) / 2.0f,
                    0.001);
        EXPECT_GT(c.upperHalfInFront ? ringDepthBelow : ringDepthAbove, 0.488f);
    }
}

TEST_F(SystemView, UnknownViewDrawsABlackFrame) {
    sceneState.currentView = 42;
    const Frame frame = drawFrame();
    for (size_t i = 0; i < frame.rgb.size(); ++i)
        ASSERT_EQ(frame.rgb[i], 0) << i;
}

TEST_F(SystemView, LeavesTheGreyColourCurrent) {
    drawFrame();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0.75f);
    EXPECT_EQ(colour[1], 0.75f);
    EXPECT_EQ(colour[2], 0.75f);
}

TEST_F(SystemView, FramesOfEveryViewLeaveTheStackAsFound) {
    const int depth = modelviewStackDepth();
    for (int i = 0; i < 330; ++i) {
        sceneState.currentView = i % (VIEW_SYSTEM + 1);
        advanceAnimation();
        onDisplay();
        ASSERT_EQ(modelviewStackDepth(), depth) << "view " << sceneState.currentView;
    }
    // Without drag or zoom the view transform is the identity, which every view leaves current.
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(matrix[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
}

} // namespace
