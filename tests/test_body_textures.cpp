// Body textures: the eleven images from image/, one texture each, on real OpenGL.
#include "body_image_names.h"
#include "image/image.h"
#include "scene/scene.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/gl_test_window.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_deadline.h"
#include "tests/support/unprivileged.h"

#include <GL/gl.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace {

// The names the build installs (cmake/body_images.cmake), which the program must open.
const char* const* const imageNames = bodyImageNames;
static_assert(std::size(bodyImageNames) == BODY_COUNT);

// A colour of its own for every body, so a texture shows where it came from.
uint32_t bodyColour(int slot) {
    return 0x102030u + 0x0f0a05u * static_cast<uint32_t>(slot) * 3;
}

Bytes solidImage(int width, int height, uint32_t colour) {
    BmpParts parts;
    parts.width = width;
    parts.height = height;
    parts.pixels =
        packRows(std::vector<std::vector<uint32_t>>(height, std::vector<uint32_t>(width, colour)), 24);
    return buildBmp(parts);
}

// A stand-in for what OpenGL says of its limits (the calls are wrapped at link time, see
// tests/scene_tests.cmake): a smaller GL_MAX_TEXTURE_SIZE, and a proxy texture that is refused when a
// side is over a size, as a driver short of memory refuses one (Mesa never does). 0: OpenGL's answer.
struct StandInLimits {
    GLint maxTextureSize = 0;
    GLint proxyTakesUpTo = 0;
};
StandInLimits standIn;
bool proxyRefused = false;

// What loading asked of OpenGL and did, stand-in or not: the sizes of proxy textures, of uploads
// with pixels, and how many maps were copied smaller.
struct TextureCalls {
    std::vector<std::pair<int, int>> proxies;
    std::vector<std::pair<int, int>> uploads;
    int shrinks = 0;
};
TextureCalls calls;

} // namespace

extern "C" void __real_glGetIntegerv(GLenum name, GLint* value);
extern "C" void __wrap_glGetIntegerv(GLenum name, GLint* value) {
    if (name == GL_MAX_TEXTURE_SIZE && standIn.maxTextureSize)
        *value = standIn.maxTextureSize;
    else
        __real_glGetIntegerv(name, value);
}
extern "C" void __real_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void* pixels);
extern "C" void __wrap_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                                    GLsizei height, GLint border, GLenum format, GLenum type,
                                    const void* pixels) {
    if (target == GL_PROXY_TEXTURE_2D) {
        calls.proxies.emplace_back(width, height);
        proxyRefused =
            standIn.proxyTakesUpTo && (width > standIn.proxyTakesUpTo || height > standIn.proxyTakesUpTo);
    } else if (target == GL_TEXTURE_2D && pixels) {
        calls.uploads.emplace_back(width, height);
    }
    __real_glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}
extern "C" void __real_glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value);
extern "C" void __wrap_glGetTexLevelParameteriv(GLenum target, GLint level, GLenum name, GLint* value) {
    // A refused proxy reads as zero in every size, as OpenGL answers one.
    if (target == GL_PROXY_TEXTURE_2D && proxyRefused)
        *value = 0;
    else
        __real_glGetTexLevelParameteriv(target, level, name, value);
}
extern "C" void __real__Z21shrinkByAreaAveragingPKhiiiPhii(const unsigned char* from, int fromWidth,
                                                           int fromHeight, int channels, unsigned char* to,
                                                           int toWidth, int toHeight);
extern "C" void __wrap__Z21shrinkByAreaAveragingPKhiiiPhii(const unsigned char* from, int fromWidth,
                                                           int fromHeight, int channels, unsigned char* to,
                                                           int toWidth, int toHeight) {
    ++calls.shrinks;
    __real__Z21shrinkByAreaAveragingPKhiiiPhii(from, fromWidth, fromHeight, channels, to, toWidth, toHeight);
}

namespace {

// Level 0 of a texture as packed RGB rows; empty when it has no image.
std::vector<unsigned char> textureImage(GLuint texture, int* width = nullptr) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    if (width) *width = w;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3);
    if (!rgb.empty()) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    return rgb;
}

