// Body images that are missing or unreadable: the program says so once, then carries on.
#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

const int axis = windowCentre;
const Rgb sunBlue{40, 90, 230};

// Untextured bodies are lit white material: every channel alike.
bool isGrey(const Rgb& c) {
    return isLit(c) && c.spread() <= 6;
}

// The Sun's centre (lit from the front) shows its test colour: blue well above red.
bool showsSunBlue(const Rgb& c) {
    return c.blue > c.red + 60 && c.blue > c.green + 30;
}

// An Earth image that does not decode, or a named pipe in its place (which no program writes to, so
// opening it for reading would wait for ever): one Error box, then the model with a grey Earth.
TEST(EndToEndBadImages, UnreadableEarthImageShowsOneErrorBoxThenRunsWithAGreyEarth) {
    struct Case {
        const char* name;
        void (*place)(const WorkFolder& folder, const std::string& relative);
    };
    const Case cases[] = {
        {"unknown header",
         [](const WorkFolder& folder, const std::string& relative) {
             folder.write(relative, bmpWithUnknownHeader());
         }},
        {"named pipe",
         [](const WorkFolder& folder, const std::string& relative) {
             ASSERT_EQ(mkfifo((folder.path() + "/" + relative).c_str(), 0644), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue));
        c.place(session.folder, "image/earth.bmp");
        session.start();

        auto error = session.display.waitForWindow("Error", 20s);
        ASSERT_TRUE(error) << "no Error box; program output:\n" << session.program().log();
        // The box comes while the images load, before the main window has drawn anything.
        Picture beforeAnswer = session.display.grab(0, 0, windowSize, windowSize);
        EXPECT_FALSE(showsTheSun(beforeAnswer)) << session.keep(beforeAnswer, "before-answer");

        ASSERT_TRUE(session.answerBox("Error"));
        ASSERT_TRUE(session.waitForMainWindow()) << session.program().log();
        Picture picture;
        ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture)) << session.keep(picture, "after-error");
        std::this_thread::sleep_for(1s);
        EXPECT_TRUE(session.display.windowsTitled("Error").empty()) << "a second Error box";

        const Rgb sun = picture.at(axis, axis);
        const Rgb earth = picture.at(pixelX(atRest::earth.x), axis);
        EXPECT_TRUE(showsSunBlue(sun))
            << "Sun " << describe(sun) << "; " << session.keep(picture, "after-error");
        EXPECT_TRUE(isGrey(earth)) << "Earth " << describe(earth) << "; "
                                   << session.keep(picture, "after-error");
        EXPECT_TRUE(session.program().running());
    }
}

// GTK is loaded only for the first box: where it cannot be, the program says so on stderr and runs
// on without the box. An empty file found first on the library path stands for a missing GTK; were
// the program linked with GTK, it would not even start.
TEST(EndToEndBadImages, WithoutGtkTheProgramSaysSoOnStderrAndRunsOnWithoutTheBox) {
    Session session;
    session.folder.write("image/earth.bmp", bmpWithUnknownHeader());
    session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue));
    session.folder.write("no-gtk/libgtk-3.so.0", "");
    session.start({{"LD_LIBRARY_PATH", session.folder.path() + "/no-gtk"}});

    ASSERT_TRUE(session.waitForMainWindow()) << session.program().log();
    Picture picture;
    ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture)) << session.keep(picture, "without-gtk");
    EXPECT_EQ(session.display.mappedTitles(), std::vector<std::string>{mainTitle});
    const Rgb earth = picture.at(pixelX(atRest::earth.x), axis);
    EXPECT_TRUE(isGrey(earth)) << "Earth " << describe(earth) << "; " << session.keep(picture, "without-gtk");
    EXPECT_NE(session.program().log().find("Astrolume: cannot load GTK 3"), std::string::npos)
        << "program output:\n"
        << session.program().log();
    EXPECT_TRUE(session.program().running());
}

TEST(EndToEndBadImages, MissingImagesAreDrawnGreyWithoutABox) {
    Session session;
    session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue)); // the only image there is
    session.start();
    ASSERT_TRUE(session.waitForMainWindow()) << session.program().log();
    Picture picture;
    ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture)) << session.keep(picture, "missing");
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(session.display.mappedTitles(), std::vector<std::string>{mainTitle});

    EXPECT_TRUE(showsSunBlue(picture.at(axis, axis))) << describe(picture.at(axis, axis));
    for (const BodyPlace& body : atRest::bodies) {
        if (body.x == atRest::sun.x) continue;
        const Rgb centre = picture.at(pixelX(body.x), axis);
        EXPECT_TRUE(isGrey(centre)) << body.name << ": " << describe(centre);
    }
}

} // namespace
