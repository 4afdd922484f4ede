// libFuzzer target: every input is decoded in memory by the program's own decoder, which must either
// give an image within the limit or say why not, in a sentence for the user.
#include "image/image.h"

#include <cstdlib>

// Images of up to 64 x 64 pixels reach every code path of the decoder; larger ones only spend the
// fuzzer's time converting more pixels the same way (a limit of 2^20 ran 18 times slower), so the
// fuzzer asks the decoder for this smaller limit.
constexpr int64_t fuzzPixelLimit = int64_t(64) * 64;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage* image = nullptr;
    BmpError error = decodeBmpImage(data, size, fuzzPixelLimit, &image);
    bool decoded = error == BmpError::none;
    if (decoded != (image != nullptr) || decoded == (bmpErrorMessage(error)[0] != '\0')) std::abort();
    if (image && (image->width <= 0 || image->height <= 0 ||
                  int64_t(image->width) * image->height > fuzzPixelLimit || !image->pixels))
        std::abort();
    freeRgbImage(image);
    return 0;
}
