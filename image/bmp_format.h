// The decoder's view of a BMP file: the bitmap header widened to the 40-byte form, its colour
// table, and where the pixels start. Shared by the header parser and the pixel converters; private to image/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/image.h"

constexpr uint32_t bmpCoreHeaderSize = 12; // OS/2 1.x: 16-bit sizes, 3-byte colour entries
constexpr uint32_t bmpInfoHeaderSize = 40; // Windows 3.x: the only other header this program reads
constexpr uint32_t bmpFileHeaderSize = 14; // "BM", file size, two reserved words, pixel offset

// Compression field values this program converts.
constexpr uint32_t bmpRgb = 0;
constexpr uint32_t bmpRle8 = 1;
constexpr uint32_t bmpRle4 = 2;
constexpr uint32_t bmpBitFields = 3;

// Same fields, order and meaning as the 40-byte header in the file.
struct BmpInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height; // negative: rows stored top row first
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};

struct BmpColor {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
    uint8_t reserved;
};

// The header followed by bmpColorCount(header) colour entries.
struct BmpInfo {
    BmpInfoHeader header;
    std::vector<BmpColor> colors;
};

// Everything the pixel converters need to know about one file.
struct BmpLayout {
    BmpInfo info;
    uint32_t masks[3];    // red, green, blue bit masks; zero unless compression is bit fields
    uint64_t pixelOffset; // first pixel byte, counted from the file's first byte
};

// Reads the headers and colour table of a mapped file into `layout`.
BmpError readBmpLayout(const unsigned char* file, size_t size, BmpLayout* layout);
