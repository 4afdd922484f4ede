// Fixture for decoder tests: a fresh folder, no boxes recorded yet, load() for bytes written to a file and
// expectRefusal() for bytes that must not decode.
#pragma once

#include "image/image.h"
#include "tests/support/message_box_recorder.h"
#include "tools/bmp_builder.h"

#include <gtest/gtest.h>
#include <string>

class BmpFileTest : public ::testing::Test {
  public:
    void SetUp() override {
        clearRecordedMessageBoxes();
        directory = makeTestDirectory();
        path = directory + "/image.bmp";
    }
    void TearDown() override { removeTestDirectory(directory); }
    RgbImage* load(const Bytes& bytes) {
        EXPECT_TRUE(writeBytes(path, bytes)) << path;
        return loadBmpImage(path.c_str());
    }
    // Loading gives no image and exactly one "Error" box with `text`.
    void expectRefusal(const Bytes& bytes, const std::string& text) {
        clearRecordedMessageBoxes();
        RgbImage* image = load(bytes);
        EXPECT_EQ(image, nullptr);
        freeRgbImage(image);
        ASSERT_EQ(recordedMessageBoxes().size(), 1u);
        EXPECT_EQ(recordedMessageBoxes()[0].caption, "Error");
        EXPECT_EQ(recordedMessageBoxes()[0].text, text);
        EXPECT_EQ(recordedMessageBoxes()[0].kind, MessageBoxKind::error); // owned by the focused window
    }
    std::string directory;
    std::string path;
};

// Pixel of a decoded image as 0xRRGGBB; y counts from the bottom row.
inline uint32_t pixelAt(const RgbImage* image, int x, int y) {
    const unsigned char* p = image->pixels + (static_cast<size_t>(y) * image->width + x) * 3;
    return static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
}
