// Pixel arrays on Windows: plain malloc, which needs no hint.
#include "platform/platform.h"

#include <cstdlib>

unsigned char* allocatePixelArray(size_t bytes) {
    return static_cast<unsigned char*>(std::malloc(bytes));
}
