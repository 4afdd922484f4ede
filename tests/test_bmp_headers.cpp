// Header handling: colour counts, files without the "BM" header, pixel offsets, row order, header sizes.
#include "image/image.h"
#include "tests/support/bmp_file_test.h"

#include <gtest/gtest.h>

namespace {

class BmpHeaderTest : public BmpFileTest {};

// Colours used when not 0 (its low 16 bits), else 2, 16 or 256 by bits per pixel; fields past the bytes
// the caller says are there are not read.
TEST(BmpColorCountTest, CountComesFromColoursUsedOrBitsPerPixel) {
    struct Case {
        const char* name;
        uint32_t headerSize;
        uint16_t bitCount;
        uint32_t colorsUsed;
        uint16_t expected;
        uint32_t available = 0; // header bytes bmpColorCount may read; 0: all of them
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
        {"colours used just inside the available bytes", 40, 8, 7, 7, 36},
        {"colours used cut off: bits per pixel decide", 40, 8, 7, 256, 35},
        {"bits per pixel cut off as well", 40, 8, 7, 0, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts;
        parts.fileHeader = false;
        parts.headerSize = c.headerSize;
        parts.bitCount = c.bitCount;
        parts.colorsUsed = c.colorsUsed;
        Bytes header = buildBmp(parts);
        uint32_t available = c.available ? c.available : static_cast<uint32_t>(header.size());
        EXPECT_EQ(bmpColorCount(header.data(), available), c.expected);
    }
}

// A colour table of `count` entries: `first`, black in between, `last`.
std::vector<uint32_t> tableOf(size_t count, uint32_t first, uint32_t last) {
    std::vector<uint32_t> table(count, 0);
    table.front() = first;
    table.back() = last;
    return table;
}

// Where the colour table and the pixels are: after a 12- or 40-byte header, its colour count of 3- or
// 4-byte entries and any masks; without the "BM" header, the pixels follow straight after all that.
TEST_F(BmpHeaderTest, TableAndPixelsAreFoundWhereTheHeadersSay) {
    struct Case {
        const char* name;
        bool fileHeader;
        uint32_t headerSize;
        uint16_t bitCount;
        uint32_t compression;
        uint32_t colorsUsed;
        std::vector<uint32_t> palette;
        std::vector<uint32_t> masks;
        Bytes pixels;
        uint32_t expected[2];
    };
    const uint32_t a = 0x112233, b = 0x445566;
    // clang-format off
    const Case cases[] = {
        {"core 1 bit", false, 12, 1, 0, 0, {a, b}, {}, {0x40, 0, 0, 0}, {a, b}},
        {"core 1 bit with file header", true, 12, 1, 0, 0, {a, b}, {}, {0x80, 0, 0, 0}, {b, a}},
        {"core 8 bits: 256 entries of 3 bytes", false, 12, 8, 0, 0, tableOf(256, a, b), {}, {255, 0, 0, 0},
         {b, a}},
        {"info 4 bits, colours used 2", false, 40, 4, 0, 2, {a, b}, {}, {0x10, 0, 0, 0}, {b, a}},
        {"info 4 bits, colours used 3, with file header", true, 40, 4, 0, 3, tableOf(3, a, b), {},
         {0x20, 0, 0, 0}, {b, a}},
        {"info 8 bits, colours used 0: 256 entries", false, 40, 8, 0, 0, tableOf(256, a, b), {},
         {255, 0, 0, 0}, {b, a}},
        {"info 24 bits with 20 colours: pixels 40 + 80 bytes in", false, 40, 24, 0, 20,
         std::vector<uint32_t>(20, 0xffffff), {}, {1, 2, 3, 4, 5, 6, 0, 0}, {0x030201, 0x060504}},
        {"bit fields: pixels after the masks", false, 40, 16, 3, 0, {}, {0x7c00, 0x03e0, 0x001f},
         {0x00, 0x7c, 0x1f, 0x00}, {0xff0000, 0x0000ff}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearRecordedMessageBoxes();
        BmpParts parts;
        parts.fileHeader = c.fileHeader;
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
    expectRefusal(buildBmp(beyond), "Image file conversion error.");
}

// A negative height stores the top row first; the result is the bottom-up file's image.
TEST_F(BmpHeaderTest, TopDownFilesGiveTheSameImageAsBottomUp) {
    for (int bitCount : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bitCount);
        std::vector<std::vector<uint32_t>> rows;
        for (int y = 0; y < 4; ++y) {
            rows.emplace_back();
            for (int x = 0; x < 3; ++x)
                rows.back().push_back(bitCount <= 8 ? (x + y) % (bitCount == 1 ? 2 : 3)
                                                    : 0x1234u * (1 + x + 3 * y));
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

TEST_F(BmpHeaderTest, OtherHeaderSizesAreUnknownFormats) {
    for (uint32_t size : {0u, 13u, 16u, 39u, 41u, 52u, 56u, 64u, 108u, 124u, 1000u}) {
        SCOPED_TRACE(size);
        BmpParts parts;
        parts.headerSize = size;
        parts.pixels.assign(4, 0);
        expectRefusal(buildBmp(parts), "Unknown DIB file format.");
    }
}

} // namespace
