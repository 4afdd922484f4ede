// loadBmpImage and freeRgbImage: map the file, check sizes against the limits, allocate, convert,
// release everything, and only then tell the user what went wrong.
#include "image/bmp_format.h"
#include "image/bmp_pixels.h"
#include "image/image.h"
#include "platform/platform.h"

#include <cstdlib>
#include <string>

#if defined(__linux__)
#include <sys/mman.h>
#endif

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
    if (width * rows > maxPixelCount) return BmpError::outOfMemory;

    RgbImage* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    unsigned char* pixels = allocatePixelArray(static_cast<size_t>(width * rows * 3));
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

// Each fresh page of a large image costs one fault when first written; with transparent huge pages that
// becomes one per 2 MiB, several times faster on big textures. Only a hint: elsewhere nothing changes.
unsigned char* allocatePixelArray(size_t bytes) {
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(bytes));
#if defined(MADV_HUGEPAGE)
    if (pixels) {
        constexpr uintptr_t hugePage = uintptr_t(2) << 20;
        uintptr_t start = (reinterpret_cast<uintptr_t>(pixels) + hugePage - 1) & ~(hugePage - 1);
        uintptr_t end = (reinterpret_cast<uintptr_t>(pixels) + bytes) & ~(hugePage - 1);
        if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
    }
#endif
    return pixels;
}

RgbImage* loadBmpImage(const char* fileName) {
    MappedFile file;
    if (!mapFileReadOnly(fileName, &file)) {
        std::string text = std::string("Failed to open DIB file ") + (fileName ? fileName : "") + ".\n";
        showMessageBox("Error", text.c_str());
        return nullptr;
    }
    RgbImage* image = nullptr;
    BmpError error = decodeBmpImage(file.data, file.size, maxBmpPixelCount, &image);
    unmapFile(&file);
    if (error != BmpError::none) showMessageBox("Error", bmpErrorMessage(error));
    return image;
}

void freeRgbImage(RgbImage* image) {
    if (!image) return;
    std::free(image->pixels);
    std::free(image);
}
