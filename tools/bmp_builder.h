// BMP files laid out byte by byte, the program's one BMP writer: make_body_images writes the body
// images with it, and tests and benchmarks build ordinary, malformed and large files with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// The parts of a BMP file; buildBmp lays them out in file order.
struct BmpParts {
    bool fileHeader = true;   // start with the 14-byte "BM" header
    uint32_t headerSize = 40; // 12 writes the core header; anything else a 40-byte header padded to this size
    int32_t width = 1;
    int32_t height = 1;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> palette; // 0xRRGGBB entries, 3 bytes each in a core file and 4 otherwise
    std::vector<uint32_t> masks;   // written straight after the bitmap header (bit fields)
    Bytes pixels;                  // pixel data exactly as stored
    int64_t pixelOffset = -1;      // value of the file header's offset field; -1 means right after the table
};

Bytes buildBmp(const BmpParts& parts);

// Packs rows (bottom row first) of palette indices, 16-bit words, 0xRRGGBB colours (24 and 32 bits)
// into stored rows padded to 4 bytes.
Bytes packRows(const std::vector<std::vector<uint32_t>>& rows, int bitCount);

void appendU16(Bytes* bytes, uint32_t value);
void appendU32(Bytes* bytes, uint32_t value);

// A fresh temporary directory, removed with everything in it by removeTestDirectory.
std::string makeTestDirectory();
void removeTestDirectory(const std::string& directory);

// False when the file cannot be written whole.
bool writeBytes(const std::string& path, const Bytes& bytes);
Bytes readBytes(const std::string& path);
