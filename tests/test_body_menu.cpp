// The body menu: each choice's view and information box, and what it leaves alone.
#include "input/input.h"
#include "scene/scene.h"
#include "tests/support/gl_test_window.h"
#include "tests/support/message_box_recorder.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct MenuChoice {
    int value;
    const char* label;
    int view;
    const char* caption;
    const char* text;
};

// Labels, captions and texts as users read them ("Mecury" as the menu has always spelt it).
const MenuChoice bodyChoices[] = {
    {1, "Sun", VIEW_SUN, "태양",
     "반지름(Km) : 695,500\n질량(10*24승 Kg) : 1,989,000\n밀도(g/cm3) : 1.41\n중력(지구=1) : 28\n"
     "자전주기 : 25.4일\n공전주기 : -"},
    {2, "Mecury", VIEW_MERCURY, "수성",
     "반지름(Km) : 2439.7\n질량(10*24승 Kg) : 0.330\n밀도(g/cm3) : 5.43\n중력(지구=1) : 0.38\n"
     "자전주기 : 58.6일\n공전주기 : 88.0일"},
    {3, "Venus", VIEW_VENUS, "금성",
     "반지름(Km) : 6051.8\n질량(10*24승 Kg) : 4.87\n밀도(g/cm3) : 5.24\n중력(지구=1) : 0.91\n"
     "자전주기 : 243일\n공전주기 : 224.7일"},
    {4, "Earth", VIEW_EARTH_MOON, "지구",
     "반지름(Km) : 6378.1\n질량(10*24승 Kg) : 5.97\n밀도(g/cm3) : 5.52\n중력(지구=1) : 1.00\n"
     "자전주기 : 23.93시간\n공전주기 : 365.24일"},
    {5, "Mars", VIEW_MARS, "화성",
     "반지름(Km) : 3397\n질량(10*24승 Kg) : 0.642\n밀도(g/cm3) : 3.93\n중력(지구=1) : 0.38\n"
     "자전주기 : 24.62시간\n공전주기 : 1.88년"},
    {6, "Jupiter", VIEW_JUPITER, "목성",
     "반지름(Km) : 71492\n질량(10*24승 Kg) : 1899\n밀도(g/cm3) : 1.33\n중력(지구=1) : 2.14\n"
     "자전주기 : 9.93시간\n공전주기 : 11.86년"},
    {7, "Saturn", VIEW_SATURN, "토성",
     "반지름(Km) : 60268\n질량(10*24승 Kg) : 568\n밀도(g/cm3) : 0.69\n중력(지구=1) : 0.74\n"
     "자전주기 : 10.7시간\n공전주기 : 29.4년"},
    {8, "Uranus", VIEW_URANUS, "천왕성",
     "반지름(Km) : 25559\n질량(10*24승 Kg) : 86.8\n밀도(g/cm3) : 1.27\n중력(지구=1) : 0.86\n"
     "자전주기 : 17.2시간\n공전주기 : 84.0년"},
    {9, "Neptune", VIEW_NEPTUNE, "해왕성",
     "반지름(Km) : 24764\n질량(10*24승 Kg) : 102\n밀도(g/cm3) : 1.64\n중력(지구=1) : 1.10\n"
     "자전주기 : 16.1시간\n공전주기 : 164.8년"},
    {10, "Pluto", VIEW_PLUTO, "명왕성",
     "반지름(Km) : 1151\n질량(10*24승 Kg) : 0.013\n밀도(g/cm3) : 2.0\n중력(지구=1) : 0.08\n"
     "자전주기 : 6.4일\n공전주기 : 247.9년"},
};

class BodyMenu : public testing::Test {
  protected:
    void SetUp() override {
        resetSceneForTest();
        clearRecordedMessageBoxes();
        // Something to lose: a turned, zoomed, animated model.
        for (int i = 0; i < 37; ++i)
            advanceAnimation();
        sceneState.viewPitch = 12.0f;
        sceneState.viewYaw = -40.0f;
        sceneState.zoom = 1.5f;
        before = sceneState;
    }
    void expectModelUntouched() const {
        for (int i = 0; i < ORBIT_COUNT; ++i)
            EXPECT_EQ(sceneState.orbitAngle[i], before.orbitAngle[i]);
        for (int i = 0; i < SPIN_COUNT; ++i)
            EXPECT_EQ(sceneState.spinAngle[i], before.spinAngle[i]);
        EXPECT_EQ(sceneState.viewPitch, before.viewPitch);
        EXPECT_EQ(sceneState.viewYaw, before.viewYaw);
        EXPECT_EQ(sceneState.zoom, before.zoom);
        EXPECT_EQ(sceneState.animating, before.animating);
    }
    SceneState before;
};