class BodyTextures : public testing::Test {
  protected:
    void SetUp() override {
        resetSceneForTest();
        clearRecordedMessageBoxes();
        directory = makeTestDirectory();
        ASSERT_EQ(mkdir((directory + "/image").c_str(), 0755), 0);
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previousDirectory = cwd;
        ASSERT_EQ(chdir(directory.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(previousDirectory.c_str()), 0);
        removeTestDirectory(directory);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
    void writeImage(int slot, const Bytes& bytes) {
        EXPECT_TRUE(writeBytes("image/" + std::string(imageNames[slot]), bytes)) << imageNames[slot];
    }
    void writeAllImages() {
        for (int slot = 0; slot < BODY_COUNT; ++slot)
            writeImage(slot, solidImage(4, 2, bodyColour(slot)));
    }

    std::string directory;
    std::string previousDirectory;
};

// Each slot holds its own body's image; a body whose file is missing is untextured without a word, one
// whose file does not decode is untextured after one "Error" box. Either way the slot has a texture.
TEST_F(BodyTextures, EachSlotHoldsItsBodysImageOrNone) {
    struct Case {
        const char* name;
        const char* files; // by BodyIndex: '+' its image, '-' no file, '!' a file that does not decode
        const char* box;   // null: no box
    };
    const Case cases[] = {
        {"all eleven", "+++++++++++", nullptr},
        {"only the Moon and Mars", "----++-----", nullptr},
        {"Saturn's file has a 108-byte header", "+++++++!+++", "Unknown DIB file format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearRecordedMessageBoxes();
        BmpParts unknownHeader;
        unknownHeader.headerSize = 108;
        unknownHeader.pixels = Bytes(4, 0);
        for (int slot = 0; slot < BODY_COUNT; ++slot) {
            if (c.files[slot] == '+') writeImage(slot, solidImage(4, 2, bodyColour(slot)));
            if (c.files[slot] == '!') writeImage(slot, buildBmp(unknownHeader));
            if (c.files[slot] == '-') std::remove(("image/" + std::string(imageNames[slot])).c_str());
        }
        loadBodyTextures();
        std::set<GLuint> names(std::begin(sceneState.bodyTextures), std::end(sceneState.bodyTextures));
        EXPECT_EQ(names.size(), size_t(BODY_COUNT));
        EXPECT_EQ(names.count(0), 0u);
        for (int slot = 0; slot < BODY_COUNT; ++slot) {
            SCOPED_TRACE(imageNames[slot]);
            const GLuint texture = sceneState.bodyTextures[slot];
            EXPECT_TRUE(glIsTexture(texture));
            int width = 0;
            const std::vector<unsigned char> rgb = textureImage(texture, &width);
            if (c.files[slot] != '+') {
                EXPECT_TRUE(rgb.empty());
                continue;
            }
            ASSERT_EQ(width, 4);
            ASSERT_EQ(rgb.size(), 4u * 2 * 3);
            const uint32_t colour = bodyColour(slot);
            EXPECT_EQ(rgb[0], (colour >> 16) & 0xff);
            EXPECT_EQ(rgb[1], (colour >> 8) & 0xff);
            EXPECT_EQ(rgb[2], colour & 0xff);
        }
        if (c.box) {
            ASSERT_EQ(recordedMessageBoxes().size(), 1u);
            EXPECT_EQ(recordedMessageBoxes()[0].caption, "Error");
            EXPECT_EQ(recordedMessageBoxes()[0].text, c.box);
        } else {
            EXPECT_TRUE(recordedMessageBoxes().empty());
        }
        glDeleteTextures(BODY_COUNT, sceneState.bodyTextures);
    }
}

TEST_F(BodyTextures, RowsOfAnyWidthUploadIntact) {
    // Six pixels make rows of 18 bytes, which OpenGL's default row alignment of 4 would misread.
    for (int width : {6, 5, 7, 1}) {
        SCOPED_TRACE(width);
        std::vector<std::vector<uint32_t>> rows(3, std::vector<uint32_t>(width));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x)
                rows[y][x] = 0x010203u * static_cast<uint32_t>(1 + x + 10 * y);
        BmpParts parts;
        parts.width = width;
        parts.height = 3;
        parts.pixels = packRows(rows, 24);
        writeImage(BODY_EARTH, buildBmp(parts));
        loadBodyTextures();
        const std::vector<unsigned char> rgb = textureImage(sceneState.bodyTextures[BODY_EARTH]);
        ASSERT_EQ(rgb.size(), size_t(width) * 3 * 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                const unsigned char* p = &rgb[(size_t(y) * width + x) * 3];
                EXPECT_EQ(p[0], 1 + x + 10 * y);
                EXPECT_EQ(p[1], 2 * (1 + x + 10 * y));
                EXPECT_EQ(p[2], 3 * (1 + x + 10 * y));
            }
    }
}

// A close-up shows its body in its image's colours (the lit sphere keeps their proportions); a body
// without an image is lit grey.
TEST_F(BodyTextures, CloseUpShowsTheBodysImageOrLitGrey) {
    struct Case {
        int view;
        int body;
        uint32_t colour;                // 0: no image
        double redToGreen, blueToGreen; // expected proportions at the centre
    };
    const Case cases[] = {
        {VIEW_MARS, BODY_MARS, 0xc86432, 2.0, 0.5}, // 200, 100, 50
        {VIEW_JUPITER, BODY_JUPITER, 0, 1.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(imageNames[c.body]);
        writeAllImages();
        if (c.colour) {
            writeImage(c.body, solidImage(8, 4, c.colour));
        } else {
            ASSERT_EQ(unlink(("image/" + std::string(imageNames[c.body])).c_str()), 0);
        }
        loadBodyTextures();
        sceneState.currentView = c.view;
        const Rgb centre = drawFrame().atModel(0, 0);
        ASSERT_GT(centre.green, 20);
        EXPECT_NEAR(double(centre.red) / centre.green, c.redToGreen, c.colour ? 0.1 : 0.0);
        EXPECT_NEAR(double(centre.blue) / centre.green, c.blueToGreen, c.colour ? 0.1 : 0.0);
        glDeleteTextures(BODY_COUNT, sceneState.bodyTextures);
    }
}

TEST_F(BodyTextures, LoadingLeavesPlutoBoundAndModulationOn) {
    writeAllImages();
    loadBodyTextures();
    GLint bound = 0, mode = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(GLuint(bound), sceneState.bodyTextures[BODY_PLUTO]);
    EXPECT_EQ(mode, GL_MODULATE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint filter = 0, wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(wrap, GL_REPEAT); // the sphere's s runs from 0 down to -1
}

TEST_F(BodyTextures, ProgramOpensTheImagesTheBuildInstalls) {
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        EXPECT_EQ(bodyImagePath(slot), "image/" + std::string(imageNames[slot])) << slot;
    EXPECT_EQ(bodyImagePath(-1), nullptr);
    EXPECT_EQ(bodyImagePath(BODY_COUNT), nullptr);
}

TEST_F(BodyTextures, ImageIfPresentIsSilentForMissingFiles) {
    EXPECT_EQ(loadImageIfPresent(nullptr), nullptr);
    EXPECT_EQ(loadImageIfPresent("image/none.bmp"), nullptr);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    writeImage(BODY_SUN, solidImage(3, 1, 0x112233));
    RgbImage* image = loadImageIfPresent("image/Sun.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(pixelAt(image, 2, 0), 0x112233u);
    freeRgbImage(image);
}

// Whatever a shared folder may hold where an image should be: never a wait (a named pipe with no
// writer, a device that never ends), but the box that names the path, and no image. So too for what
// is there but cannot be opened: a file the user may not read (as root, who reads anything, that row
// is read as the user nobody), a symbolic link loop.
TEST_F(BodyTextures, ImageIfPresentRefusesWhatCannotBeReadWithoutWaiting) {
    const TestDeadline deadline(5);
    struct Case {
        const char* what;
        bool (*make)(const char* path);
        bool unprivileged = false; // read as a user for whom the file's mode counts
    };
    const Case cases[] = {
        {"named pipe", [](const char* path) { return mkfifo(path, 0644) == 0; }},
        {"socket",
         [](const char* path) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path);
             int listening = socket(AF_UNIX, SOCK_STREAM, 0);
             bool bound = bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             close(listening); // the socket file stays behind
             return bound;
         }},
        {"endless device", [](const char* path) { return symlink("/dev/zero", path) == 0; }},
        {"random device", [](const char* path) { return symlink("/dev/urandom", path) == 0; }},
        {"folder", [](const char* path) { return mkdir(path, 0755) == 0; }},
        {"symbolic link loop", [](const char* path) { return symlink(imageNames[BODY_EARTH], path) == 0; }},
        {"file the user may not read",
         [](const char* path) { return writeBytes(path, solidImage(2, 2, 0x445566)) && chmod(path, 0) == 0; },
         true},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = std::string("image/") + imageNames[BODY_EARTH];
        const std::string why = c.unprivileged ? whyNoUnprivilegedUser(directory) : "";
        if (!why.empty()) {
            skipped += std::string(c.what) + ": " + why + "\n";
            continue;
        }
        clearRecordedMessageBoxes();
        ASSERT_TRUE(c.make(path.c_str()));
        RgbImage* image = nullptr;
        {
            const ActingUnprivileged acting(c.unprivileged);
            image = loadImageIfPresent(path.c_str());
        }
        EXPECT_EQ(image, nullptr);
        freeRgbImage(image);
        ASSERT_EQ(recordedMessageBoxes().size(), 1u);
        EXPECT_EQ(recordedMessageBoxes()[0].text, "Failed to open DIB file " + path + ".\n");
        EXPECT_EQ(remove(path.c_str()), 0);
    }
    if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// An image folder that is there but cannot be used gets one box that names it, not one per body;
// a folder that is not there at all means no images and no word. Either way every body is untextured.
// A folder the user may not enter is loaded from as the user nobody when the tests run as root.
TEST_F(BodyTextures, AnUnusableImageFolderGetsOneBoxThatNamesIt) {
    const TestDeadline deadline(5);
    struct Case {
        const char* what;
        bool (*make)();
        bool box;
        bool unprivileged = false; // loaded as a user for whom the folder's mode counts
    };
    const Case cases[] = {
        {"no folder", [] { return true; }, false},
        {"a file", [] { return writeBytes("image", solidImage(2, 2, 0x445566)); }, true},
        {"a symbolic link loop", [] { return symlink("image", "image") == 0; }, true},
        {"a folder the user may not enter", [] { return mkdir("image", 0644) == 0; }, true, true},
    };
    std::string skipped;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string why = c.unprivileged ? whyNoUnprivilegedUser(directory) : "";
        if (!why.empty()) {
            skipped += std::string(c.what) + ": " + why + "\n";
            continue;
        }
        clearRecordedMessageBoxes();
        ASSERT_EQ(rmdir("image"), 0);
        ASSERT_TRUE(c.make());
        {
            const ActingUnprivileged acting(c.unprivileged);
            loadBodyTextures();
        }
        for (GLuint texture : sceneState.bodyTextures)
            EXPECT_TRUE(textureImage(texture).empty());
        if (c.box) {
            ASSERT_EQ(recordedMessageBoxes().size(), 1u);
            EXPECT_EQ(recordedMessageBoxes()[0].caption, "Error");
            EXPECT_EQ(recordedMessageBoxes()[0].text, "Failed to open image folder image.\n");
        } else {
            EXPECT_TRUE(recordedMessageBoxes().empty());
        }
        glDeleteTextures(BODY_COUNT, sceneState.bodyTextures);
        if (c.box) {
            ASSERT_EQ(remove("image"), 0);
        }
        ASSERT_EQ(mkdir("image", 0755), 0);
    }
    if (!skipped.empty()) GTEST_SKIP() << skipped;
}

// A map with a side beyond what OpenGL takes is shrunk once to the largest size it takes, keeping its
// shape as far as whole pixels allow, and its colours; a map at the limit reaches OpenGL as it is, with
// no proxy texture asked and no copy. Where OpenGL refuses the proxy of that size, half of it is asked,
// and so on.
TEST_F(BodyTextures, MapsLargerThanOpenGLTakesAreShrunkToFit) {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    ASSERT_GE(limit, 1024);
    struct Case {
        int width, height;
        StandInLimits standIn;
        std::vector<std::pair<int, int>> proxies; // the sizes asked; none: no copy either
        int fittedWidth, fittedHeight;
    };
    const Case cases[] = {
        {1, 100000, {}, {{1, limit}}, 1, limit},
        {limit + 1, 2, {}, {{limit, 1}}, limit, 1},
        {2 * limit, 4, {}, {{limit, 2}}, limit, 2},
        {limit, 3, {}, {}, limit, 3},
        {64, 64, {64, 0}, {}, 64, 64},
        {65, 3, {64, 0}, {{64, 2}}, 64, 2},
        {128, 64, {64, 16}, {{64, 32}, {32, 16}, {16, 8}}, 16, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height) + ", limit " +
                     std::to_string(c.standIn.maxTextureSize ? c.standIn.maxTextureSize : limit) +
                     ", proxy up to " + std::to_string(c.standIn.proxyTakesUpTo));
        clearRecordedMessageBoxes();
        writeImage(BODY_EARTH, solidImage(c.width, c.height, 0xd23c28));
        calls = {};
        standIn = c.standIn;
        loadBodyTextures();
        standIn = {};
        EXPECT_EQ(calls.proxies, c.proxies);
        EXPECT_EQ(calls.shrinks, c.proxies.empty() ? 0 : 1);
        EXPECT_EQ(calls.uploads, (std::vector<std::pair<int, int>>{{c.fittedWidth, c.fittedHeight}}));
        int width = 0;
        const std::vector<unsigned char> rgb = textureImage(sceneState.bodyTextures[BODY_EARTH], &width);
        EXPECT_EQ(width, c.fittedWidth);
        ASSERT_EQ(rgb.size(), size_t(c.fittedWidth) * c.fittedHeight * 3);
        EXPECT_EQ(rgb[0], 0xd2);
        EXPECT_EQ(rgb[rgb.size() - 2], 0x3c);
        EXPECT_EQ(rgb[rgb.size() - 1], 0x28);
        EXPECT_TRUE(recordedMessageBoxes().empty());
        glDeleteTextures(BODY_COUNT, sceneState.bodyTextures);
    }
}

// Area averaging: each pixel the mean of the area it covers, a pixel cut by a boundary shared by
// weight; rounded to the nearest level. One channel here; rows are kept in their order.
TEST(AreaAveraging, EachPixelIsTheMeanOfTheAreaItCovers) {
    struct Case {
        const char* name;
        std::vector<unsigned char> from;
        int fromWidth, fromHeight;
        std::vector<unsigned char> expected;
        int toWidth, toHeight;
    };
    const Case cases[] = {
        {"pairs", {0, 100, 200, 250}, 4, 1, {50, 225}, 2, 1},
        {"thirds shared", {0, 90, 180}, 3, 1, {30, 150}, 2, 1}, // (2*0 + 90) / 3, (90 + 2*180) / 3
        {"rows", {10, 20, 30, 50}, 1, 4, {15, 40}, 1, 2},
        {"to one", {1, 2, 3, 4, 5, 6}, 3, 2, {4}, 1, 1}, // 21 / 6 = 3.5, rounded up
        {"unchanged", {7, 8, 9}, 3, 1, {7, 8, 9}, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> to(c.expected.size(), 0xee);
        shrinkByAreaAveraging(c.from.data(), c.fromWidth, c.fromHeight, 1, to.data(), c.toWidth, c.toHeight);
        EXPECT_EQ(to, c.expected);
    }
}

} // namespace
