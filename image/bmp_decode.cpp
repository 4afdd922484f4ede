// decodeBmpImage and freeRgbImage: check the sizes against the limit, allocate the output once,
// convert, and on failure release everything and say why.
#include "image/bmp_format.h"
#include "image/bmp_pixels.h"
#include "image/image.h"
#include "platform/platform.h"

#include <cstdint>
#include <cstdlib>

const char* bmpErrorMessage(BmpError error) {
    switch (error) {
    case BmpError::none: return "";
    case BmpError::truncated: return "Image file is truncated.";
    case BmpError::unknownFormat: return "Unknown DIB file format.";
    case BmpError::outOfMemory: return "Out of memory.";
    default: return "Image file conversion error.";
    }
}

BmpError decodeBmpImage(const unsigned char* bytes, size_t size, int64_t maxPixelCount, RgbImage** result) {
    *result = nullptr;
    BmpLayout layout;
    BmpError error = readBmpLayout(bytes, size, &layout);
    if (error != BmpError::none) return error;
    const BmpInfoHeader& h = layout.info.header;
    BmpEncoding encoding = bmpEncodingOf(h);
    // Zero-sized images are refused: there is nothing to draw and no texture can be made of them.
    if (encoding == BmpEncoding::unsupported || h.width == 0 || h.height == 0) return BmpError::conversion;
    // No image can be made with a negative width.
    if (h.width < 0) return BmpError::outOfMemory;
    int64_t width = h.width;
    int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    int64_t pixelCount = width * rows; // below 2^62: each side is at most 2^31
    if (pixelCount > maxPixelCount || static_cast<uint64_t>(pixelCount) > SIZE_MAX / 3)
        return BmpError::outOfMemory;

    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    unsigned char* pixels = allocatePixelArray(static_cast<size_t>(pixelCount) * 3);
    if (!image || !pixels) {
        std::free(pixels);
        std::free(image);
        return BmpError::outOfMemory;
    }
    image->width = static_cast<int32_t>(width);
    image->height = static_cast<int32_t>(rows);
    image->pixels = pixels;
    // Run-length data stored top row first is decoded the same way as uncompressed rows.
    RgbTarget target{pixels, image->width, image->height, h.height < 0};
    if (!convertBmpPixels(bytes, size, layout, encoding, target)) {
        freeRgbImage(image);
        return BmpError::conversion;
    }
    *result = image;
    return BmpError::none;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
