// Soak test: the real program animating for a bounded time under random drags, keys, other
// buttons and menu choices; afterwards it must still run, answer input, draw, have no box left
// open and have logged no OpenGL, AddressSanitizer or UndefinedBehaviorSanitizer error.
//
// ASTROLUME_SOAK_SECONDS        how long random input is sent (default 60)
// ASTROLUME_SOAK_RANDOM_START   start value of the random generator (default printed; set it to
//                               send the same input sequence again)
// ASTROLUME_SOAK_TIMEOUT        seconds ctest allows the test, set by soak_tests.cmake
#include "body_image_names.h"
#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

constexpr int defaultSeconds = 60;
constexpr std::uint32_t defaultRandomStart = 20240611;
// Start-up, the last action's waits and the final checks each have their own limits; together
// they stay well under this many seconds, which must fit beside the soak inside ctest's timeout.
constexpr int secondsBesideTheSoak = 90;
// A second bound besides time, so even a program answering instantly meets an end.
constexpr int maxActionsPerSecond = 100;

const int centre = windowCentre;

// A solid test colour for each body image, so the texture path is used.
const Rgb bodyColours[] = {
    {250, 200, 40},  {150, 140, 130}, {220, 180, 120}, {40, 90, 220}, {180, 180, 180}, {200, 80, 40},
    {210, 160, 110}, {220, 200, 140}, {120, 200, 220}, {50, 80, 230}, {170, 150, 140},
};
static_assert(std::size(bodyColours) == std::size(bodyImageNames));

// Keys sent at random; the first four do something, the rest must only redraw. Never Escape,
// which ends the program.
const char* const soakKeys[] = {"space", "z",      "x",   "l",  "a",  "q",
                                "1",     "Return", "Tab", "Up", "F1", "BackSpace"};
constexpr int keysThatAct = 4;

long long environmentNumber(const char* name, long long fallback, long long low, long long high) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    if (*end != '\0' || value < low || value > high)
        throw std::runtime_error(std::string(name) + "=" + text + " is not a number from " +
                                 std::to_string(low) + " to " + std::to_string(high));
    return value;
}

// Kept out of the class: clang-format 14 lays out a class with a preprocessor branch otherwise than 19.
#ifdef NDEBUG
constexpr bool releaseBuild = true;
#else
constexpr bool releaseBuild = false;
#endif

class Soak : public ::testing::Test {
  protected:
    void SetUp() override {
        seconds = static_cast<int>(environmentNumber("ASTROLUME_SOAK_SECONDS", defaultSeconds, 1, 24 * 3600));
        randomStart = static_cast<std::uint32_t>(
            environmentNumber("ASTROLUME_SOAK_RANDOM_START", defaultRandomStart, 0, UINT32_MAX));
        const long long timeout = environmentNumber("ASTROLUME_SOAK_TIMEOUT", 0, 0, INT32_MAX);
        std::cout << "soak: " << seconds << " s of random input, random generator start value " << randomStart
                  << " (ASTROLUME_SOAK_RANDOM_START=" << randomStart << " sends the same input again)"
                  << std::endl;
        if (releaseBuild)
            std::cout << "soak: release build: the program does not look for OpenGL errors, so that check "
                         "proves little here; use a Debug build"
                      << std::endl;
        // Better to refuse now than to be killed by ctest with nothing said.
        ASSERT_TRUE(timeout == 0 || seconds + secondsBesideTheSoak <= timeout)
            << seconds << " s of soak does not fit ctest's " << timeout
            << " s; configure with -DASTROLUME_SOAK_TIMEOUT=" << seconds + secondsBesideTheSoak
            << " (scripts/soak.sh does this)";
        random = std::mt19937(randomStart);

        for (size_t i = 0; i < std::size(bodyImageNames); ++i)
            session.folder.write(std::string("image/") + bodyImageNames[i], solidBmp(64, 32, bodyColours[i]));
        Picture picture;
        ASSERT_EQ(session.startShowing(enoughLit, &picture, "soak-start"), "");
        window = session.mainWindow();
    }

    // Anything drawn at all: the Sun alone covers thousands of pixels at any zoom the soak reaches.
    static bool enoughLit(const Picture& p) {
        return std::count_if(p.pixels.begin(), p.pixels.end(), isLit) >= 1000;
    }

