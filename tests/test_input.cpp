// Mouse and keyboard: what each press, release, drag and key does to the model and its animation.
#include "input/input.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int left = GLUT_LEFT_BUTTON, middle = GLUT_MIDDLE_BUTTON, right = GLUT_RIGHT_BUTTON;
constexpr int down = GLUT_DOWN, up = GLUT_UP;

class Input : public testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
    void TearDown() override { glutIdleFunc(nullptr); }

    // Whether the model moves while the GLUT loop runs for a while.
    static bool animationRuns() {
        const float before = sceneState.orbitAngle[ORBIT_EARTH];
        runGlutLoop(5);
        return sceneState.orbitAngle[ORBIT_EARTH] != before;
    }
};

TEST_F(Input, ModelIsStillAtStartUp) {
    EXPECT_FALSE(animationRuns());
}

TEST_F(Input, FirstSpaceLeavesTheModelStillAndTheSecondStartsIt) {
    onKeyboard(' ', 0, 0);
    EXPECT_FALSE(sceneState.animating);
    EXPECT_FALSE(animationRuns());
    onKeyboard(' ', 0, 0);
    EXPECT_TRUE(animationRuns());
    onKeyboard(' ', 0, 0);
    EXPECT_FALSE(animationRuns());
}

TEST_F(Input, LeftClickAtStartUpStartsTheAnimation) {
    onMouse(left, down, 10, 10);
    EXPECT_FALSE(animationRuns());
    onMouse(left, up, 10, 10);
    EXPECT_TRUE(animationRuns());
}

TEST_F(Input, HoldingLeftPausesDraggingTurnsReleasingResumes) {
    onMouse(left, down, 100, 100);
    onMouse(left, up, 100, 100);
    ASSERT_TRUE(animationRuns());

    onMouse(left, down, 200, 300);
    EXPECT_FALSE(animationRuns());
    onMotion(230, 290); // right 30, up 10
    EXPECT_EQ(sceneState.viewYaw, 30.0f);
    EXPECT_EQ(sceneState.viewPitch, -10.0f);
    onMotion(225, 300); // back left 5, down 10
    EXPECT_EQ(sceneState.viewYaw, 25.0f);
    EXPECT_EQ(sceneState.viewPitch, 0.0f);
    EXPECT_EQ(sceneState.dragLastX, 225);
    EXPECT_EQ(sceneState.dragLastY, 300);

    onMouse(left, up, 225, 300);
    EXPECT_TRUE(animationRuns());
    onMotion(400, 400); // no button held: nothing turns
    EXPECT_EQ(sceneState.viewYaw, 25.0f);
    EXPECT_EQ(sceneState.viewPitch, 0.0f);
}

TEST_F(Input, MiddleDragBeforeTheFirstReleaseTurnsFromTheOrigin) {
    onMouse(middle, down, 50, 60); // ignored: the drag still starts from (0, 0)
    EXPECT_EQ(sceneState.dragLastX, 0);
    onMotion(50, 60);
    EXPECT_EQ(sceneState.viewYaw, 50.0f);
    EXPECT_EQ(sceneState.viewPitch, 60.0f);

    onMouse(left, down, 0, 0);
    onMouse(left, up, 0, 0);
    onMotion(90, 90); // once released, middle drags do nothing
    EXPECT_EQ(sceneState.viewYaw, 50.0f);
    EXPECT_EQ(sceneState.viewPitch, 60.0f);
}

TEST_F(Input, MiddleButtonAndWheelNeverPauseOrRedraw) {
    onMouse(left, down, 0, 0);
    onMouse(left, up, 0, 0);
    ASSERT_TRUE(animationRuns());
    for (int button : {middle, 3, 4}) {
        SCOPED_TRACE(button);
        onMouse(button, down, 5, 5);
        EXPECT_TRUE(animationRuns());
        onMouse(button, up, 5, 5);
        EXPECT_EQ(sceneState.dragButtonState, DRAG_RELEASED);
    }
    glutIdleFunc(nullptr);
    EXPECT_EQ(redisplaysDuring([] { onMouse(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 1, 1); }), 0);
    EXPECT_EQ(redisplaysDuring([] { onMouse(3, GLUT_DOWN, 1, 1); }), 0);
}

