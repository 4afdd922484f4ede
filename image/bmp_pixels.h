// Pixel conversion: one short function per encoding, chosen once per file by bmpEncodingOf.
// Private to image/.
#pragma once

#include "image/bmp_format.h"
#include "image/bmp_reader.h"

enum class BmpEncoding : unsigned char {
    unsupported,
    palette1,
    palette4,
    palette8,
    rle4,
    rle8,
    rgb555,
    rgb24,
    rgb32,
    bitFields16,
    bitFields32
};

BmpEncoding bmpEncodingOf(const BmpInfoHeader& header);

// Where decoded rows go: `rows` rows of width * 3 bytes (red, green, blue), bottom row first.
struct RgbTarget {
    unsigned char* pixels;
    int32_t width;
    int32_t rows;
    bool topDown; // the file stores its top row first
};

// Colour table as red, green, blue triples, padded with black so any 8-bit index is safe.
struct RgbPalette {
    unsigned char rgb[256][3];
};

RgbPalette paletteOf(const BmpInfo& info);

inline unsigned char* targetRow(const RgbTarget& target, int64_t fileRow) {
    int64_t row = target.topDown ? target.rows - 1 - fileRow : fileRow;
    return target.pixels + static_cast<size_t>(row) * static_cast<size_t>(target.width) * 3;
}

// Fills `target` from the pixel data of the mapped file. Rows missing from the file stay black.
// False when the file holds no pixel data at all for this image.
bool convertBmpPixels(const unsigned char* file, size_t size, const BmpLayout& layout, BmpEncoding encoding,
                      const RgbTarget& target);

// Run-length streams (bmp_rle.cpp). Both expect `target` already black.
bool decodeRle8(ByteReader* reader, const RgbPalette& palette, const RgbTarget& target);
bool decodeRle4(ByteReader* reader, const RgbPalette& palette, const RgbTarget& target);
