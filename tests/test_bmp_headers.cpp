// Header handling: colour counts, files without the "BM" header, pixel offsets, row order, header sizes.
#include "image/bmp_format.h"
#include "image/image.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>

namespace {

class BmpHeaderTest : public BmpFileTest {};

// The bitmap header alone (what bmpColorCount sees), from a file built without the "BM" header.
Bytes bitmapHeader(BmpParts parts) {
    parts.fileHeader = false;
    parts.palette.clear();
    return buildBmp(parts);
}

TEST(BmpColorCountTest, CountComesFromColoursUsedOrBitsPerPixel) {
    struct Case {
        const char* name;
        uint32_t headerSize;
        uint16_t bitCount;
        uint32_t colorsUsed;
        uint16_t expected;
    };
    const Case cases[] = {
        {"1 bit", 40, 1, 0, 2},
        {"4 bits", 40, 4, 0, 16},
        {"8 bits, colours used 0", 40, 8, 0, 256},
        {"8 bits, colours used 16", 40, 8, 16, 16},
        {"colours used 65536 keeps its low 16 bits", 40, 8, 65536, 0},
        {"colours used 65538 keeps its low 16 bits", 40, 8, 65538, 2},
        {"24 bits", 40, 24, 0, 0},
        {"24 bits with colours used", 40, 24, 20, 20},
        {"16 bits", 40, 16, 0, 0},
        {"2 bits has no table of its own", 40, 2, 0, 0},
        {"unknown header sizes still count", 108, 4, 0, 16},
        {"core 1 bit", 12, 1, 0, 2},
        {"core 8 bits", 12, 8, 0, 256},
        {"core 24 bits", 12, 24, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts;
        parts.headerSize = c.headerSize;
        parts.bitCount = c.bitCount;
        parts.colorsUsed = c.colorsUsed;
        Bytes header = bitmapHeader(parts);
        EXPECT_EQ(bmpColorCount(header.data(), static_cast<uint32_t>(header.size())), c.expected);
    }
}

TEST(BmpColorCountTest, FieldsBeyondTheAvailableBytesAreNotRead) {
    BmpParts parts;
    parts.bitCount = 8;
    parts.colorsUsed = 7;
    Bytes header = bitmapHeader(parts);
    EXPECT_EQ(bmpColorCount(header.data(), 36), 7);
    EXPECT_EQ(bmpColorCount(header.data(), 35), 256); // colours used cut off: bits per pixel decide
    EXPECT_EQ(bmpColorCount(header.data(), 15), 0);   // bits per pixel cut off as well
}

// The header is widened or copied into BmpInfo, and defaults are filled in.
TEST(BmpLayoutTest, InfoCarriesTheHeaderAndItsColourEntries) {
    struct Case {
        const char* name;
        BmpParts parts;
        uint32_t colors;
        uint32_t sizeImage;
        uint64_t pixelOffset;
    };
    auto parts = [](bool fileHeader, uint32_t headerSize, uint16_t bitCount, uint32_t colorsUsed, size_t entries) {
        BmpParts p;
        p.fileHeader = fileHeader;
        p.headerSize = headerSize;
        p.width = 5;
        p.height = 3;
        p.bitCount = bitCount;
        p.colorsUsed = colorsUsed;
        for (size_t i = 0; i < entries; ++i) p.palette.push_back(0x010203 * static_cast<uint32_t>(i));
        p.pixels.assign(64, 0);
        return p;
    };
    const Case cases[] = {
        {"24 bits with 20 colours, no file header", parts(false, 40, 24, 20, 20), 20, 45, 40 + 80},
        {"8 bits, no file header", parts(false, 40, 8, 0, 256), 256, 15, 40 + 1024},
        {"4 bits with file header", parts(true, 40, 4, 3, 3), 3, 9, 14 + 40 + 12},
        {"core 8 bits, no file header", parts(false, 12, 8, 0, 256), 256, 15, 12 + 768},
        {"core 1 bit with file header", parts(true, 12, 1, 0, 2), 2, 3, 14 + 12 + 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes file = buildBmp(c.parts);
        BmpLayout layout;
        ASSERT_EQ(readBmpLayout(file.data(), file.size(), &layout), BmpError::none);
        const BmpInfoHeader& h = layout.info.header;
        EXPECT_EQ(h.size, 40u);
        EXPECT_EQ(h.width, 5);
        EXPECT_EQ(h.height, 3);
        EXPECT_EQ(h.bitCount, c.parts.bitCount);
        EXPECT_EQ(h.sizeImage, c.sizeImage);
        EXPECT_EQ(h.clrUsed, c.colors);
        ASSERT_EQ(layout.info.colors.size(), c.colors);
        const BmpColor& last = layout.info.colors.back();
        uint32_t expected = 0x010203 * (c.colors - 1);
        EXPECT_EQ(last.red, (expected >> 16) & 0xff);
        EXPECT_EQ(last.green, (expected >> 8) & 0xff);
        EXPECT_EQ(last.blue, expected & 0xff);
        EXPECT_EQ(last.reserved, 0);
        EXPECT_EQ(layout.pixelOffset, c.pixelOffset);
    }
}

TEST(BmpLayoutTest, CoreSizesAreUnsignedSixteenBit) {
    BmpParts parts;
    parts.headerSize = 12;
    parts.width = 0xfffe;  // would be -2 if read as signed
    parts.height = 0x8001;
    Bytes file = buildBmp(parts);
    BmpLayout layout;
    ASSERT_EQ(readBmpLayout(file.data(), file.size(), &layout), BmpError::none);
    EXPECT_EQ(layout.info.header.width, 0xfffe);
    EXPECT_EQ(layout.info.header.height, 0x8001);
    EXPECT_EQ(layout.info.header.compression, 0u);
}

// Files that start straight with the bitmap header: pixels follow the colour table (and masks).
TEST_F(BmpHeaderTest, FilesWithoutFileHeaderDecode) {
    struct Case {
        const char* name;
        uint32_t headerSize;
        uint16_t bitCount;
        uint32_t compression;
        uint32_t colorsUsed;
        std::vector<uint32_t> palette;
        std::vector<uint32_t> masks;
        Bytes pixels;
        uint32_t expected[2];
    };
    const Case cases[] = {
        {"core 1 bit", 12, 1, 0, 0, {0x112233, 0x445566}, {}, {0x40, 0, 0, 0}, {0x112233, 0x445566}},
        {"info 4 bits", 40, 4, 0, 2, {0x112233, 0x445566}, {}, {0x10, 0, 0, 0}, {0x445566, 0x112233}},
        {"info 24 bits with 20 colours", 40, 24, 0, 20, std::vector<uint32_t>(20, 0xffffff), {},
         {1, 2, 3, 4, 5, 6, 0, 0}, {0x030201, 0x060504}},
        {"bit fields", 40, 16, 3, 0, {}, {0x7c00, 0x03e0, 0x001f}, {0x00, 0x7c, 0x1f, 0x00}, {0xff0000, 0x0000ff}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts;
        parts.fileHeader = false;
        parts.headerSize = c.headerSize;
        parts.width = 2;
        parts.bitCount = c.bitCount;
        parts.compression = c.compression;
        parts.colorsUsed = c.colorsUsed;
        parts.palette = c.palette;
        parts.masks = c.masks;
        parts.pixels = c.pixels;
        RgbImage* image = load(buildBmp(parts));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(pixelAt(image, 0, 0), c.expected[0]);
        EXPECT_EQ(pixelAt(image, 1, 0), c.expected[1]);
        EXPECT_TRUE(recordedMessageBoxes().empty());
        freeRgbImage(image);
    }
}

// The file header's offset is used as it stands, even when it points into the headers.
TEST_F(BmpHeaderTest, PixelOffsetIsTakenFromTheFileHeader) {
    BmpParts gap;
    gap.width = 1;
    gap.pixels = {0xee, 0xee, 0xee, 0xee, 0xee, 0x30, 0x20, 0x10, 0};
    gap.pixelOffset = 14 + 40 + 5;
    RgbImage* image = load(buildBmp(gap));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelAt(image, 0, 0), 0x102030u);
    freeRgbImage(image);

    BmpParts zero;
    zero.width = 1;
    zero.pixels = {0, 0, 0, 0};
    zero.pixelOffset = 0; // the pixel is then "B", "M" and the low byte of the file size
    Bytes file = buildBmp(zero);
    image = load(file);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(pixelAt(image, 0, 0), static_cast<uint32_t>(file[2]) << 16 | 'M' << 8 | 'B');
    freeRgbImage(image);
    EXPECT_TRUE(recordedMessageBoxes().empty());

    BmpParts beyond = zero;
    beyond.pixelOffset = 1000;
    EXPECT_EQ(load(buildBmp(beyond)), nullptr);
    ASSERT_EQ(recordedMessageBoxes().size(), 1u);
    EXPECT_EQ(recordedMessageBoxes()[0].text, "Image file conversion error.");
}

// A negative height stores the top row first; the result is the bottom-up file's image.
TEST_F(BmpHeaderTest, TopDownFilesGiveTheSameImageAsBottomUp) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        std::vector<std::vector<uint32_t>> rows;
        for (int y = 0; y < 4; ++y) {
            rows.emplace_back();
            for (int x = 0; x < 3; ++x) rows.back().push_back(bitCount <= 8 ? (x + y) % (bitCount == 1 ? 2 : 3) : 0x1234u * (1 + x + 3 * y));
        }
        BmpParts up;
        up.width = 3;
        up.height = 4;
        up.bitCount = static_cast<uint16_t>(bitCount);
        if (bitCount <= 8) up.palette = {0x102030, 0x405060, 0x708090}, up.colorsUsed = 3;
        up.pixels = packRows(rows, bitCount);
        BmpParts down = up;
        down.height = -4;
        down.pixels = packRows({rows.rbegin(), rows.rend()}, bitCount);
        RgbImage* bottomUp = load(buildBmp(up));
        RgbImage* topDown = load(buildBmp(down));
        ASSERT_NE(bottomUp, nullptr);
        ASSERT_NE(topDown, nullptr);
        EXPECT_EQ(topDown->height, 4);
        EXPECT_EQ(std::vector<unsigned char>(topDown->pixels, topDown->pixels + 36),
                  std::vector<unsigned char>(bottomUp->pixels, bottomUp->pixels + 36));
        freeRgbImage(bottomUp);
        freeRgbImage(topDown);
    }
}

// Run-length data with a negative height is decoded top row first, like uncompressed rows.
TEST_F(BmpHeaderTest, TopDownRunLengthDataStartsAtTheTopRow) {
    BmpParts parts;
    parts.width = 2;
    parts.height = -2;
    parts.bitCount = 8;
    parts.compression = 1;
    parts.colorsUsed = 3;
    parts.palette = {0, 0x111111, 0x222222};
    parts.pixels = {2, 1, 0, 0, 2, 2, 0, 1};
    RgbImage* image = load(buildBmp(parts));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(pixelAt(image, 0, 1), 0x111111u); // first stored row is the top one
    EXPECT_EQ(pixelAt(image, 1, 0), 0x222222u);
    freeRgbImage(image);
}

TEST_F(BmpHeaderTest, OtherHeaderSizesAreUnknownFormats) {
    for (uint32_t size : {0u, 13u, 16u, 39u, 41u, 52u, 56u, 64u, 108u, 124u, 1000u}) {
        SCOPED_TRACE(size);
        clearRecordedMessageBoxes();
        BmpParts parts;
        parts.headerSize = size;
        parts.pixels.assign(4, 0);
        EXPECT_EQ(load(buildBmp(parts)), nullptr);
        ASSERT_EQ(recordedMessageBoxes().size(), 1u);
        EXPECT_EQ(recordedMessageBoxes()[0].caption, "Error");
        EXPECT_EQ(recordedMessageBoxes()[0].text, "Unknown DIB file format.");
    }
}

} // namespace
