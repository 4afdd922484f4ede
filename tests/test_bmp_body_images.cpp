// make_body_images on JPEGs written here: every body gets its BMP, and the program's decoder reads it back.
#include "image/image.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>

namespace {

// Writes a JPEG whose pixel (x, y), y from the top, is colourAt(x, y) as 0xRRGGBB (grey when `grey`:
// the low byte). Quality 100: flat areas survive within a level or two.
void writeJpeg(const std::string& path, int width, int height, bool grey,
               const std::function<uint32_t(int, int)>& colourAt) {
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, out);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row;
    while (info.next_scanline < info.image_height) {
        row.clear();
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = colourAt(x, static_cast<int>(info.next_scanline));
            if (grey)
                row.push_back(rgb & 0xff);
            else
                row.insert(row.end(),
                           {static_cast<unsigned char>(rgb >> 16), static_cast<unsigned char>(rgb >> 8),
                            static_cast<unsigned char>(rgb)});
        }
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(out);
}

void writeJpeg(const std::string& path, int width, int height, uint32_t rgb, bool grey) {
    writeJpeg(path, width, height, grey, [rgb](int, int) { return rgb; });
}

struct Body {
    const char* source;
    const char* target;
    int width;
    int height;
    uint32_t color;
    bool grey;
    int madeWidth = 0; // size of the BMP made, where it differs from the map's
    int madeHeight = 0;
};

const Body bodies[] = {
    {"sun.jpg", "Sun.bmp", 30, 24, 0xffc040, false, 8, 8}, // only the glow's core is kept
    {"mercury.jpg", "Mercury.bmp", 9, 5, 0x808080, false},
    {"venus.jpg", "Venus.bmp", 10, 6, 0xe0c080, false},
    {"earth.jpg", "earth.bmp", 17, 9, 0x2050a0, false},
    {"moon.jpg", "Moon.bmp", 13, 7, 0x9a9a9a, true},
    {"mars.jpg", "Mars.bmp", 8, 4, 0xc04020, false},
    {"jupiter.jpg", "Jupiter.bmp", 24, 12, 0xd0a070, false},
    {"saturn.jpg", "saturn.bmp", 11, 3, 0xe0d0a0, false},
    {"uranus.jpg", "Uranus.bmp", 7, 7, 0x80e0e0, false},
    {"neptune.jpg", "Neptune.bmp", 6, 5, 0x4060ff, false},
    {"pluto.jpg", "Pluto.bmp", 5, 3, 0xa08060, false},
};

class BmpBodyImagesTest : public BmpFileTest {
  protected:
    int runTool(const std::string& source, const std::string& out) {
        std::string command =
            std::string("'") + MAKE_BODY_IMAGES_PATH + "' '" + source + "' '" + out + "' 2>/dev/null";
        return std::system(command.c_str());
    }
    // Every body's map, `side` pixels square in the body's colour.
    void writeMaps(int side) {
        for (const Body& body : bodies)
            writeJpeg(directory + "/" + body.source, side, side, body.color, body.grey);
    }
    // Every map at 8 x 8 but `source`, drawn by `colourAt`; runs the tool into the folder and loads `target`.
    RgbImage* convertWith(const std::string& source, int width, int height,
                          const std::function<uint32_t(int, int)>& colourAt, const std::string& target) {
        writeMaps(8);
        writeJpeg(directory + "/" + source, width, height, false, colourAt);
        EXPECT_EQ(runTool(directory, directory), 0);
        return loadBmpImage((directory + "/" + target).c_str());
    }
};

TEST_F(BmpBodyImagesTest, EveryMapBecomesABmpTheDecoderReads) {
    for (const Body& body : bodies)
        writeJpeg(directory + "/" + body.source, body.width, body.height, body.color, body.grey);
    std::string out = directory + "/made/images"; // made by the tool
    ASSERT_EQ(runTool(directory, out), 0);
    for (const Body& body : bodies) {
        SCOPED_TRACE(body.target);
        std::string path = out + "/" + body.target;
        Bytes file = readBytes(path);
        ASSERT_GE(file.size(), 54u);
        EXPECT_EQ(file[28], body.grey ? 8 : 24); // bits per pixel
        RgbImage* image = loadBmpImage(path.c_str());
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, body.madeWidth ? body.madeWidth : body.width);
        EXPECT_EQ(image->height, body.madeHeight ? body.madeHeight : body.height);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                uint32_t got = pixelAt(image, x, y);
                for (int shift : {0, 8, 16})
                    EXPECT_NEAR(int(got >> shift & 0xff), int(body.color >> shift & 0xff), 3)
                        << x << "," << y;
            }
        freeRgbImage(image);
    }
    EXPECT_TRUE(recordedMessageBoxes().empty());
}

