// Writes the BMP layout the program's textures use: file header, 40-byte info header, bottom-up rows.
#include "body_image_io.h"

#include <cstdint>
#include <cstdio>

namespace {

void putU16(std::vector<unsigned char>* out, uint32_t value) {
    out->push_back(static_cast<unsigned char>(value));
    out->push_back(static_cast<unsigned char>(value >> 8));
}

void putU32(std::vector<unsigned char>* out, uint32_t value) {
    putU16(out, value & 0xffff);
    putU16(out, value >> 16);
}

} // namespace

bool writeBmp(const std::string& path, const PlainImage& image) {
    bool grey = image.channels == 1;
    uint32_t colors = grey ? 256 : 0;
    uint32_t rowBytes = static_cast<uint32_t>(image.width) * (grey ? 1 : 3);
    uint32_t stride = (rowBytes + 3) / 4 * 4;
    uint32_t pixelOffset = 14 + 40 + 4 * colors;
    uint32_t imageBytes = stride * static_cast<uint32_t>(image.height);

    std::vector<unsigned char> file;
    file.reserve(pixelOffset + imageBytes);
    file.push_back('B');
    file.push_back('M');
    putU32(&file, pixelOffset + imageBytes);
    putU32(&file, 0);
    putU32(&file, pixelOffset);
    putU32(&file, 40);
    putU32(&file, static_cast<uint32_t>(image.width));
    putU32(&file, static_cast<uint32_t>(image.height));
    putU16(&file, 1);
    putU16(&file, grey ? 8 : 24);
    putU32(&file, 0);
    putU32(&file, imageBytes);
    putU32(&file, 2835); // 72 dots per inch
    putU32(&file, 2835);
    putU32(&file, colors);
    putU32(&file, colors);
    for (uint32_t level = 0; level < colors; ++level) {
        file.insert(file.end(), {static_cast<unsigned char>(level), static_cast<unsigned char>(level),
                                 static_cast<unsigned char>(level), 0});
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const unsigned char* row = image.pixels.data() + static_cast<size_t>(y) * image.width * image.channels;
        for (int x = 0; x < image.width; ++x) {
            if (grey) {
                file.push_back(row[x]);
            } else {
                file.insert(file.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]}); // stored blue first
            }
        }
        file.resize(file.size() + (stride - rowBytes), 0);
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
