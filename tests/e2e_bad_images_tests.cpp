// Body images that are missing, unreadable or larger than OpenGL takes: the program says so once, or
// fits the map to OpenGL, then carries on; it never fails in silence.
#include "tests/support/e2e_bmp.h"
#include "tests/support/e2e_session.h"
#include "tests/support/e2e_wait.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

const Rgb earthRed{210, 60, 40};

bool showsEarthRed(const Rgb& c) {
    return c.red > c.green + 60 && c.red > c.blue + 60;
}

// GL_MAX_TEXTURE_SIZE of the OpenGL the program gets on `display` (Mesa's software renderer), as
// glxinfo reports it; 0 when it cannot say.
int maxTextureSize(const std::string& display) {
    const std::string command =
        "DISPLAY=" + display +
        " LIBGL_ALWAYS_SOFTWARE=1 glxinfo -l 2>/dev/null | grep -m1 'GL_MAX_TEXTURE_SIZE'";
    std::unique_ptr<FILE, int (*)(FILE*)> output(popen(command.c_str(), "r"), pclose);
    char line[256] = {};
    if (!output || !std::fgets(line, sizeof line, output.get())) return 0;
    const char* value = std::strchr(line, '=');
    return value ? std::atoi(value + 1) : 0;
}

// What is at an image path, or the image folder, that the program cannot use, or a map larger than
// OpenGL takes. The program runs as an unprivileged user, for whom a file's mode counts (as root it
// would read anything). A path it cannot open gets the Error box; a folder it cannot use gets one for
// all eleven; a map too large is shrunk to fit and its body still textured.
TEST(EndToEndBadImages, UnusableImagesAreNeverSilent) {
    struct Case {
        const char* name;
        void (*place)(const WorkFolder& folder, int limit);
        bool errorBox;    // otherwise no box at all
        bool sunTextured; // false: the whole folder is lost
        bool earthRed;    // otherwise grey
    };
    const Case cases[] = {
        {"a file the user may not read",
         [](const WorkFolder& folder, int) {
             folder.write("image/earth.bmp", solidBmp(64, 32, earthRed));
             ASSERT_EQ(chmod((folder.path() + "/image/earth.bmp").c_str(), 0), 0);
         },
         true, true, false},
        {"a symbolic link loop",
         [](const WorkFolder& folder, int) {
             ASSERT_EQ(symlink("earth.bmp", (folder.path() + "/image/earth.bmp").c_str()), 0);
         },
         true, true, false},
        {"image a file",
         [](const WorkFolder& folder, int) {
             std::filesystem::remove_all(folder.path() + "/image");
             folder.write("image", solidBmp(64, 32, earthRed));
         },
         true, false, false},
        {"image a folder the user may not enter",
         [](const WorkFolder& folder, int) { ASSERT_EQ(chmod((folder.path() + "/image").c_str(), 0644), 0); },
         true, false, false},
        {"a 1 x 100000 map",
         [](const WorkFolder& folder, int) {
             folder.write("image/earth.bmp", solidBmp(1, 100000, earthRed));
         },
         false, true, true},
        {"a map one pixel wider than OpenGL's limit",
         [](const WorkFolder& folder, int limit) {
             folder.write("image/earth.bmp", solidBmp(limit + 1, 2, earthRed));
         },
         false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        const int limit = maxTextureSize(session.display.name());
        ASSERT_GE(limit, 1024) << "glxinfo -l gives no GL_MAX_TEXTURE_SIZE";
        session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue));
        c.place(session.folder, limit);
        if (const std::string why = session.startUnprivileged(); !why.empty()) GTEST_SKIP() << why;

        if (c.errorBox) {
            ASSERT_TRUE(session.waitForWindow("Error", 20s)) << session.whyNo("the Error box");
            ASSERT_TRUE(session.answerBox("Error")) << session.whyNo("the Error box's end");
        }
        ASSERT_TRUE(session.waitForMainWindow()) << session.whyNo("the Astrolume window");
        Picture picture;
        ASSERT_TRUE(
            session.waitForPicture([](const Picture& p) { return isLit(p.at(axis, axis)); }, &picture))
            << session.whyNotShown(picture, "unusable");
        std::this_thread::sleep_for(1s);
        EXPECT_EQ(session.display.mappedTitles(), std::vector<std::string>{mainTitle}) << "a second box";

        const Rgb sun = picture.at(axis, axis);
        const Rgb earth = picture.at(pixelX(atRest::earth.x), axis);
        EXPECT_EQ(showsSunBlue(sun), c.sunTextured)
            << "Sun " << describe(sun) << "; " << session.keep(picture, "unusable");
        EXPECT_TRUE(c.earthRed ? showsEarthRed(earth) : isGrey(earth))
            << "Earth " << describe(earth) << "; " << session.keep(picture, "unusable");
        EXPECT_TRUE(session.program().running()) << session.program().log();
        static_cast<void>(chmod((session.folder.path() + "/image").c_str(), 0755)); // so it can be removed
    }
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

        auto error = session.waitForWindow("Error", 20s);
        ASSERT_TRUE(error) << session.whyNo("the Error box");
        // The box comes while the images load, before the main window has drawn anything.
        Picture beforeAnswer = session.display.grab(0, 0, windowSize, windowSize);
        EXPECT_FALSE(showsTheSun(beforeAnswer)) << session.keep(beforeAnswer, "before-answer");

        ASSERT_TRUE(session.answerBox("Error")) << session.whyNo("the Error box's end");
        ASSERT_TRUE(session.waitForMainWindow()) << session.whyNo("the Astrolume window");
        Picture picture;
        ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture))
            << session.whyNotShown(picture, "after-error");
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

