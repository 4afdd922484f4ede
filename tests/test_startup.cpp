// Start-up: the window, the fixed OpenGL state, the textures and the projection. What the state record's
// first values do is checked where they show: the input, system-view and close-up tests start from them.
#include "app/app.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

class StartUp : public testing::Test {
  protected:
    void SetUp() override { openTestWindow(); }
};

TEST_F(StartUp, WindowIsADoubleBufferedRgbWindowWithDepth) {
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 800);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 800);
    EXPECT_EQ(glutGet(GLUT_WINDOW_DOUBLEBUFFER), 1);
    EXPECT_GT(glutGet(GLUT_WINDOW_DEPTH_SIZE), 0);
    EXPECT_EQ(glutGet(GLUT_WINDOW_RGBA), 1);
    EXPECT_EQ(glutGet(GLUT_WINDOW_NUM_CHILDREN), 0);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 11);
}

TEST_F(StartUp, FixedOpenGLStateIsSet) {
    const GLenum enabled[] = {GL_NORMALIZE, GL_DEPTH_TEST, GL_COLOR_MATERIAL, GL_LIGHTING,
                              GL_LIGHT0,    GL_LIGHT1,     GL_TEXTURE_2D};
    for (GLenum capability : enabled)
        EXPECT_TRUE(glIsEnabled(capability)) << std::hex << capability;
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));

    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_COLOR_MATERIAL_FACE, &value);
    EXPECT_EQ(value, GL_FRONT);
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &value);
    EXPECT_EQ(value, GL_AMBIENT_AND_DIFFUSE);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);

    GLfloat clear[4], depth = 0;
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
    EXPECT_EQ(depth, 1.0f);

    // The lights keep OpenGL's defaults: light 0 white from +z, light 1 black.
    GLfloat diffuse0[4], diffuse1[4], position0[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse0);
    glGetLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse1);
    glGetLightfv(GL_LIGHT0, GL_POSITION, position0);
    EXPECT_EQ(diffuse0[0], 1.0f);
    EXPECT_EQ(diffuse1[0], 0.0f);
    EXPECT_EQ(position0[2], 1.0f);
    EXPECT_EQ(position0[3], 0.0f);
    EXPECT_NE(sceneState.quadric, nullptr);
}

TEST_F(StartUp, EveryBodyHasATextureName) {
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        EXPECT_TRUE(glIsTexture(sceneState.bodyTextures[slot])) << slot;
}

struct ReshapeCase {
    int width, height;
};

TEST_F(StartUp, ReshapeShowsTheSameCubeWhateverTheWindowShape) {
    for (const ReshapeCase& c :
         {ReshapeCase{windowSize, windowSize}, ReshapeCase{1000, 400}, ReshapeCase{300, 700}}) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        onReshape(c.width, c.height);
        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[0], 0);
        EXPECT_EQ(viewport[1], 0);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.height);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);

        // glOrtho(-30, 30, -30, 30, -30, 30): scale 1/30 on x and y, -1/30 on z, no translation.
        GLfloat projection[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        const GLfloat expected[16] = {1 / 30.0f, 0, 0,          0, 0, 1 / 30.0f, 0, 0,
                                      0,         0, -1 / 30.0f, 0, 0, 0,         0, 1};
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(projection[i], expected[i], 1e-7) << i;
    }
    onReshape(windowSize, windowSize);
}

} // namespace
