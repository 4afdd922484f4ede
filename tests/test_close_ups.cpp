// Close-ups as they reach the screen: one large body with its axis line, the Earth with the Moon,
// Saturn with its ring; none of them follows the drag or the zoom.
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

class CloseUps : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
    void TearDown() override {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        if (gradient) glDeleteTextures(1, &gradient);
    }

    // The axis line is one pixel wide on x = 0, which falls between two pixel columns.
    static bool axisLineAt(const Frame& frame, double y) {
        return !frame.at(modelToWindowX(0), modelToWindowYFromTop(y)).isBlack() ||
               !frame.at(modelToWindowX(0) - 1, modelToWindowYFromTop(y)).isBlack();
    }

    // A texture whose red channel runs from 0 to 255 across the image while green stays 255:
    // red / green at a pixel tells the texture coordinate s seen there, whatever the lighting.
    void useGradientTexture(int slot) {
        constexpr int width = 64;
        std::vector<unsigned char> rgb(width * 3);
        for (int i = 0; i < width; ++i) {
            rgb[i * 3] = static_cast<unsigned char>(std::lround(255.0 * i / (width - 1)));
            rgb[i * 3 + 1] = 255;
            rgb[i * 3 + 2] = 0;
        }
        glGenTextures(1, &gradient);
        glBindTexture(GL_TEXTURE_2D, gradient);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, 3, width, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        savedSlot = slot;
        savedTexture = sceneState.bodyTextures[slot];
        sceneState.bodyTextures[slot] = gradient;
    }
    void restoreTexture() { sceneState.bodyTextures[savedSlot] = savedTexture; }

    static double sSeenAt(const Frame& frame, double x, double y) {
        const Rgb pixel = frame.atModel(x, y);
        return pixel.green > 0 ? double(pixel.red) / pixel.green : -1;
    }

    GLuint gradient = 0;
    int savedSlot = 0;
    GLuint savedTexture = 0;
};

enum CloseUpKind { ALONE, WITH_MOON, WITH_RING };

struct CloseUpView {
    int view;
    int slot; // texture of the large body
    CloseUpKind kind;
};

constexpr CloseUpView closeUpViews[] = {
    {VIEW_SUN, BODY_SUN, ALONE},           {VIEW_MERCURY, BODY_MERCURY, ALONE},
    {VIEW_VENUS, BODY_VENUS, ALONE},       {VIEW_EARTH_MOON, BODY_EARTH, WITH_MOON},
    {VIEW_MARS, BODY_MARS, ALONE},         {VIEW_JUPITER, BODY_JUPITER, ALONE},
    {VIEW_SATURN, BODY_SATURN, WITH_RING}, {VIEW_URANUS, BODY_URANUS, ALONE},
    {VIEW_NEPTUNE, BODY_NEPTUNE, ALONE},   {VIEW_PLUTO, BODY_PLUTO, ALONE},
};

// Depth of whatever is nearest on the pixel column of the axis line (either side of x = 0).
float nearestOnAxis(const Frame& frame, double y) {
    return std::min(frame.depthAtModel(-0.04, y), frame.depthAtModel(0.04, y));
}

// Window depth of eye z under the -30..30 cube: 0.5 at z = 0, smaller nearer the viewer.
float depthOfEyeZ(double z) {
    return static_cast<float>((1.0 - z / 30.0) / 2.0);
}

TEST_F(CloseUps, EveryViewShowsItsBodyLargeOnItsAxisWhateverTheDragAndZoom) {
    const int centre = windowCentre;
    for (const CloseUpView& v : closeUpViews) {
        SCOPED_TRACE(v.view);
        resetSceneForTest();
        sceneState.currentView = v.view;
        const Frame frame = drawFrame();

        // A disc of radius 6, 80 pixels, at the centre; the ring and the Moon lie beyond it.
        EXPECT_FALSE(frame.at(centre + 77, centre).isBlack());
        EXPECT_FALSE(frame.at(centre, centre + 77).isBlack());
        EXPECT_FALSE(frame.at(centre - 55, centre - 55).isBlack());
        if (v.kind == ALONE) {
            EXPECT_TRUE(frame.at(centre + 84, centre).isBlack());
            EXPECT_TRUE(frame.at(centre - 84, centre).isBlack());
            EXPECT_TRUE(frame.at(centre + 60, centre + 60).isBlack());
        }

        // The axis line spans the window's height. With the Moon or the ring it lies at eye z = 0,
        // 5 nearer than the body's centre, in front of the face above |y| = sqrt(11); alone, a body
        // has it in its central plane, hidden wherever the body covers it.
        for (double y : {-29.9, -20.0, -10.0, 10.0, 20.0, 29.9})
            EXPECT_TRUE(axisLineAt(frame, y)) << y;
        EXPECT_TRUE(frame.atModel(2.0, 20.0).isBlack());
        if (v.kind == ALONE) {
            EXPECT_NEAR(nearestOnAxis(frame, 20.0), depthOfEyeZ(-5), 0.002);
            EXPECT_NEAR(nearestOnAxis(frame, 5.0), depthOfEyeZ(-5 + std::sqrt(11.0)), 0.005);
        } else {
            EXPECT_NEAR(nearestOnAxis(frame, 20.0), depthOfEyeZ(0), 0.002);
            EXPECT_NEAR(nearestOnAxis(frame, 5.0), depthOfEyeZ(0), 0.002);
            EXPECT_NEAR(nearestOnAxis(frame, 1.0), depthOfEyeZ(-5 + std::sqrt(35.0)), 0.005);
        }

        // Texturing is left off after a body alone until the next frame; the Moon's or Saturn's
        // texture stays bound and on after the others.
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        const int lastSlot = v.kind == WITH_MOON ? BODY_MOON : v.slot;
        EXPECT_EQ(GLuint(bound), sceneState.bodyTextures[lastSlot]);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), v.kind != ALONE);

        // The body wears its own slot's texture: a quarter of the image across from its left edge.
        useGradientTexture(v.slot);
        EXPECT_NEAR(sSeenAt(drawFrame(), 0, 0), 0.25, 0.03);
        restoreTexture();
        glDeleteTextures(1, &gradient);
        gradient = 0;

        // Neither drag nor zoom reaches a close-up, whatever the Moon and the ring do.
        sceneState.orbitAngle[ORBIT_MOON] = 30.0f;
        sceneState.orbitAngle[ORBIT_SATURN] = 20.0f;
        const Frame plain = drawFrame();
        sceneState.zoom = 3.0f;
        sceneState.viewYaw = 45.0f;
        sceneState.viewPitch = -70.0f;
        EXPECT_TRUE(plain.rgb == drawFrame().rgb);
    }
}