// Where no box can be shown, each box the program would show is written to stderr instead, title then
// text, line by line, exactly as the box would say it (a text's own last line feed ends its last line):
// GTK missing (an empty file found first on the library path stands for it; were the program
// linked with GTK, it would not even start), or GTK unable to reach its display.
TEST(EndToEndBadImages, WithoutABoxEveryMessageGoesToStderr) {
    struct Case {
        const char* name;
        const char* why; // the program's line on stderr
        std::vector<std::pair<std::string, std::string>> (*environment)(const WorkFolder& folder);
    };
    const Case cases[] = {
        {"GTK missing", "Astrolume: cannot load GTK 3",
         [](const WorkFolder& folder) {
             folder.write("no-gtk/libgtk-3.so.0", "");
             return std::vector<std::pair<std::string, std::string>>{
                 {"LD_LIBRARY_PATH", folder.path() + "/no-gtk"}};
         }},
        {"GTK unable to start", "Astrolume: GTK 3 cannot start",
         [](const WorkFolder& folder) {
             return std::vector<std::pair<std::string, std::string>>{
                 {"GDK_BACKEND", "wayland"}, {"WAYLAND_DISPLAY", folder.path() + "/no-wayland"}};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session;
        session.folder.write("image/earth.bmp", bmpWithUnknownHeader());
        ASSERT_EQ(symlink("Moon.bmp", (session.folder.path() + "/image/Moon.bmp").c_str()), 0); // a loop
        session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue));
        session.start(c.environment(session.folder));

        ASSERT_TRUE(session.waitForMainWindow()) << session.whyNo("the Astrolume window");
        Picture picture;
        ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture))
            << session.whyNotShown(picture, "without-gtk");
        EXPECT_EQ(session.display.mappedTitles(), std::vector<std::string>{mainTitle});
        const Rgb earth = picture.at(pixelX(atRest::earth.x), axis);
        EXPECT_TRUE(isGrey(earth)) << "Earth " << describe(earth) << "; "
                                   << session.keep(picture, "without-gtk");
        ASSERT_TRUE(session.choose(ENTRY_EARTH)) << session.whyNo("the menu opened and closed");
        const std::string lastLine = "공전주기 : 365.24일\n";
        EXPECT_TRUE(waitUntil(5s, [&] {
            return session.program().log().find(lastLine) != std::string::npos;
        })) << session.program().log();
        // Everything after the line that says why there is no box, byte for byte.
        const std::string log = session.program().log();
        const size_t why = log.find(c.why);
        ASSERT_NE(why, std::string::npos) << log;
        EXPECT_EQ(log.substr(log.find('\n', why) + 1),
                  "Error\nUnknown DIB file format.\n"
                  "Error\nFailed to open DIB file image/Moon.bmp.\n"
                  "지구\n반지름(Km) : 6378.1\n질량(10*24승 Kg) : 5.97\n밀도(g/cm3) : 5.52\n"
                  "중력(지구=1) : 1.00\n자전주기 : 23.93시간\n" +
                      lastLine);
        EXPECT_TRUE(session.program().running());
    }
}

TEST(EndToEndBadImages, MissingImagesAreDrawnGreyWithoutABox) {
    Session session;
    session.folder.write("image/Sun.bmp", solidBmp(64, 32, sunBlue)); // the only image there is
    session.start();
    ASSERT_TRUE(session.waitForMainWindow()) << session.whyNo("the Astrolume window");
    Picture picture;
    ASSERT_TRUE(session.waitForPicture(showsTheSun, &picture)) << session.whyNotShown(picture, "missing");
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
