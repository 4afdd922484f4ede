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

// Leaves the image it allocated in d.image even when its conversion fails: the caller releases it.
BmpError decodeInto(Decoding& d) {
    BmpError error = readBmpLayout(d.bytes, d.size, &d.layout);
    if (error != BmpError::none) return error;
    const BmpInfoHeader& h = d.layout.info.header;
    BmpEncoding encoding = bmpEncodingOf(h);
    // Zero-sized images are refused: there is nothing to draw and no texture can be made of them.
    if (encoding == BmpEncoding::unsupported || h.width == 0 || h.height == 0) return BmpError::conversion;
    // No image can be made with a negative width.
    if (h.width < 0) return BmpError::outOfMemory;
    int64_t width = h.width;
    int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
    int64_t pixelCount = width * rows; // below 2^62: each side is at most 2^31
    if (pixelCount > d.maxPixelCount || static_cast<uint64_t>(pixelCount) > SIZE_MAX / 3)
        return BmpError::outOfMemory;

    RgbImage* image = newRgbImage(static_cast<int32_t>(width), static_cast<int32_t>(rows));
    if (!image) return BmpError::outOfMemory;
    d.image = image;
    // Run-length data stored top row first is decoded the same way as uncompressed rows.
    RgbTarget target{image->pixels, image->width, image->height, h.height < 0};
    return convertBmpPixels(d.bytes, d.size, d.layout, encoding, target) ? BmpError::none
                                                                         : BmpError::conversion;
}

void decode(void* context) {
    Decoding& d = *static_cast<Decoding*>(context);
    d.error = decodeInto(d);
}

} // namespace

BmpError decodeBmpImage(const unsigned char* bytes, size_t size, int64_t maxPixelCount, RgbImage** result) {
    Decoding d{bytes, size, maxPixelCount, {}, nullptr, BmpError::none};
    if (!readMappedBytes(bytes, size, decode, &d))
        d.error = BmpError::truncated; // the file lost its end while it was read
    if (d.error != BmpError::none) {
        freeRgbImage(d.image);
        d.image = nullptr;
    }
    *result = d.image;
    return d.error;
}

RgbImage* newRgbImage(int32_t width, int32_t height) {
    auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    unsigned char* pixels = allocatePixelArray(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    if (!image || !pixels) {
        std::free(pixels);
        std::free(image);
        return nullptr;
    }
    *image = RgbImage{width, height, pixels};
    return image;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
