// One group per pixel encoding: tiny files on disk, decoded and compared pixel by pixel.
#include "image/image.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>

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

// 16-bit words: five bits each of red, green and blue, the top bit ignored, each channel widened by
// repeating its top bits so that 31 becomes 255.
struct FiveBitWord {
    uint32_t word;
    uint32_t expected;
};
const FiveBitWord fiveBitWords[] = {
    {0x7fff, 0xffffff}, {0xffff, 0xffffff}, {0x8000, 0x000000}, {0x7c00, 0xff0000}, {0x03e0, 0x00ff00},
    {0x001f, 0x0000ff}, {0x0421, 0x080808}, {0x4210, 0x848484}, {0x2d6b, 0x5a5a5a},
};

// Pixel (x, y) of the test picture at `bitCount` bits: what the file stores and what it shows. Indices
// give their table colours; 24- and 32-bit pixels are stored blue, green, red and, at 32 bits, a byte
// that must not leak into the colour.
std::pair<uint32_t, uint32_t> storedAndShown(int bitCount, const std::vector<uint32_t>& colors, int x,
                                             int y) {
    if (bitCount <= 8) {
        uint32_t index = static_cast<uint32_t>(x * 7 + y * 3 + 1) % colors.size();
        return {index, colors[index]};
    }
    if (bitCount == 16) {
        const FiveBitWord& w = fiveBitWords[static_cast<size_t>(x + 4 * y) % std::size(fiveBitWords)];
        return {w.word, w.expected};
    }
    uint32_t color =
        (0x1f2e3du * static_cast<uint32_t>(x + 1) + 0x402010u * static_cast<uint32_t>(y)) & 0xffffff;
    return {color | 0xa5000000, color};
}