TEST_F(BodyMenu, EachBodyShowsItsCloseUpAndItsBox) {
    for (const MenuChoice& choice : bodyChoices) {
        SCOPED_TRACE(choice.value);
        clearRecordedMessageBoxes();
        onMenu(choice.value);
        EXPECT_EQ(sceneState.currentView, choice.view);
        ASSERT_EQ(recordedMessageBoxes().size(), 1u);
        EXPECT_EQ(recordedMessageBoxes()[0].caption, choice.caption);
        EXPECT_EQ(recordedMessageBoxes()[0].text, choice.text);
        expectModelUntouched();
    }
}

TEST_F(BodyMenu, GlutReceivesEveryLabelWithItsValueInOrder) {
    const std::vector<MenuEntryAdded>& entries = menuEntriesAdded();
    ASSERT_EQ(entries.size(), std::size(bodyChoices) + 1);
    for (size_t i = 0; i < std::size(bodyChoices); ++i) {
        EXPECT_EQ(entries[i].label, bodyChoices[i].label);
        EXPECT_EQ(entries[i].value, bodyChoices[i].value);
    }
    EXPECT_EQ(entries.back().label, "Astrolume");
    EXPECT_EQ(entries.back().value, MENU_WHOLE_SYSTEM);
}

TEST_F(BodyMenu, WholeSystemReturnsWithoutABox) {
    onMenu(7);
    clearRecordedMessageBoxes();
    onMenu(MENU_WHOLE_SYSTEM);
    EXPECT_EQ(sceneState.currentView, VIEW_SYSTEM);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    expectModelUntouched();
}

TEST_F(BodyMenu, EveryChoiceAsksForARedisplay) {
    EXPECT_EQ(redisplaysDuring([] { onMenu(7); }), 1);
    EXPECT_EQ(redisplaysDuring([] { onMenu(MENU_WHOLE_SYSTEM); }), 1);
}

TEST_F(BodyMenu, ValuesOutsideTheMenuChangeNothing) {
    for (int value : {0, 12, -1}) {
        onMenu(value);
        EXPECT_EQ(sceneState.currentView, VIEW_SYSTEM) << value;
    }
    EXPECT_TRUE(recordedMessageBoxes().empty());
    EXPECT_EQ(bodyInfoForMenuValue(0), nullptr);
    EXPECT_EQ(bodyInfoForMenuValue(11), nullptr);
}

// A drag and a zoom made while a close-up shows change nothing there, and show at once on the way back.
TEST_F(BodyMenu, DragAndZoomDuringACloseUpShowOnReturning) {
    onMenu(5);
    const Frame closeUp = drawFrame();
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 300, 300);
    onMotion(340, 270);
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 340, 270);
    onKeyboard('x', 0, 0);
    EXPECT_TRUE(drawFrame().rgb == closeUp.rgb);
    onMenu(MENU_WHOLE_SYSTEM);
    const Frame returned = drawFrame();

    // The system view as it was before the close-up, then with the same turn and zoom made there.
    sceneState = before;
    const Frame unchanged = drawFrame();
    sceneState.viewYaw += 40;
    sceneState.viewPitch -= 30;
    sceneState.zoom /= sceneState.zoomStep;
    EXPECT_TRUE(drawFrame().rgb == returned.rgb);
    EXPECT_FALSE(returned.rgb == unchanged.rgb);
}

TEST_F(BodyMenu, EarthChoiceDrawsTheEarthWithTheMoon) {
    sceneState.orbitAngle[ORBIT_MOON] = 0.0f;
    onMenu(4);
    const Frame frame = drawFrame();
    EXPECT_FALSE(frame.atModel(0, 0).isBlack());
    EXPECT_FALSE(frame.atModel(-8.5, 0).isBlack());
}

} // namespace
