// One astrolume run on a private display, with the steps a user takes: wait for the window,
// pick from the right-button menu, answer a box, look at the picture.
#pragma once

#include "tests/support/e2e_display.h"
#include "tests/support/e2e_program.h"
#include "tests/support/model_on_screen.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// Screen pixel column / row, within the window, nearest to a model coordinate.
inline int pixelX(double units) {
    return static_cast<int>(std::lround(windowSize / 2 + units * pixelsPerUnit));
}
inline int pixelY(double units) {
    return static_cast<int>(std::lround(windowSize / 2 - units * pixelsPerUnit));
}

// Right-button menu entries, top to bottom.
enum MenuEntry {
    ENTRY_SUN,
    ENTRY_MERCURY,
    ENTRY_VENUS,
    ENTRY_EARTH,
    ENTRY_MARS,
    ENTRY_JUPITER,
    ENTRY_SATURN,
    ENTRY_URANUS,
    ENTRY_NEPTUNE,
    ENTRY_PLUTO,
    ENTRY_WHOLE_SYSTEM,
    ENTRY_COUNT
};

extern const char* const mainTitle; // "Astrolume"

// Title of the information box each menu entry opens; null for the whole system, which opens none.
extern const char* const boxTitles[ENTRY_COUNT];

// Whether the Sun is drawn at the middle of the window, as it is in the whole-system view.
inline bool showsTheSun(const Picture& p) {
    return isLit(p.at(windowCentre, windowCentre));
}

class Session {
  public:
    Session();

    WorkFolder folder; // fill image/ before start()
    TestDisplay display;

    void start(const std::vector<std::pair<std::string, std::string>>& environment = {});
    // start() as an unprivileged user (see ProgramRun), the folder opened to every user first. Empty
    // when it started; otherwise why it could not (whyNoUnprivilegedUser), for the test to skip with.
    std::string startUnprivileged(const std::vector<std::pair<std::string, std::string>>& environment = {});
    ProgramRun& program() { return *program_; }
    // What a test says when `awaited` did not come: that the program ended first, and how (exit
    // status 127: could not be executed), or that it did not come in time; then the program's output.
    std::string whyNo(const std::string& awaited);

    // The first window titled `title`, once mapped; empty after the time limit, or at once when the
    // program has ended (its log() then says how).
    std::optional<WindowBox> waitForWindow(const std::string& title, std::chrono::milliseconds limit);
    // The main window, the same way.
    std::optional<WindowBox> waitForMainWindow();
    const WindowBox& mainWindow() const { return main_; }
    // start(), waitForMainWindow(), then waitForPicture(looksRight, picture). Empty when all went
    // well; otherwise what did not, with the program's output or the picture kept as `name`.
    std::string startShowing(const std::function<bool(const Picture&)>& looksRight, Picture* picture,
                             const std::string& name);
    Picture mainPicture();
    // Grabs the main window until `looksRight` accepts the picture, the limit passes or the program
    // ends; the last picture stays in `last` for the test's messages.
    bool waitForPicture(const std::function<bool(const Picture&)>& looksRight, Picture* last,
                        std::chrono::milliseconds limit = std::chrono::seconds(10));

    // Opens the menu over the main window and clicks one entry. False if the menu never showed.
    bool choose(MenuEntry entry);
    // Presses Return in the box titled `title` and waits for it to go.
    bool answerBox(const std::string& title);

    // Keeps a picture next to the test binary's other output, for a failing test to point at.
    std::string keep(const Picture& picture, const std::string& name) const;
    // whyNo("the expected picture"), and where the last one was kept.
    std::string whyNotShown(const Picture& picture, const std::string& name);

  private:
    std::unique_ptr<ProgramRun> program_;
    WindowBox main_{};
};