TEST_F(Input, RightButtonIsTrackedButNeverDrags) {
    onMouse(right, down, 70, 80);
    EXPECT_EQ(sceneState.dragButton, MOUSE_RIGHT);
    EXPECT_EQ(sceneState.dragButtonState, DRAG_HELD);
    EXPECT_EQ(sceneState.dragLastX, 70);
    EXPECT_EQ(sceneState.dragLastY, 80);
    EXPECT_FALSE(animationRuns());
    onMotion(170, 180);
    EXPECT_EQ(sceneState.viewYaw, 0.0f);
    onMouse(right, up, 170, 180);
    EXPECT_EQ(sceneState.dragButtonState, DRAG_RELEASED);
    EXPECT_TRUE(animationRuns());
}

TEST_F(Input, ButtonsNeverStartAStoppedAnimation) {
    onKeyboard(' ', 0, 0); // animation switched off
    onMouse(left, down, 0, 0);
    onMouse(left, up, 0, 0);
    EXPECT_FALSE(animationRuns());
    onKeyboard(' ', 0, 0);
    ASSERT_TRUE(animationRuns());
    onKeyboard(' ', 0, 0);
    onMouse(right, down, 0, 0);
    onMouse(right, up, 0, 0);
    EXPECT_FALSE(animationRuns());
}

TEST_F(Input, ZoomKeysScaleByOnePercentWithoutBounds) {
    for (int i = 0; i < 70; ++i)
        onKeyboard('z', 0, 0);
    EXPECT_NEAR(sceneState.zoom, 2.0, 0.01);
    float expected = 1.0f;
    for (int i = 0; i < 70; ++i)
        expected = expected * 1.01f;
    EXPECT_EQ(sceneState.zoom, expected); // float arithmetic, step by step

    sceneState.zoom = 1.0f;
    onKeyboard('x', 0, 0);
    EXPECT_EQ(sceneState.zoom, 1.0f / 1.01f);
    for (int i = 0; i < 2000; ++i)
        onKeyboard('x', 0, 0);
    EXPECT_GT(sceneState.zoom, 0.0f);
    EXPECT_LT(sceneState.zoom, 1e-8f);
}

TEST_F(Input, LightingKeyTogglesLighting) {
    onKeyboard('l', 0, 0);
    EXPECT_FALSE(sceneState.lightingOn);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    onKeyboard('l', 0, 0);
    EXPECT_TRUE(sceneState.lightingOn);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(Input, UpperCaseAndOtherKeysOnlyRedraw) {
    for (unsigned char key : {'Z', 'X', 'L', 'q', '\r'}) {
        SCOPED_TRACE(key);
        const SceneState before = sceneState;
        onKeyboard(key, 0, 0);
        EXPECT_EQ(sceneState.zoom, before.zoom);
        EXPECT_EQ(sceneState.lightingOn, before.lightingOn);
        EXPECT_EQ(sceneState.animating, before.animating);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    }
    EXPECT_EQ(redisplaysDuring([] { onKeyboard('Z', 0, 0); }), 1);
    EXPECT_EQ(redisplaysDuring([] { onKeyboard('L', 0, 0); }), 1);
}

TEST_F(Input, EveryHandledEventAsksForOneRedisplay) {
    EXPECT_EQ(redisplaysDuring([] { onKeyboard('z', 0, 0); }), 1);
    EXPECT_EQ(redisplaysDuring([] { onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 3, 3); }), 1);
    EXPECT_EQ(redisplaysDuring([] { onMotion(9, 9); }), 1);
    glutIdleFunc(nullptr);
    EXPECT_EQ(redisplaysDuring([] { onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 3, 3); }), 1);
    glutIdleFunc(nullptr);
    EXPECT_EQ(redisplaysDuring([] { onMotion(20, 20); }), 0); // released: ignored
}

TEST_F(Input, DragAppliesToTheSystemViewOnScreen) {
    onMouse(left, down, 400, 400);
    onMotion(400 + 180, 400); // half a turn about the vertical axis
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(-atRest::jupiter.x, 0).isBlack()); // Jupiter now on the left
    EXPECT_TRUE(frame.atModel(atRest::jupiter.x, 0).isBlack());
}

TEST(QuitDeathTest, EscapeEndsTheProcessWithStatus255) {
    EXPECT_EXIT(onKeyboard(27, 0, 0), testing::ExitedWithCode(255), "");
}

} // namespace