    int below(int count) { return static_cast<int>(random() % static_cast<std::uint32_t>(count)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    void pause(int lowMs, int highMs) {
        std::this_thread::sleep_for(std::chrono::milliseconds(between(lowMs, highMs)));
    }

    void note(const std::string& action) {
        recent.push_back(std::to_string(actions) + ": " + action);
        if (recent.size() > 12) recent.pop_front();
    }

    // What a failure message needs: where the soak was and what the program said.
    std::string context() {
        std::ostringstream out;
        out << "\nrandom generator start value " << randomStart << ", after " << actions
            << " actions; last ones:\n";
        for (const auto& line : recent)
            out << "  " << line << "\n";
        std::string log = session.program().log();
        if (log.size() > 6000) log = "...\n" + log.substr(log.size() - 6000);
        out << "windows:";
        for (const auto& title : session.display.mappedTitles())
            out << " \"" << title << "\"";
        out << "\nprogram output:\n" << log;
        return out.str();
    }

    bool onlyMainWindow(std::chrono::milliseconds limit) {
        return waitUntil(
            limit, [&] { return session.display.mappedTitles() == std::vector<std::string>{mainTitle}; });
    }

    // Left button down, a few moves, up: a model turn, or with no move a plain click.
    void drag() {
        int x = between(40, windowSize - 40), y = between(40, windowSize - 40);
        const int moves = between(0, 8);
        std::ostringstream what;
        what << "drag from " << x << "," << y;
        session.display.moveTo(window.x + x, window.y + y);
        pause(10, 30);
        session.display.press(1);
        pause(30, 60);
        for (int i = 0; i < moves; ++i) {
            x = std::clamp(x + between(-60, 60), 5, windowSize - 5);
            y = std::clamp(y + between(-60, 60), 5, windowSize - 5);
            session.display.moveTo(window.x + x, window.y + y);
            ++motions;
            pause(10, 40);
        }
        session.display.release(1);
        what << " to " << x << "," << y << " in " << moves << " moves";
        note(what.str());
        ++drags;
    }

    void key() {
        // Keys that act come up as often as all the others together.
        const int index =
            below(2) ? below(keysThatAct) : between(keysThatAct, static_cast<int>(std::size(soakKeys)) - 1);
        note(std::string("key ") + soakKeys[index]);
        session.display.pressKey(soakKeys[index], window.id);
        ++keys;
    }

    // Middle button and wheel, which the program must ignore.
    void otherButton() {
        static const int others[] = {2, 4, 5};
        const int button = others[below(3)];
        const int x = between(20, windowSize - 20), y = between(20, windowSize - 20);
        note("button " + std::to_string(button) + " at " + std::to_string(x) + "," + std::to_string(y));
        session.display.moveTo(window.x + x, window.y + y);
        session.display.click(button);
        ++otherButtons;
    }

    void menu() {
        const auto entry = static_cast<MenuEntry>(below(ENTRY_COUNT));
        note("menu entry " + std::to_string(entry) +
             (boxTitles[entry] ? std::string(" ") + boxTitles[entry] : ""));
        ASSERT_TRUE(session.choose(entry)) << "the menu did not open or close" << context();
        ++menuChoices;
        if (!boxTitles[entry]) return;
        ASSERT_TRUE(session.answerBox(boxTitles[entry]))
            << "box " << boxTitles[entry] << " did not come or go" << context();
        ++boxesAnswered;
    }

    // Grabs until two pictures a moment apart agree, i.e. nothing is moving. False on the limit.
    bool settles(Picture* still, std::chrono::milliseconds limit) {
        return waitUntil(limit, [&] {
            Picture first = session.mainPicture();
            std::this_thread::sleep_for(400ms);
            *still = session.mainPicture();
            return first == *still;
        });
    }

    bool changesFrom(const Picture& before, Picture* after, std::chrono::milliseconds limit) {
        return session.waitForPicture([&](const Picture& p) { return p != before; }, after, limit);
    }

    Session session;
    WindowBox window{};
    std::mt19937 random; // fully defined by the standard, so a start value means the same input everywhere
    int seconds = defaultSeconds;
    std::uint32_t randomStart = defaultRandomStart;
    std::deque<std::string> recent;
    int actions = 0, drags = 0, motions = 0, keys = 0, otherButtons = 0, menuChoices = 0, boxesAnswered = 0,
        pauses = 0;
};

TEST_F(Soak, RandomInputLeavesTheProgramRunningDrawingAndErrorFree) {
    const auto began = std::chrono::steady_clock::now();
    Deadline soakEnd{std::chrono::seconds(seconds)};
    const int maxActions = seconds * maxActionsPerSecond;
    while (!soakEnd.passed() && actions < maxActions) {
        ++actions;
        const int roll = below(100);
        if (roll < 35) {
            drag();
        } else if (roll < 72) {
            key();
        } else if (roll < 87) {
            menu();
            if (HasFatalFailure()) return;
        } else if (roll < 92) {
            otherButton();
        } else {
            // Let the animation run on its own for a while.
            note("pause");
            ++pauses;
            pause(100, 600);
        }
        pause(10, 80);
        ASSERT_TRUE(session.program().running())
            << "the program ended: " << session.program().waitForExit(0ms)->describe() << context();
        ASSERT_TRUE(onlyMainWindow(3s)) << "a window besides the main one is open" << context();
    }
    const double soakSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::cout << "soak: " << actions << " actions in " << soakSeconds << " s: " << drags << " drags ("
              << motions << " pointer moves), " << keys << " keys, " << menuChoices << " menu choices ("
              << boxesAnswered << " boxes answered), " << otherButtons << " middle/wheel clicks, " << pauses
              << " pauses" << std::endl;

    // Back to the whole system; that entry must open no box.
    ASSERT_TRUE(session.choose(ENTRY_WHOLE_SYSTEM)) << "the menu did not open after the soak" << context();
    std::this_thread::sleep_for(1s);
    ASSERT_TRUE(onlyMainWindow(0ms)) << "a box after the whole-system entry" << context();

    // Into a known state. A click leaves the model ticking exactly when the animation is switched
    // on; if it moves, space switches it off.
    session.display.moveTo(window.x + centre, window.y + centre);
    session.display.click(1);
    Picture still, moved;
    const Picture afterClick = session.mainPicture();
    if (changesFrom(afterClick, &moved, 3s)) session.display.pressKey("space", window.id);
    ASSERT_TRUE(settles(&still, 10s)) << "the model keeps moving with the animation off; "
                                      << session.keep(still, "soak-not-still") << context();
    EXPECT_TRUE(enoughLit(still)) << "next to nothing drawn; " << session.keep(still, "soak-dark")
                                  << context();

    // Each of these must visibly change the still picture within a few seconds, then undo itself.
    const struct {
        const char* key;
        const char* undo;
        int presses;
        const char* fault;
    } keyChecks[] = {{"space", "space", 1, "space did not start the animation"},
                     {"z", "x", 10, "z did not zoom"},
                     {"l", "l", 1, "l did not change the lighting"}};
    for (const auto& check : keyChecks) {
        for (int i = 0; i < check.presses; ++i)
            session.display.pressKey(check.key, window.id);
        EXPECT_TRUE(changesFrom(still, &moved, 10s)) << check.fault << context();
        for (int i = 0; i < check.presses; ++i)
            session.display.pressKey(check.undo, window.id);
        ASSERT_TRUE(settles(&still, 10s)) << "still moving after " << check.undo << "; "
                                          << session.keep(still, "soak-after-key") << context();
    }

    session.display.moveTo(window.x + centre - 20, window.y + centre);
    session.display.press(1);
    std::this_thread::sleep_for(30ms);
    for (int step = 1; step <= 4; ++step) {
        session.display.moveTo(window.x + centre - 20 + 10 * step, window.y + centre);
        std::this_thread::sleep_for(30ms);
    }
    session.display.release(1);
    EXPECT_TRUE(changesFrom(still, &moved, 10s)) << "a 40-pixel drag did not turn the model" << context();
    EXPECT_TRUE(settles(&still, 10s)) << "the model moves after a drag with the animation off" << context();
    EXPECT_TRUE(enoughLit(still)) << "next to nothing drawn; " << session.keep(still, "soak-end")
                                  << context();

    ASSERT_TRUE(session.program().running()) << "the program ended during the final checks" << context();
    EXPECT_TRUE(onlyMainWindow(3s)) << context();

    // The program reports OpenGL errors in Debug builds; sanitized builds add memory and UB errors.
    const std::string log = session.program().log();
    for (const char* fault :
         {"OpenGL error", "ERROR: AddressSanitizer", "runtime error:", "ERROR: LeakSanitizer"})
        EXPECT_EQ(log.find(fault), std::string::npos)
            << "\"" << fault << "\" in the program's output" << context();
}

} // namespace
