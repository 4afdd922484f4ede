// bmpdecode FILE [OUT.ppm]: prints "WIDTH HEIGHT" of a BMP decoded by the program's own decoder and
// optionally writes it as a binary PPM (top row first). Exits 1, with the decoder's message, on failure.
#include "image/image.h"
#include "platform/platform.h"

#include <cstdio>

namespace {

bool writePpm(const RgbImage* image, const char* path) {
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
    size_t rowBytes = static_cast<size_t>(image->width) * 3;
    bool ok = true;
    // The decoder returns the bottom row first; PPM starts at the top.
    for (int32_t y = image->height - 1; y >= 0 && ok; --y)
        ok = std::fwrite(image->pixels + static_cast<size_t>(y) * rowBytes, 1, rowBytes, out) == rowBytes;
    return std::fclose(out) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FILE.bmp [OUT.ppm]\n", argv[0]);
        return 2;
    }
    MappedFile file;
    if (!mapFileReadOnly(argv[1], &file)) {
        std::fprintf(stderr, "Failed to open DIB file %s.\n", argv[1]);
        return 1;
    }
    RgbImage* image = nullptr;
    BmpError error = decodeBmpImage(file.data, file.size, maxBmpPixelCount, &image);
    unmapFile(&file);
    if (error != BmpError::none) {
        std::fprintf(stderr, "%s\n", bmpErrorMessage(error));
        return 1;
    }
    std::printf("%d %d\n", image->width, image->height);
    int status = 0;
    if (argc == 3 && !writePpm(image, argv[2])) {
        std::fprintf(stderr, "Cannot write %s.\n", argv[2]);
        status = 1;
    }
    freeRgbImage(image);
    return status;
}
