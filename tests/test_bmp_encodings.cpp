// One group per pixel encoding: tiny files on disk, decoded and compared pixel by pixel.
#include "image/image.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>

namespace {

const std::vector<uint32_t> palette16 = {0x000000, 0xff0000, 0x00ff00, 0x0000ff, 0x123456, 0xfedcba,
                                         0x808080, 0x010203, 0xa0b0c0, 0x0f0f0f, 0xf0f0f0, 0x336699,
                                         0x996633, 0x00ffff, 0xff00ff, 0xffff00};

class BmpEncodingTest : public BmpFileTest {};

// Every pixel of `image` equals `expected` (rows bottom first, 0xRRGGBB), and no box was shown.
void expectPixels(const RgbImage* image, const std::vector<std::vector<uint32_t>>& expected) {
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    ASSERT_EQ(image->height, static_cast<int32_t>(expected.size()));
    ASSERT_EQ(image->width, static_cast<int32_t>(expected[0].size()));
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            EXPECT_EQ(pixelAt(image, x, y), expected[y][x]) << "pixel " << x << "," << y;
}

std::vector<uint32_t> paletteOfSize(size_t count) {
    std::vector<uint32_t> colors;
    for (size_t i = 0; i < count; ++i)
        colors.push_back(palette16[i % 16] ^ static_cast<uint32_t>(i / 16) << 8);
    return colors;
}

// Indexed pixels at every depth and at widths 1 to 6, so each amount of row padding occurs.
TEST_F(BmpEncodingTest, PaletteIndicesGiveTheirTableColours) {
    for (int bitCount : {1, 4, 8}) {
        for (int width = 1; width <= 6; ++width) {
            SCOPED_TRACE("bits " + std::to_string(bitCount) + " width " + std::to_string(width));
            std::vector<uint32_t> colors = paletteOfSize(size_t(1) << bitCount);
            std::vector<std::vector<uint32_t>> indices, expected;
            for (int y = 0; y < 3; ++y) {
                indices.emplace_back();
                expected.emplace_back();
                for (int x = 0; x < width; ++x) {
                    uint32_t index = (x * 7 + y * 3 + 1) % colors.size();
                    indices.back().push_back(index);
                    expected.back().push_back(colors[index]);
                }
            }
            BmpParts parts;
            parts.width = width;
            parts.height = 3;
            parts.bitCount = static_cast<uint16_t>(bitCount);
            parts.palette = colors;
            parts.pixels = packRows(indices, bitCount);
            RgbImage* image = load(buildBmp(parts));
            expectPixels(image, expected);
            freeRgbImage(image);
        }
    }
}

TEST_F(BmpEncodingTest, IndicesPastTheColourTableAreBlack) {
    struct Case {
        int bitCount;
        uint32_t colorsUsed;
        std::vector<uint32_t> indices;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {1, 1, {0, 1}, {0xff0000, 0}},
        {4, 3, {2, 3, 15, 1}, {0x00ff00, 0, 0, 0xff0000}},
        {8, 5, {4, 5, 200, 255}, {0x123456, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        BmpParts parts;
        parts.width = static_cast<int32_t>(c.indices.size());
        parts.bitCount = static_cast<uint16_t>(c.bitCount);
        parts.colorsUsed = c.colorsUsed;
        parts.palette.assign(palette16.begin() + (c.bitCount == 1 ? 1 : 0),
                             palette16.begin() + (c.bitCount == 1 ? 1 : 0) + c.colorsUsed);
        parts.pixels = packRows({c.indices}, c.bitCount);
        RgbImage* image = load(buildBmp(parts));
        expectPixels(image, {c.expected});
        freeRgbImage(image);
    }
}

TEST_F(BmpEncodingTest, SixteenBitPixelsAreFiveFiveFiveWithTopBitsRepeated) {
    struct Case {
        uint32_t word;
        uint32_t expected;
    };
    const Case cases[] = {
        {0x7fff, 0xffffff}, {0xffff, 0xffffff}, {0x8000, 0x000000}, {0x7c00, 0xff0000}, {0x03e0, 0x00ff00},
        {0x001f, 0x0000ff}, {0x0421, 0x080808}, {0x4210, 0x848484}, {0x2d6b, 0x5a5a5a},
    };
    for (int width = 1; width <= 6; ++width) {
        std::vector<std::vector<uint32_t>> words(2), expected(2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < width; ++x) {
                const Case& c = cases[(x + 4 * y) % std::size(cases)];
                words[y].push_back(c.word);
                expected[y].push_back(c.expected);
            }
        SCOPED_TRACE(width);
        BmpParts parts;
        parts.width = width;
        parts.height = 2;
        parts.bitCount = 16;
        parts.pixels = packRows(words, 16);
        RgbImage* image = load(buildBmp(parts));
        expectPixels(image, expected);
        freeRgbImage(image);
    }
}

// 24- and 32-bit pixels are stored blue, green, red (and an ignored byte); widths 1 to 6.
TEST_F(BmpEncodingTest, DirectColourPixelsKeepTheirColour) {
    for (int bitCount : {24, 32}) {
        for (int width = 1; width <= 6; ++width) {
            SCOPED_TRACE("bits " + std::to_string(bitCount) + " width " + std::to_string(width));
            std::vector<std::vector<uint32_t>> stored(3), expected(3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width; ++x) {
                    uint32_t color = (0x1f2e3d * (x + 1) + 0x402010 * y) & 0xffffff;
                    stored[y].push_back(color | 0xa5000000); // the fourth byte must not leak into the colour
                    expected[y].push_back(color);
                }
            BmpParts parts;
            parts.width = width;
            parts.height = 3;
            parts.bitCount = static_cast<uint16_t>(bitCount);
            parts.pixels = packRows(stored, bitCount);
            RgbImage* image = load(buildBmp(parts));
            expectPixels(image, expected);
            freeRgbImage(image);
        }
    }
}

// Channels are scaled to 8 bits with rounding, whatever their width (v * 255 / max).
TEST_F(BmpEncodingTest, BitFieldsScaleEachMaskToEightBits) {
    struct Case {
        const char* name;
        int bitCount;
        std::vector<uint32_t> masks;
        std::vector<uint32_t> pixels;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {"565",
         16,
         {0xf800, 0x07e0, 0x001f},
         {0xffff, 0xf800, 0x07e0, 0x001f, 0x8410, 0x0841},
         {0xffffff, 0xff0000, 0x00ff00, 0x0000ff, 0x848284, 0x080808}},
        {"555 as bit fields",
         16,
         {0x7c00, 0x03e0, 0x001f},
         {0x7fff, 0x4210, 0x8000},
         {0xffffff, 0x848484, 0}},
        {"2-3-1",
         16,
         {0x0030, 0x000e, 0x0001},
         {0x0010, 0x0008, 0x0001, 0x003f},
         {0x550000, 0x009200, 0x0000ff, 0xffffff}},
        {"8-8-8", 32, {0x00ff0000, 0x0000ff00, 0x000000ff}, {0xff123456, 0x00abcdef}, {0x123456, 0xabcdef}},
        {"10-10-10",
         32,
         {0x3ff00000, 0x000ffc00, 0x000003ff},
         {0x3ff00000, 0x00080200, 0x00000001},
         {0xff0000, 0x008080, 0x000000}},
        {"zero mask", 32, {0x00ff0000, 0, 0x000000ff}, {0xffffffff}, {0xff00ff}},
        {"full-width mask",
         32,
         {0xffffffff, 0, 0},
         {0xffffffff, 0x80000000, 0x00000001},
         {0xff0000, 0x800000, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts;
        parts.width = static_cast<int32_t>(c.pixels.size());
        parts.bitCount = static_cast<uint16_t>(c.bitCount);
        parts.compression = 3;
        parts.masks = c.masks;
        Bytes stored;
        for (uint32_t pixel : c.pixels)
            c.bitCount == 16 ? appendU16(&stored, pixel) : appendU32(&stored, pixel);
        while (stored.size() % 4)
            stored.push_back(0);
        parts.pixels = stored;
        RgbImage* image = load(buildBmp(parts));
        expectPixels(image, {c.expected});
        freeRgbImage(image);
    }
}

// A core (12-byte) header: 16-bit sizes and 3-byte colour entries.
TEST_F(BmpEncodingTest, CoreHeaderFilesDecodeLikeInfoHeaderFiles) {
    for (int bitCount : {1, 4, 8, 24}) {
        for (int width : {1, 3, 6}) {
            SCOPED_TRACE("bits " + std::to_string(bitCount) + " width " + std::to_string(width));
            std::vector<uint32_t> colors =
                bitCount == 24 ? std::vector<uint32_t>{} : paletteOfSize(size_t(1) << bitCount);
            std::vector<std::vector<uint32_t>> stored(2), expected(2);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < width; ++x) {
                    uint32_t value = bitCount == 24 ? 0x102030u * (x + 2 * y + 1) & 0xffffff
                                                    : (x + 5 * y + 1) % colors.size();
                    stored[y].push_back(value);
                    expected[y].push_back(bitCount == 24 ? value : colors[value]);
                }
            BmpParts parts;
            parts.headerSize = 12;
            parts.width = width;
            parts.height = 2;
            parts.bitCount = static_cast<uint16_t>(bitCount);
            parts.palette = colors;
            parts.pixels = packRows(stored, bitCount);
            RgbImage* image = load(buildBmp(parts));
            expectPixels(image, expected);
            freeRgbImage(image);
        }
    }
}

// Run-length streams; -1 in `expected` marks a palette-less (black) pixel.
struct RleCase {
    const char* name;
    int32_t width;
    int32_t height;
    Bytes stream;
    std::vector<std::vector<int>> expected; // palette indices, bottom row first
};

void runRleCases(BmpEncodingTest* test, int bitCount, const std::vector<RleCase>& cases);

class BmpRleTest : public BmpEncodingTest {};

void expectRle(RgbImage* image, const RleCase& c) {
    std::vector<std::vector<uint32_t>> expected;
    for (const std::vector<int>& row : c.expected) {
        expected.emplace_back();
        for (int index : row)
            expected.back().push_back(index < 0 ? 0 : palette16[index]);
    }
    expectPixels(image, expected);
}

TEST_F(BmpRleTest, Rle8RunsEscapesAndClipping) {
    const std::vector<RleCase> cases = {
        {"encoded run", 4, 1, {4, 1, 0, 1}, {{1, 1, 1, 1}}},
        {"end of line leaves the rest black", 3, 2, {2, 1, 0, 0, 3, 2, 0, 1}, {{1, 1, -1}, {2, 2, 2}}},
        {"delta skips pixels",
         4,
         3,
         {1, 1, 0, 2, 2, 1, 1, 2, 0, 1},
         {{1, -1, -1, -1}, {-1, -1, -1, 2}, {-1, -1, -1, -1}}},
        {"absolute run of odd length is padded", 5, 1, {0, 3, 1, 2, 3, 0, 2, 4, 0, 1}, {{1, 2, 3, 4, 4}}},
        {"absolute run of even length", 5, 1, {0, 4, 5, 6, 7, 8, 1, 9, 0, 1}, {{5, 6, 7, 8, 9}}},
        {"end of bitmap stops early", 2, 2, {2, 3, 0, 1, 2, 4}, {{3, 3}, {-1, -1}}},
        {"missing end of bitmap", 2, 2, {2, 3}, {{3, 3}, {-1, -1}}},
        {"run past the row end is clipped", 2, 2, {5, 1, 0, 0, 1, 2, 0, 1}, {{1, 1}, {2, -1}}},
        {"absolute run past the row end is clipped", 2, 1, {0, 3, 4, 5, 6, 0, 0, 1}, {{4, 5}}},
        {"delta past the image is ignored", 2, 1, {0, 2, 200, 200, 2, 1, 0, 1}, {{-1, -1}}},
        {"index past the table is black", 2, 1, {1, 16, 1, 255, 0, 1}, {{-1, -1}}},
        {"absolute run cut by the end of file", 3, 1, {1, 1, 0, 5, 2}, {{1, -1, -1}}},
    };
    runRleCases(this, 8, cases);
}

TEST_F(BmpRleTest, Rle4RunsAlternateNibblesAndEscapes) {
    const std::vector<RleCase> cases = {
        {"encoded run alternates nibbles", 5, 1, {5, 0x12, 0, 1}, {{1, 2, 1, 2, 1}}},
        {"absolute run of three nibbles", 6, 1, {0, 3, 0x12, 0x30, 3, 0x45, 0, 1}, {{1, 2, 3, 4, 5, 4}}},
        {"absolute run of five nibbles is padded",
         6,
         1,
         {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x66, 0, 1},
         {{1, 2, 3, 4, 5, 6}}},
        {"absolute run of four nibbles", 4, 1, {0, 4, 0x9a, 0xbc, 0, 1}, {{9, 10, 11, 12}}},
        {"end of line and delta",
         4,
         3,
         {2, 0x77, 0, 0, 0, 2, 2, 1, 2, 0x88, 0, 1},
         {{7, 7, -1, -1}, {-1, -1, -1, -1}, {-1, -1, 8, 8}}},
        {"odd run past the row end is clipped", 3, 1, {7, 0x12, 0, 1}, {{1, 2, 1}}},
        {"missing end of bitmap", 2, 2, {1, 0x30}, {{3, -1}, {-1, -1}}},
    };
    runRleCases(this, 4, cases);
}

void runRleCases(BmpEncodingTest* test, int bitCount, const std::vector<RleCase>& cases) {
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        clearRecordedMessageBoxes();
        BmpParts parts;
        parts.width = c.width;
        parts.height = c.height;
        parts.bitCount = static_cast<uint16_t>(bitCount);
        parts.compression = bitCount == 8 ? 1 : 2;
        parts.palette = palette16;
        parts.colorsUsed = static_cast<uint32_t>(palette16.size());
        parts.pixels = c.stream;
        RgbImage* image = static_cast<BmpRleTest*>(test)->load(buildBmp(parts));
        expectRle(image, c);
        freeRgbImage(image);
    }
}

} // namespace