// Rows are written bottom-up: a map with a bright top half keeps it at the top.
TEST_F(BmpBodyImagesTest, TopOfTheMapStaysOnTop) {
    // Mars's map: top half white, bottom half black.
    auto topHalfWhite = [](int, int y) { return y < 8 ? 0xffffffu : 0u; };
    RgbImage* image = convertWith("mars.jpg", 16, 16, topHalfWhite, "Mars.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_GT(pixelAt(image, 4, 15) & 0xff, 240u); // top row
    EXPECT_LT(pixelAt(image, 4, 0) & 0xff, 15u);   // bottom row
    freeRgbImage(image);
}

// Maps larger than a body can show (512 x 256, the Moon 256 x 128) are averaged down to fit, keeping
// their shape: every pixel made is the mean of the area it covers. Picking one pixel of each area, or
// blending the two or four nearest, would give black or white here, never the mean.
TEST_F(BmpBodyImagesTest, LargeMapsAreAveragedDownToWhatABodyCanShow) {
    struct Case {
        const char* what;
        const char* source;
        const char* target;
        int width, height;         // of the map
        int madeWidth, madeHeight; // of the BMP made
        uint32_t (*grey)(int x, int y);
        int mean, tolerance; // of every pixel made
    };
    const auto oneIn4x4 = [](int x, int y) { return x % 4 == 0 && y % 4 == 0 ? 255u : 0u; };
    const auto checkerboard = [](int x, int y) { return (x + y) % 2 ? 255u : 0u; };
    const Case cases[] = {
        {"a quarter of the size", "mars.jpg", "Mars.bmp", 2048, 1024, 512, 256, oneIn4x4, 16, 5},
        {"by 2.93, not a whole number", "mars.jpg", "Mars.bmp", 1500, 750, 512, 256, checkerboard, 128, 24},
        {"a square map stays square", "mars.jpg", "Mars.bmp", 1024, 1024, 256, 256, oneIn4x4, 16, 5},
        {"the Moon, never drawn large", "moon.jpg", "Moon.bmp", 1024, 512, 256, 128, oneIn4x4, 16, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RgbImage* image = convertWith(
            c.source, c.width, c.height, [&c](int x, int y) { return c.grey(x, y) * 0x010101u; }, c.target);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, c.madeWidth);
        EXPECT_EQ(image->height, c.madeHeight);
        int outside = 0;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x)
                outside += std::abs(int(pixelAt(image, x, y) & 0xff) - c.mean) > c.tolerance;
        EXPECT_EQ(outside, 0);
        freeRgbImage(image);
    }
}

// The Sun's picture is a glow on black: only its bright middle third becomes the Sun's surface.
TEST_F(BmpBodyImagesTest, SunKeepsTheBrightCoreOfItsGlow) {
    RgbImage* image = convertWith(
        "sun.jpg", 48, 48,
        [](int x, int y) { return (x >= 16 && x < 32 && y >= 16 && y < 32) ? 0xfff0c0u : 0x000000u; },
        "Sun.bmp");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 16);
    EXPECT_EQ(image->height, 16);
    // Away from the JPEG's blurred edge every pixel is the core's colour, none the black around it.
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
            EXPECT_GT(pixelAt(image, x, y) >> 16 & 0xff, 240u) << x << "," << y;
    freeRgbImage(image);
}

TEST_F(BmpBodyImagesTest, MissingOrBrokenMapsFail) {
    struct Case {
        const char* name;
        const char* brokenFile;
        Bytes content;
    };
    const Case cases[] = {
        {"missing pluto", "pluto.jpg", {}},
        {"pluto is not a JPEG", "pluto.jpg", {'B', 'M', 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeMaps(4);
        std::string broken = directory + "/" + c.brokenFile;
        std::remove(broken.c_str());
        if (!c.content.empty()) {
            ASSERT_TRUE(writeBytes(broken, c.content));
        }
        EXPECT_NE(runTool(directory, directory + "/out"), 0);
    }
    EXPECT_NE(runTool(directory + "/nowhere", directory + "/out"), 0);
}

} // namespace