TEST_F(CloseUps, MoonCirclesClockwiseFromTheLeft) {
    sceneState.currentView = VIEW_EARTH_MOON;
    Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(-8.5, 0).isBlack()); // 113 pixels left of the Earth's centre
    EXPECT_TRUE(frame.atModel(8.5, 0).isBlack());
    EXPECT_TRUE(frame.atModel(-8.5, 1.4).isBlack()); // a radius of 1
    EXPECT_EQ(modelToWindowX(-8.5), 400 - 114);

    sceneState.orbitAngle[ORBIT_MOON] = 90.0f; // a quarter turn clockwise: on top
    frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0.6, 8.5).isBlack());
    EXPECT_TRUE(frame.atModel(-8.5, 0).isBlack());

    sceneState.orbitAngle[ORBIT_MOON] = 180.0f;
    frame = drawFrame();
    EXPECT_FALSE(frame.atModel(8.5, 0).isBlack());
}

TEST_F(CloseUps, SaturnsRingLeavesAGapAroundTheSphere) {
    sceneState.currentView = VIEW_SATURN;
    const Frame frame = drawFrame();
    for (double x : {-8.9, -8.2, -7.4, 7.4, 8.2, 8.9})
        EXPECT_FALSE(frame.atModel(x, 0).isBlack()) << x;
    for (double x : {-9.3, -6.8, 6.8, 9.3})
        EXPECT_TRUE(frame.atModel(x, 0).isBlack()) << x;
    // Tilted 45 degrees about x: only cos 45 as tall as it is wide.
    EXPECT_FALSE(frame.atModel(3.0, 5.9).isBlack());
    EXPECT_TRUE(frame.atModel(3.0, 7.0).isBlack());
}

TEST_F(CloseUps, RingTurnsClockwiseWithSaturnsOrbitAngle) {
    sceneState.currentView = VIEW_SATURN;
    sceneState.orbitAngle[ORBIT_SATURN] = 30.0f;
    const Frame frame = drawFrame();
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    EXPECT_FALSE(frame.atModel(8.2 * c, -8.2 * s).isBlack()); // the long axis now points 30 degrees down
    EXPECT_FALSE(frame.atModel(-8.2 * c, 8.2 * s).isBlack());
    EXPECT_TRUE(frame.atModel(8.2 * c, 8.2 * s).isBlack());
    EXPECT_TRUE(frame.atModel(-8.2 * c, -8.2 * s).isBlack());
}

TEST_F(CloseUps, FaceTurnsLeftToRightWithTheEarthsSpin) {
    useGradientTexture(BODY_MARS);
    sceneState.currentView = VIEW_MARS;
    sceneState.spinAngle[SPIN_MARS] = 90.0f; // every close-up turns with the Earth, not itself
    const Frame atRest = drawFrame();
    EXPECT_NEAR(sSeenAt(atRest, 0, 0), 0.25, 0.03); // a quarter of the image from its left edge

    // What was 20 degrees to the left of the centre is in the centre after 20 degrees of spin.
    sceneState.spinAngle[SPIN_EARTH] = 20.0f;
    const Frame turned = drawFrame();
    const double left = -6.0 * std::sin(20.0 * M_PI / 180.0);
    EXPECT_NEAR(sSeenAt(turned, 0, 0), sSeenAt(atRest, left, 0), 0.03);
    EXPECT_GT(std::fabs(sSeenAt(turned, 0, 0) - 0.25), 0.04);
    restoreTexture();
}

} // namespace
