// Mouse and keyboard: what each press, release, drag and key does to the model and its animation.
#include "input/input.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int left = GLUT_LEFT_BUTTON, middle = GLUT_MIDDLE_BUTTON, right = GLUT_RIGHT_BUTTON;
constexpr int wheelUp = 3, wheelDown = 4;
constexpr int down = GLUT_DOWN, up = GLUT_UP;

void click(int button, int x = 0, int y = 0) {
    onMouse(button, down, x, y);
    onMouse(button, up, x, y);
}
void press(unsigned char key) {
    onKeyboard(key, 0, 0);
}

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

TEST_F(Input, ModelIsStillAtStartUpUntilAClickOrTheSecondSpace) {
    EXPECT_FALSE(animationRuns());
    onMouse(left, down, 10, 10);
    EXPECT_FALSE(animationRuns());
    onMouse(left, up, 10, 10);
    EXPECT_TRUE(animationRuns());

    resetSceneForTest();
    press(' ');
    EXPECT_FALSE(sceneState.animating);
    EXPECT_FALSE(animationRuns());
    press(' ');
    EXPECT_TRUE(animationRuns());
    press(' ');
    EXPECT_FALSE(animationRuns());
}

TEST_F(Input, HoldingLeftPausesDraggingTurnsReleasingResumes) {
    click(left, 100, 100);
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

    click(left);
    onMotion(90, 90); // once released, middle drags do nothing
    EXPECT_EQ(sceneState.viewYaw, 50.0f);
    EXPECT_EQ(sceneState.viewPitch, 60.0f);
}

TEST_F(Input, MiddleButtonAndWheelNeverPause) {
    click(left);
    ASSERT_TRUE(animationRuns());
    for (int button : {middle, wheelUp, wheelDown}) {
        SCOPED_TRACE(button);
        onMouse(button, down, 5, 5);
        EXPECT_TRUE(animationRuns());
        onMouse(button, up, 5, 5);
        EXPECT_EQ(sceneState.dragButtonState, DRAG_RELEASED);
    }
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
    press(' '); // animation switched off
    click(left);
    EXPECT_FALSE(animationRuns());
    press(' ');
    ASSERT_TRUE(animationRuns());
    press(' ');
    click(right);
    EXPECT_FALSE(animationRuns());
}

// One percent a press, between a hundredth and a hundred times the start: a press that would leave
// that range does nothing, so every press can be undone and the zoom never reaches infinity or zero.
TEST_F(Input, ZoomKeysScaleByOnePercentWithinBounds) {
    for (int i = 0; i < 70; ++i)
        press('z');
    EXPECT_NEAR(sceneState.zoom, 2.0, 0.01); // 1.01 to the 70th
    sceneState.zoom = 1.0f;
    press('x');
    EXPECT_EQ(sceneState.zoom, 1.0f / 1.01f);

    struct Case {
        unsigned char key, back;
        float bound;
    };
    for (const Case& c : {Case{'z', 'x', 100.0f}, Case{'x', 'z', 0.01f}}) {
        SCOPED_TRACE(c.key);
        sceneState.zoom = 1.0f;
        int taken = 0;
        for (int i = 0; i < 20000; ++i) {
            const float before = sceneState.zoom;
            press(c.key);
            if (sceneState.zoom != before) ++taken;
        }
        EXPECT_EQ(taken, 462); // 1.01 to the 462nd is 99.2; the 463rd would pass 100
        EXPECT_NEAR(sceneState.zoom, c.bound, c.bound * 0.01);
        for (int i = 0; i < taken; ++i)
            press(c.back);
        EXPECT_NEAR(sceneState.zoom, 1.0f, 1e-4);
    }
}

TEST_F(Input, LightingKeyTogglesLighting) {
    press('l');
    EXPECT_FALSE(sceneState.lightingOn);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    press('l');
    EXPECT_TRUE(sceneState.lightingOn);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(Input, UpperCaseAndOtherKeysChangeNothing) {
    for (unsigned char key : {'Z', 'X', 'L', 'q', '\r'}) {
        SCOPED_TRACE(key);
        const SceneState before = sceneState;
        press(key);
        EXPECT_EQ(sceneState.zoom, before.zoom);
        EXPECT_EQ(sceneState.lightingOn, before.lightingOn);
        EXPECT_EQ(sceneState.animating, before.animating);
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    }
}

struct RedisplayCase {
    const char* what;
    void (*before)();
    void (*event)();
    int redisplays;
};

const RedisplayCase redisplayCases[] = {
    {"zoom key", [] {}, [] { press('z'); }, 1},
    {"an unhandled key", [] {}, [] { press('Z'); }, 1},
    {"upper-case L", [] {}, [] { press('L'); }, 1},
    {"left press", [] {}, [] { onMouse(left, down, 3, 3); }, 1},
    {"drag", [] { onMouse(left, down, 3, 3); }, [] { onMotion(9, 9); }, 1},
    {"left release", [] { onMouse(left, down, 3, 3); }, [] { onMouse(left, up, 3, 3); }, 1},
    {"motion after the release", [] { click(left, 3, 3); }, [] { onMotion(20, 20); }, 0},
    {"middle press", [] {}, [] { onMouse(middle, down, 1, 1); }, 0},
    {"wheel", [] {}, [] { onMouse(wheelUp, down, 1, 1); }, 0},
};

TEST_F(Input, EveryHandledEventAsksForOneRedisplayAndIgnoredOnesForNone) {
    for (const RedisplayCase& c : redisplayCases) {
        SCOPED_TRACE(c.what);
        resetSceneForTest();
        c.before();
        glutIdleFunc(nullptr); // only the event itself may ask for a frame
        EXPECT_EQ(redisplaysDuring(c.event), c.redisplays);
    }
}

TEST_F(Input, DragAppliesToTheSystemViewOnScreen) {
    onMouse(left, down, windowSize / 2, windowSize / 2);
    onMotion(windowSize / 2 + 180, windowSize / 2); // half a turn about the vertical axis
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(-atRest::jupiter.x, 0).isBlack()); // Jupiter now on the left
    EXPECT_TRUE(frame.atModel(atRest::jupiter.x, 0).isBlack());
}

TEST(QuitDeathTest, EscapeEndsTheProcessWithStatus255) {
    EXPECT_EXIT(onKeyboard(27, 0, 0), testing::ExitedWithCode(255), "");
}

} // namespace
