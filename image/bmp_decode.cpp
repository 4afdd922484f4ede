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

namespace {

// One decode, all of it reachable from decodeBmpImage's frame: should the file shrink under its
// mapping, the reading is abandoned where it stands, and whatever it had made is released from here.
struct Decoding {
    const unsigned char* bytes;
    size_t size;
    int64_t maxPixelCount;
    BmpLayout layout;
    RgbImage* image; // set as soon as it is allocated
    BmpError error;
};

void decode(void* context) {
    Decoding& d = *static_cast<Decoding*>(context);
    d.error = readBmpLayout(d.bytes, d.size, &d.layout);
    if (d.error != BmpError::none) return;
    const BmpInfoHeader& h = d.layout.info.header;
    BmpEncoding encoding = bmpEncodingOf(h);
    // Zero-sized images are refused: there is nothing to draw and no texture can be made of them.
    if (encoding == BmpEncoding::unsupported || h.width == 0 || h.height == 0) {
        d.error = BmpError::conversion;
        return;
    }
    // No image can be made with a negative width.
    if (h.width < 0) {
        d.error = BmpError::outOfMemory;
        return;
    }
    int64_t width = h.width;
    int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    int64_t pixelCount = width * rows; // below 2^62: each side is at most 2^31
    if (pixelCount > d.maxPixelCount || static_cast<uint64_t>(pixelCount) > SIZE_MAX / 3) {
        d.error = BmpError::outOfMemory;
        return;
    }

    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    unsigned char* pixels = allocatePixelArray(static_cast<size_t>(pixelCount) * 3);
    if (!image || !pixels) {
        std::free(pixels);
        std::free(image);
        d.error = BmpError::outOfMemory;
        return;
    }
    image->width = static_cast<int32_t>(width);
    image->height = static_cast<int32_t>(rows);
    image->pixels = pixels;
    d.image = image;
    // Run-length data stored top row first is decoded the same way as uncompressed rows.
    RgbTarget target{pixels, image->width, image->height, h.height < 0};
    if (!convertBmpPixels(d.bytes, d.size, d.layout, encoding, target)) {
        freeRgbImage(d.image);
        d.image = nullptr;
        d.error = BmpError::conversion;
    }
}

} // namespace

BmpError decodeBmpImage(const unsigned char* bytes, size_t size, int64_t maxPixelCount, RgbImage** result) {
    Decoding d{bytes, size, maxPixelCount, {}, nullptr, BmpError::none};
    if (!readMappedBytes(bytes, size, decode, &d)) {
        freeRgbImage(d.image);
        d.image = nullptr;
        d.error = BmpError::truncated; // the file lost its end while it was read
    }
    *result = d.image;
    return d.error;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
