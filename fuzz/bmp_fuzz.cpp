// libFuzzer target: every input is decoded in memory by the program's own decoder.
#include "image/image.h"

// Images of up to a million pixels reach every code path; larger ones only spend the fuzzer's time
// filling memory, so the fuzzer asks the decoder for this smaller limit.
constexpr int64_t fuzzPixelLimit = int64_t(1) << 20;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage* image = nullptr;
    decodeBmpImage(data, size, fuzzPixelLimit, &image);
    freeRgbImage(image);
    return 0;
}
