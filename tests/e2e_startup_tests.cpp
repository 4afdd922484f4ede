// Starting Astrolume and ending it, as seen on the screen and in the exit status.
#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The bodies from left to right.
std::vector<BodyPlace> leftToRight() {
    std::vector<BodyPlace> bodies(std::begin(atRest::bodies), std::end(atRest::bodies));
    std::sort(bodies.begin(), bodies.end(), [](const BodyPlace& a, const BodyPlace& b) { return a.x < b.x; });
    return bodies;
}

class EndToEndStartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(session.startShowing(showsTheSun, &picture, "startup"), "");
        window = session.mainWindow();
    }

    Session session;
    WindowBox window{};
    Picture picture;
};

TEST_F(EndToEndStartUp, OpensOneSquareWindowAtTheTopLeft) {
    EXPECT_EQ(window.width, 800);
    EXPECT_EQ(window.height, 800);
    EXPECT_EQ(window.x, 0);
    EXPECT_EQ(window.y, 0);
    EXPECT_EQ(session.display.windowsTitled(mainTitle).size(), 1u);
}

TEST_F(EndToEndStartUp, DrawsEveryBodyAtItsPlaceOnTheXAxis) {
    const int axis = pixelY(0);
    for (const BodyPlace& body : atRest::bodies)
        EXPECT_TRUE(isLit(picture.at(pixelX(body.x), axis)))
            << body.name << " centre at x=" << pixelX(body.x) << " is "
            << describe(picture.at(pixelX(body.x), axis)) << "; picture " << session.keep(picture, "places");
}

TEST_F(EndToEndStartUp, LeavesBlackSpaceBetweenNeighbouringBodies) {
    const int axis = pixelY(0);
    const std::vector<BodyPlace> bodies = leftToRight();
    for (size_t i = 0; i + 1 < bodies.size(); ++i) {
        const BodyPlace& left = bodies[i];
        const BodyPlace& right = bodies[i + 1];
        const double middle = (left.x + left.extent + right.x - right.extent) / 2;
        EXPECT_TRUE(isDark(picture.at(pixelX(middle), axis)))
            << "between " << left.name << " and " << right.name << " at x=" << pixelX(middle) << ": "
            << describe(picture.at(pixelX(middle), axis));
    }
}

TEST_F(EndToEndStartUp, DrawsNothingAboveOrBelowTheSun) {
    // The Sun (radius 3) is the tallest thing; rows a little further out are empty end to end.
    for (double units : {3.4, -3.4, 15.0, -15.0, 29.0, -29.0}) {
        const int row = pixelY(units);
        for (int x = 0; x < windowSize; ++x)
            ASSERT_TRUE(isDark(picture.at(x, row))) << "lit pixel at (" << x << "," << row << ")";
    }
}

TEST_F(EndToEndStartUp, FirstSpaceKeepsTheModelStillAndTheSecondSetsItMoving) {
    std::this_thread::sleep_for(600ms);
    EXPECT_EQ(session.mainPicture(), picture) << "the model moved before any key";

    session.display.pressKey("space", window.id);
    std::this_thread::sleep_for(800ms);
    Picture afterOne = session.mainPicture();
    EXPECT_EQ(afterOne, picture) << "the first space press set it moving";

    session.display.pressKey("space", window.id);
    Picture moving;
    EXPECT_TRUE(session.waitForPicture([&](const Picture& p) { return p != picture; }, &moving, 5s))
        << "the second space press did not start the animation";
}

TEST_F(EndToEndStartUp, EscapeEndsTheProgramWithStatus255) {
    session.display.pressKey("Escape", window.id);
    auto ending = session.program().waitForExit(10s);
    ASSERT_TRUE(ending) << "still running 10 s after Escape";
    EXPECT_TRUE(ending->exited) << ending->describe();
    EXPECT_EQ(ending->code, 255) << ending->describe();
}

TEST_F(EndToEndStartUp, ClosingTheWindowEndsTheProgram) {
    session.display.askToClose(window.id);
    auto ending = session.program().waitForExit(10s);
    ASSERT_TRUE(ending) << "still running 10 s after the window was closed";
    EXPECT_TRUE(ending->exited) << ending->describe();
    EXPECT_EQ(ending->code, 0) << ending->describe();
    EXPECT_TRUE(session.display.windowsTitled(mainTitle).empty());
}

// A program that cannot start ends the wait for its window at once, and the test's message says how
// it ended, not that a window is missing.
TEST(EndToEndStartUpFailure, WaitingForAWindowStopsWhenTheProgramHasEnded) {
    Session session;
    session.start({{"DISPLAY", ":no-such-display"}});
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(session.waitForMainWindow());
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    const std::string why = session.whyNo("the Astrolume window");
    EXPECT_EQ(why.rfind("astrolume ended before the Astrolume window came: exit status 1; its output:\n", 0),
              0u)
        << why;
    EXPECT_NE(why.find("[astrolume has ended: exit status 1]"), std::string::npos) << why;
}

} // namespace
