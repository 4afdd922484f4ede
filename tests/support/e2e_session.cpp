#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"
#include "tests/support/unprivileged.h"

#include <filesystem>
#include <unistd.h>

using namespace std::chrono_literals;

const char* const mainTitle = "Astrolume";
const char* const boxTitles[ENTRY_COUNT] = {"태양", "수성",   "금성",   "지구",   "화성", "목성",
                                            "토성", "천왕성", "해왕성", "명왕성", nullptr};

namespace {

// Where the menu is opened: far enough from the edges for all its entries to fit.
constexpr int menuOpenX = 100;
constexpr int menuOpenY = 100;
// freeglut's menu window has a 2-pixel border above the first entry and below the last.
constexpr int menuBorder = 2;

} // namespace

Session::Session() = default;

void Session::start(const std::vector<std::pair<std::string, std::string>>& environment) {
    program_ = std::make_unique<ProgramRun>(display.name(), folder, environment);
}

std::string Session::startUnprivileged(const std::vector<std::pair<std::string, std::string>>& environment) {
    std::filesystem::permissions(folder.path(),
                                 std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    // The folder, where the program's copy will be, must be one that nobody can reach.
    std::string why = whyNoUnprivilegedUser(folder.path());
    if (why.empty()) program_ = std::make_unique<ProgramRun>(display.name(), folder, environment, true);
    return why;
}

std::string Session::whyNo(const std::string& awaited) {
    if (!program_) return awaited + ": astrolume was never started";
    if (auto ending = program_->ending())
        return "astrolume ended before " + awaited + " came: " + ending->describe() + "; its output:\n" +
               program_->log();
    return "no " + awaited + " in time; program output:\n" + program_->log();
}

std::string Session::whyNotShown(const Picture& picture, const std::string& name) {
    return whyNo("the expected picture") + "the last picture: " + keep(picture, name);
}

std::optional<WindowBox> Session::waitForWindow(const std::string& title, std::chrono::milliseconds limit) {
    std::optional<WindowBox> box;
    waitUntil(limit, [&] {
        auto windows = display.windowsTitled(title);
        if (!windows.empty()) box = windows.front();
        return box.has_value() || !program_->running();
    });
    return box;
}

std::optional<WindowBox> Session::waitForMainWindow() {
    auto box = waitForWindow(mainTitle, 20s);
    if (box) main_ = *box;
    return box;
}

std::string Session::startShowing(const std::function<bool(const Picture&)>& looksRight, Picture* picture,
                                  const std::string& name) {
    start();
    if (!waitForMainWindow()) return whyNo("the Astrolume window");
    if (!waitForPicture(looksRight, picture)) return whyNotShown(*picture, name);
    return {};
}

Picture Session::mainPicture() {
    return display.grab(main_.x, main_.y, windowSize, windowSize);
}

bool Session::waitForPicture(const std::function<bool(const Picture&)>& looksRight, Picture* last,
                             std::chrono::milliseconds limit) {
    return waitUntil(limit,
                     [&] {
                         *last = mainPicture();
                         return looksRight(*last) || !program_->running();
                     }) &&
           looksRight(*last);
}

bool Session::choose(MenuEntry entry) {
    display.moveTo(main_.x + menuOpenX, main_.y + menuOpenY);
    display.click(3);
    auto menu = display.waitForWindow("freeglut menu", 5s);
    if (!menu) return false;
    // Entries share the height between the borders equally.
    const int entryHeight = (menu->height - 2 * menuBorder) / ENTRY_COUNT;
    display.moveTo(menu->x + menu->width / 2, menu->y + menuBorder + entryHeight * entry + entryHeight / 2);
    usleep(100000); // freeglut picks the entry under the pointer from the motion it has seen
    display.click(1);
    return display.waitUntilGone("freeglut menu", 5s);
}

bool Session::answerBox(const std::string& title) {
    auto box = waitForWindow(title, 10s);
    if (!box) return false;
    display.pressKey("Return", box->id);
    return display.waitUntilGone(title, 10s);
}

std::string Session::keep(const Picture& picture, const std::string& name) const {
    std::string path = (std::filesystem::temp_directory_path() / ("astrolume-e2e-" + name + ".ppm")).string();
    picture.savePpm(path);
    return path;
}
