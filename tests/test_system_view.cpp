// The whole system as it reaches the screen: placement, orbits, the ring, the view transform, and
// what every frame leaves behind.
#include "input/input.h"
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>
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

// Column-major 4 x 4 matrices in double, to rebuild each body's modelview matrix from its design.
struct Matrix {
    double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
Matrix operator*(const Matrix& a, const Matrix& b) {
    Matrix c;
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += a.m[k * 4 + row] * b.m[column * 4 + k];
            c.m[column * 4 + row] = sum;
        }
    return c;
}
// A turn by `degrees` about (x, y, z), counter-clockwise looking from its tip (glRotate's rule).
Matrix rotation(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    x /= length, y /= length, z /= length;
    const double c = std::cos(radians(degrees)), s = std::sin(radians(degrees)), t = 1 - c;
    Matrix r;
    const double rows[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                               {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                               {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            r.m[column * 4 + row] = rows[row][column];
    return r;
}
Matrix alongX(double distance) {
    Matrix t;
    t.m[12] = distance;
    return t;
}
Matrix scaled(double factor) {
    Matrix s;
    s.m[0] = s.m[5] = s.m[10] = factor;
    return s;
}

// What each body's sphere is drawn under: the view transform, its orbit about z, its distance along x
// and its spin about (1, 1, 1); the Moon goes round inside the Earth's orbital frame without a spin,
// and the ring turns by Saturn's orbit angle a second time, tilted 45 degrees about x.
Matrix designedPlacement(const BodyPlace& body, const Matrix& view) {
    const auto orbit = [](int index) { return rotation(sceneState.orbitAngle[index], 0, 0, 1); };
    const auto spin = [&] { return rotation(sceneState.spinAngle[body.spin], 1, 1, 1); };
    if (body.orbit < 0) return view * spin();
    if (body.spin < 0)
        return view * orbit(ORBIT_EARTH) * alongX(atRest::earth.x) * orbit(body.orbit) *
               alongX(body.x - atRest::earth.x);
    return view * orbit(body.orbit) * alongX(body.x) * spin();
}
Matrix designedRing(const Matrix& view) {
    const Matrix saturnOrbit = rotation(sceneState.orbitAngle[ORBIT_SATURN], 0, 0, 1);
    return view * saturnOrbit * alongX(atRest::saturn.x) * saturnOrbit * rotation(45, 1, 0, 0);
}

struct PlacementCase {
    const char* what;
    void (*arrange)();
    float pitch, yaw, zoom;
};

const PlacementCase placementCases[] = {
    {"at rest", [] {}, 0, 0, 1},
    {"every angle moved, Saturn's orbit at 90",
     [] {
         for (int i = 0; i < ORBIT_COUNT; ++i)
             sceneState.orbitAngle[i] = 20.0f + 37.0f * i;
         for (int i = 0; i < SPIN_COUNT; ++i)
             sceneState.spinAngle[i] = 11.0f + 53.0f * i;
         sceneState.orbitAngle[ORBIT_SATURN] = 90.0f;
     },
     0, 0, 1},
    {"Saturn's orbit at 180 under a drag and a zoom",
     [] {
         for (int i = 0; i < ORBIT_COUNT; ++i)
             sceneState.orbitAngle[i] = 400.0f - 29.0f * i;
         for (int i = 0; i < SPIN_COUNT; ++i)
             sceneState.spinAngle[i] = 700.0f + 41.0f * i;
         sceneState.orbitAngle[ORBIT_SATURN] = 180.0f;
     },
     30, -50, 1.3f},
};

// Each sphere and the ring as OpenGL receives them, against the model's design: every body's centre,
// radius, spin axis and texture, and the Moon's and the ring's placement, to float precision.
TEST_F(SystemView, EveryBodyIsPlacedTurnedAndSizedAsDesigned) {
    for (const PlacementCase& c : placementCases) {
        SCOPED_TRACE(c.what);
        resetSceneForTest();
        c.arrange();
        sceneState.viewPitch = c.pitch;
        sceneState.viewYaw = c.yaw;
        sceneState.zoom = c.zoom;
        const Matrix view = rotation(c.pitch, 1, 0, 0) * rotation(c.yaw, 0, 1, 0) * scaled(c.zoom);
        const std::vector<ShapeDrawn> shapes = shapesOfFrame();
        ASSERT_EQ(shapes.size(), size_t(BODY_COUNT + 1)); // eleven spheres and the ring
        size_t next = 0;
        const auto expectShape = [&](const char* name, bool disk, const Matrix& placement, float radius,
                                     int slot) {
            SCOPED_TRACE(name);
            const ShapeDrawn& shape = shapes[next++];
            ASSERT_EQ(shape.disk, disk);
            EXPECT_EQ(shape.radius, radius);
            EXPECT_EQ(shape.segments, disk ? 40 : 30);
            EXPECT_EQ(shape.texture, sceneState.bodyTextures[slot]);
            for (int i = 0; i < 16; ++i)
                EXPECT_NEAR(shape.matrix[i], placement.m[i], 2e-5 * 30 * c.zoom) << "element " << i;
            for (float coordinate : shape.centre)
                EXPECT_EQ(coordinate, 0.0f);
        };
        // Drawn in the order of the texture slots, the ring right after Saturn.
        for (int slot = 0; slot < BODY_COUNT; ++slot) {
            const BodyPlace& body = atRest::bodies[slot];
            expectShape(body.name, false, designedPlacement(body, view), static_cast<float>(body.radius),
                        slot);
            if (slot == BODY_SATURN) {
                expectShape("the ring", true, designedRing(view), static_cast<float>(body.extent), slot);
                EXPECT_EQ(shapes[next - 1].innerRadius, body.radius);
            }
        }
    }
}

// Seen from 45 degrees above, Saturn's ring is edge on, so every sphere's outline shows: each body
// covers the pixels within its radius of its centre, less the sphere's facets, and none beyond.
TEST_F(SystemView, AtRestEveryBodyCoversItsOwnPixelsWithDarkGapsBetween) {
    sceneState.viewPitch = 45.0f;
    const Frame frame = drawFrame();
    for (double x : gapsOnAxis)
        EXPECT_TRUE(frame.atModel(x, 0).isBlack()) << x;
    for (double y : {-20.0, -5.0, 5.0, 20.0})
        EXPECT_TRUE(frame.atModel(0, y).isBlack()) << y;
    const double pixel = 1 / pixelsPerUnit;
    for (const BodyPlace& body : atRest::bodies) {
        SCOPED_TRACE(body.name);
        const double inside = 0.985 * body.radius - pixel;
        EXPECT_FALSE(frame.atModel(body.x, 0).isBlack());
        for (double side : {-1.0, 1.0}) {
            EXPECT_FALSE(frame.atModel(body.x + side * inside, 0).isBlack()) << side;
            EXPECT_FALSE(frame.atModel(body.x, side * inside).isBlack()) << side;
            EXPECT_TRUE(frame.atModel(body.x + side * (body.extent + pixel), 0).isBlack()) << side;
            EXPECT_TRUE(frame.atModel(body.x, side * (body.radius + pixel)).isBlack()) << side;
        }
    }
}

// A colour of its own for every body, by BodyIndex; three quarters of each channel is a whole number.
const Rgb textureColours[BODY_COUNT] = {
    {252, 200, 40},  {160, 140, 120}, {220, 180, 120}, {40, 92, 220}, {180, 180, 180}, {200, 80, 40},
    {212, 160, 108}, {224, 200, 140}, {120, 200, 224}, {48, 80, 232}, {172, 148, 136},
};

struct LitCase {
    const char* what;
    int view;
    double x, y; // a point of the body in the model's units
    int slot;    // whose texture shows there
};

// Lighting off shows each texture times the system view's grey, which close-ups keep.
TEST_F(SystemView, WithoutLightingEachBodyShowsItsTextureTimesTheGrey) {
    GLuint solid[BODY_COUNT];
    GLuint saved[BODY_COUNT];
    glGenTextures(BODY_COUNT, solid);
    for (int slot = 0; slot < BODY_COUNT; ++slot) {
        const Rgb& c = textureColours[slot];
        const unsigned char texel[3] = {static_cast<unsigned char>(c.red),
                                        static_cast<unsigned char>(c.green),
                                        static_cast<unsigned char>(c.blue)};
        glBindTexture(GL_TEXTURE_2D, solid[slot]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        saved[slot] = sceneState.bodyTextures[slot];
        sceneState.bodyTextures[slot] = solid[slot];
    }
    std::vector<LitCase> cases;
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        cases.push_back({atRest::bodies[slot].name, VIEW_SYSTEM, atRest::bodies[slot].x, 0, slot});
    const LitCase closeUps[] = {
        {"Sun alone", VIEW_SUN, 0, 0, BODY_SUN},
        {"Mercury alone", VIEW_MERCURY, 0, 0, BODY_MERCURY},
        {"Venus alone", VIEW_VENUS, 0, 0, BODY_VENUS},
        {"the Earth", VIEW_EARTH_MOON, 0, 0, BODY_EARTH},
        {"the Moon beside it", VIEW_EARTH_MOON, -8.5, 0, BODY_MOON},
        {"Mars alone", VIEW_MARS, 0, 0, BODY_MARS},
        {"Jupiter alone", VIEW_JUPITER, 0, 0, BODY_JUPITER},
        {"Saturn", VIEW_SATURN, 0, 0, BODY_SATURN},
        {"Saturn's ring", VIEW_SATURN, 8.2, 0, BODY_SATURN},
        {"Uranus alone", VIEW_URANUS, 0, 0, BODY_URANUS},
        {"Neptune alone", VIEW_NEPTUNE, 0, 0, BODY_NEPTUNE},
        {"Pluto alone", VIEW_PLUTO, 0, 0, BODY_PLUTO},
    };
    cases.insert(cases.end(), std::begin(closeUps), std::end(closeUps));

    onKeyboard('l', 0, 0);
    for (const LitCase& c : cases) {
        SCOPED_TRACE(c.what);
        sceneState.currentView = c.view;
        const Rgb seen = drawFrame().atModel(c.x, c.y);
        const Rgb& texture = textureColours[c.slot];
        EXPECT_NEAR(seen.red, texture.red * 3 / 4, 1);
        EXPECT_NEAR(seen.green, texture.green * 3 / 4, 1);
        EXPECT_NEAR(seen.blue, texture.blue * 3 / 4, 1);
    }
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        sceneState.bodyTextures[slot] = saved[slot];
    glDeleteTextures(BODY_COUNT, solid);
}

// Pluto's far edge is 29.5 from the Sun, inside the cube until the zoom passes 30 / 29.5: two presses
// of z. Turned towards the viewer (orbit 90, pitch 90), its near cap is then cut off by the cube's
// front face, and the centre pixel shows the inside of its far half.
TEST_F(SystemView, PlutoIsClippedOnceTheZoomPassesThirtyOver29Point5) {
    for (const auto& [presses, clipped] : {std::pair{0, false}, {1, false}, {2, true}, {3, true}}) {
        SCOPED_TRACE(presses);
        resetSceneForTest();
        sceneState.orbitAngle[ORBIT_PLUTO] = 90.0f;
        sceneState.viewPitch = 90.0f;
        for (int i = 0; i < presses; ++i)
            onKeyboard('z', 0, 0);
        const double zoom = sceneState.zoom;
        const float nearest = drawFrame().depthAtModel(0, 0);
        const double plutoEdge = atRest::pluto.x + atRest::pluto.radius;
        if (clipped)
            EXPECT_GT(nearest, (1 - zoom * atRest::pluto.x / cubeHalfSize) / 2);
        else
            EXPECT_NEAR(nearest, (1 - zoom * plutoEdge / cubeHalfSize) / 2, 0.001);
    }
}

// Held down, `z` stops at its bound, 462 presses in, and as many of `x` bring the picture back as it
// was, and the other way round; no frame on the way (every tenth is drawn, and the one at the bound)
// has an OpenGL error, which an infinite or vanishing scale would give.
TEST_F(SystemView, ZoomStopsAtItsBoundsAndEveryPressComesBack) {
    constexpr int pressesEachWay = 462;
    const Frame start = drawFrame();
    for (const auto& [key, back] : {std::pair{'z', 'x'}, std::pair{'x', 'z'}}) {
        SCOPED_TRACE(key);
        int taken = 0;
        for (int i = 0; i < 600; ++i) {
            const float before = sceneState.zoom;
            onKeyboard(static_cast<unsigned char>(key), 0, 0);
            if (sceneState.zoom != before) ++taken;
            if (i % 10 == 0 || i + 1 == pressesEachWay) onDisplay();
            ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "press " << i;
        }
        EXPECT_EQ(taken, pressesEachWay);
        EXPECT_TRUE(std::isfinite(sceneState.zoom));
        for (int i = 0; i < taken; ++i) {
            onKeyboard(static_cast<unsigned char>(back), 0, 0);
            if (i % 10 == 0) onDisplay();
            ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "press " << i << " back";
        }
        EXPECT_NEAR(sceneState.zoom, 1.0, 1e-4);
        const Frame after = drawFrame();
        for (const BodyPlace& body : atRest::bodies) {
            const Rgb was = start.atModel(body.x, 0), is = after.atModel(body.x, 0);
            EXPECT_TRUE(was == is) << body.name;
        }
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
