// libFuzzer target: every input is decoded in memory by the program's own decoder.
#include "image/image.h"

// Images of up to 64 x 64 pixels reach every code path of the decoder; larger ones only spend the
// fuzzer's time converting more pixels the same way (a limit of 2^20 ran 18 times slower), so the
// fuzzer asks the decoder for this smaller limit.
constexpr int64_t fuzzPixelLimit = int64_t(64) * 64;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage* image = nullptr;
    decodeBmpImage(data, size, fuzzPixelLimit, &image);
    freeRgbImage(image);
    return 0;
}
