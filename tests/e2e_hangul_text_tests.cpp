// The information boxes draw their Korean text with real Hangul glyphs. Their Korean titles are checked
// wherever a box is found by its title (boxTitles), as in the body-menu tests.
#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

struct TextStart {
    int x, y; // leftmost and topmost ink of the first text line
};

// The box's text starts with a Korean label ("반지름(Km)"); find its top-left ink pixel in
// the upper part of the box, above the OK button.
std::optional<TextStart> findTextStart(const Picture& box) {
    for (int y = 0; y < box.height / 2; ++y)
        for (int x = 0; x < box.width; ++x)
            if (isInk(box.at(x, y))) {
                int left = x;
                for (int row = y; row < y + 12 && row < box.height; ++row)
                    for (int column = 0; column < left; ++column)
                        if (isInk(box.at(column, row))) left = column;
                return TextStart{left, y};
            }
    return std::nullopt;
}

// Runs astrolume, opens Saturn's box and returns the first two characters of its text,
// as drawn. `environment` lets a run see a different set of fonts.
Picture saturnLabelGlyphs(const std::vector<std::pair<std::string, std::string>>& environment,
                          const std::string& fontsConf = {}) {
    Session session;
    if (!fontsConf.empty()) session.folder.write("fonts.conf", fontsConf);
    auto env = environment;
    for (auto& [name, value] : env)
        if (value == "@fonts.conf") value = session.folder.path() + "/fonts.conf";
    session.start(env);
    auto window = session.waitForMainWindow();
    EXPECT_TRUE(window) << session.whyNo("the Astrolume window");
    if (!window) return {};
    Picture picture;
    session.waitForPicture(showsTheSun, &picture);
    EXPECT_TRUE(session.choose(ENTRY_SATURN)) << session.whyNo("the menu opened and closed");
    auto box = session.waitForWindow(boxTitles[ENTRY_SATURN], 15s);
    EXPECT_TRUE(box) << session.whyNo(std::string("the box titled ") + boxTitles[ENTRY_SATURN]);
    if (!box) return {};
    // GTK draws the box shortly after mapping it: wait until two grabs in a row agree.
    Picture shown, previous;
    waitUntil(5s, [&] {
        previous = shown;
        shown = session.display.grab(*box);
        return findTextStart(shown) && shown == previous;
    });
    auto start = findTextStart(shown);
    EXPECT_TRUE(start) << "no text in the box; " << session.keep(shown, "box");
    if (!start) return {};
    // Two Hangul syllables of the default 10-point font fit in about 26 x 14 pixels.
    const int width = std::min(26, shown.width - start->x), height = std::min(14, shown.height - start->y);
    session.answerBox(boxTitles[ENTRY_SATURN]);
    return shown.crop(start->x, start->y, width, height);
}

// A font set with only DejaVu, which has no Hangul at all.
std::string fontsConfWithoutKorean(const std::string& cacheFolder) {
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
           "  <dir>/usr/share/fonts/truetype/dejavu</dir>\n  <cachedir>" +
           cacheFolder + "</cachedir>\n</fontconfig>\n";
}

TEST(EndToEndHangulText, LabelsAreDrawnWithAKoreanFontNotPlaceholderBoxes) {
    const Picture withNanum = saturnLabelGlyphs({});
    const Picture again = saturnLabelGlyphs({});
    WorkFolder cache;
    const Picture withoutKorean =
        saturnLabelGlyphs({{"FONTCONFIG_FILE", "@fonts.conf"}}, fontsConfWithoutKorean(cache.path()));
    ASSERT_GT(withNanum.width, 0);
    ASSERT_GT(withoutKorean.width, 0);

    // Drawing is repeatable, so a difference below comes from the fonts alone.
    EXPECT_EQ(withNanum, again);
    // Without a Korean font Pango can only draw placeholder boxes; the normal run must not.
    EXPECT_NE(withNanum, withoutKorean);
    int ink = 0;
    for (const Rgb& c : withNanum.pixels)
        ink += isInk(c);
    EXPECT_GT(ink, 20) << "hardly any glyph pixels";
}

} // namespace
