// Writes a body image as a BMP through the program's one BMP writer (bmp_builder).
#include "body_image_io.h"
#include "tools/bmp_builder.h"

bool writeBmp(const std::string& path, const PlainImage& image) {
    const bool grey = image.channels == 1;
    BmpParts parts;
    parts.width = image.width;
    parts.height = image.height;
    parts.bitCount = grey ? 8 : 24;
    if (grey) {
        for (uint32_t level = 0; level < 256; ++level)
            parts.palette.push_back(level * 0x010101u);
        parts.colorsUsed = 256;
    }
    // The image lists its top row first; the file stores the bottom row first.
    std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row =
            image.pixels.data() + static_cast<size_t>(image.height - 1 - y) * image.width * image.channels;
        std::vector<uint32_t>& stored = rows[static_cast<size_t>(y)];
        stored.reserve(static_cast<size_t>(image.width));
        for (int x = 0; x < image.width; ++x) {
            const unsigned char* p = row + static_cast<size_t>(x) * image.channels;
            stored.push_back(grey ? p[0] : static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2]);
        }
    }
    parts.pixels = packRows(rows, parts.bitCount);
    parts.sizeImage = static_cast<uint32_t>(parts.pixels.size());
    return writeBytes(path, buildBmp(parts));
}