// Every uncompressed encoding, under both header sizes (a core header has 3-byte colour entries), at
// widths 1 to 6 so that every amount of row padding occurs.
TEST_F(BmpEncodingTest, UncompressedPixelsGiveTheirColoursAtEveryWidth) {
    struct Case {
        uint32_t headerSize;
        int bitCount;
    };
    const Case cases[] = {{40, 1},  {40, 4}, {40, 8}, {40, 16}, {40, 24},
                          {40, 32}, {12, 1}, {12, 4}, {12, 8},  {12, 24}};
    for (const Case& c : cases) {
        const std::vector<uint32_t> colors =
            c.bitCount <= 8 ? paletteOfSize(size_t(1) << c.bitCount) : std::vector<uint32_t>{};
        for (int width = 1; width <= 6; ++width) {
            SCOPED_TRACE(std::to_string(c.headerSize) + "-byte header, bits " + std::to_string(c.bitCount) +
                         ", width " + std::to_string(width));
            std::vector<std::vector<uint32_t>> stored(3), expected(3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < width; ++x) {
                    auto [value, shown] = storedAndShown(c.bitCount, colors, x, y);
                    stored[y].push_back(value);
                    expected[y].push_back(shown);
                }
            BmpParts parts;
            parts.headerSize = c.headerSize;
            parts.width = width;
            parts.height = 3;
            parts.bitCount = static_cast<uint16_t>(c.bitCount);
            parts.palette = colors;
            parts.pixels = packRows(stored, c.bitCount);
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

// Channels are scaled to 8 bits with rounding, whatever their width (v * 255 / max).
TEST_F(BmpEncodingTest, BitFieldsScaleEachMaskToEightBits) {
    struct Case {
        const char* name;
        int bitCount;
        std::vector<uint32_t> masks;
        std::vector<uint32_t> pixels;
        std::vector<uint32_t> expected;
        std::vector<uint32_t> unusedPalette = {}; // a colour table between the masks and the pixels
    };
    // clang-format off
    const Case cases[] = {
        {"565", 16, {0xf800, 0x07e0, 0x001f}, {0xffff, 0xf800, 0x07e0, 0x001f, 0x8410, 0x0841},
         {0xffffff, 0xff0000, 0x00ff00, 0x0000ff, 0x848284, 0x080808}},
        {"565 after an unused colour table", 16, {0xf800, 0x07e0, 0x001f}, {0x0000, 0xf800, 0x001f, 0xffff},
         {0x000000, 0xff0000, 0x0000ff, 0xffffff}, {0x102030, 0x405060}},
        {"555 as bit fields", 16, {0x7c00, 0x03e0, 0x001f}, {0x7fff, 0x4210, 0x8000},
         {0xffffff, 0x848484, 0}},
        {"2-3-1", 16, {0x0030, 0x000e, 0x0001}, {0x0010, 0x0008, 0x0001, 0x003f},
         {0x550000, 0x009200, 0x0000ff, 0xffffff}},
        {"8-8-8", 32, {0x00ff0000, 0x0000ff00, 0x000000ff}, {0xff123456, 0x00abcdef}, {0x123456, 0xabcdef}},
        {"10-10-10", 32, {0x3ff00000, 0x000ffc00, 0x000003ff}, {0x3ff00000, 0x00080200, 0x00000001},
         {0xff0000, 0x008080, 0x000000}},
        {"zero mask", 32, {0x00ff0000, 0, 0x000000ff}, {0xffffffff}, {0xff00ff}},
        {"full-width mask", 32, {0xffffffff, 0, 0}, {0xffffffff, 0x80000000, 0x00000001},
         {0xff0000, 0x800000, 0}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpParts parts;
        parts.width = static_cast<int32_t>(c.pixels.size());
        parts.bitCount = static_cast<uint16_t>(c.bitCount);
        parts.compression = 3;
        parts.masks = c.masks;
        parts.palette = c.unusedPalette;
        parts.colorsUsed = static_cast<uint32_t>(c.unusedPalette.size());
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

// Run-length streams, 8-bit (compression 1) and 4-bit (compression 2): runs, absolute runs and their
// padding, end of line, delta and end of bitmap, top row first when the height is negative; whatever
// falls outside the image is clipped, and pixels the stream never reaches stay black (-1 in `expected`).
TEST_F(BmpEncodingTest, RunLengthStreamsDecodeAndClip) {
    struct Case {
        int bitCount;
        const char* name;
        int32_t width;
        int32_t height;
        Bytes stream;
        std::vector<std::vector<int>> expected; // palette indices, bottom row first
    };
    // clang-format off
    const Case cases[] = {
        {8, "encoded run", 4, 1, {4, 1, 0, 1}, {{1, 1, 1, 1}}},
        {8, "end of line leaves the rest black", 3, 2, {2, 1, 0, 0, 3, 2, 0, 1}, {{1, 1, -1}, {2, 2, 2}}},
        {8, "delta skips pixels", 4, 3, {1, 1, 0, 2, 2, 1, 1, 2, 0, 1},
         {{1, -1, -1, -1}, {-1, -1, -1, 2}, {-1, -1, -1, -1}}},
        {8, "absolute run of odd length is padded", 5, 1, {0, 3, 1, 2, 3, 0, 2, 4, 0, 1}, {{1, 2, 3, 4, 4}}},
        {8, "absolute run of even length", 5, 1, {0, 4, 5, 6, 7, 8, 1, 9, 0, 1}, {{5, 6, 7, 8, 9}}},
        {8, "end of bitmap stops early", 2, 2, {2, 3, 0, 1, 2, 4}, {{3, 3}, {-1, -1}}},
        {8, "missing end of bitmap", 2, 2, {2, 3}, {{3, 3}, {-1, -1}}},
        {8, "run past the row end is clipped", 2, 2, {5, 1, 0, 0, 1, 2, 0, 1}, {{1, 1}, {2, -1}}},
        {8, "absolute run past the row end is clipped", 2, 1, {0, 3, 4, 5, 6, 0, 0, 1}, {{4, 5}}},
        {8, "delta past the image is ignored", 2, 1, {0, 2, 200, 200, 2, 1, 0, 1}, {{-1, -1}}},
        {8, "index past the table is black", 2, 1, {1, 16, 1, 255, 0, 1}, {{-1, -1}}},
        {8, "absolute run cut by the end of file", 3, 1, {1, 1, 0, 5, 2}, {{1, -1, -1}}},
        {8, "a negative height starts at the top row", 2, -2, {2, 1, 0, 0, 2, 2, 0, 1}, {{2, 2}, {1, 1}}},
        {4, "encoded run alternates nibbles", 5, 1, {5, 0x12, 0, 1}, {{1, 2, 1, 2, 1}}},
        {4, "absolute run of three nibbles", 6, 1, {0, 3, 0x12, 0x30, 3, 0x45, 0, 1}, {{1, 2, 3, 4, 5, 4}}},
        {4, "absolute run of five nibbles is padded", 6, 1, {0, 5, 0x12, 0x34, 0x50, 0, 1, 0x66, 0, 1},
         {{1, 2, 3, 4, 5, 6}}},
        {4, "absolute run of four nibbles", 4, 1, {0, 4, 0x9a, 0xbc, 0, 1}, {{9, 10, 11, 12}}},
        {4, "end of line and delta", 4, 3, {2, 0x77, 0, 0, 0, 2, 2, 1, 2, 0x88, 0, 1},
         {{7, 7, -1, -1}, {-1, -1, -1, -1}, {-1, -1, 8, 8}}},
        {4, "odd run past the row end is clipped", 3, 1, {7, 0x12, 0, 1}, {{1, 2, 1}}},
        {4, "run starting past the row end draws nothing", 3, 2, {7, 0x12, 2, 0x34, 0, 0, 2, 0x56, 0, 1},
         {{1, 2, 1}, {5, 6, -1}}},
        {4, "missing end of bitmap", 2, 2, {1, 0x30}, {{3, -1}, {-1, -1}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bitCount) + "-bit " + c.name);
        clearRecordedMessageBoxes();
        BmpParts parts;
        parts.width = c.width;
        parts.height = c.height;
        parts.bitCount = static_cast<uint16_t>(c.bitCount);
        parts.compression = c.bitCount == 8 ? 1 : 2;
        parts.palette = palette16;
        parts.colorsUsed = static_cast<uint32_t>(palette16.size());
        parts.pixels = c.stream;
        std::vector<std::vector<uint32_t>> expected;
        for (const std::vector<int>& row : c.expected) {
            expected.emplace_back();
            for (int index : row)
                expected.back().push_back(index < 0 ? 0 : palette16[index]);
        }
        RgbImage* image = load(buildBmp(parts));
        expectPixels(image, expected);
        freeRgbImage(image);
    }
}

} // namespace
