// Pixel arrays from malloc, with Linux's hint to back large ones with huge pages.
#include "platform/platform.h"

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>

// Each fresh page of a large image costs one fault when first written; with transparent huge pages that
// becomes one per 2 MiB, several times faster on big textures. Only a hint: elsewhere nothing changes.
unsigned char* allocatePixelArray(size_t bytes) {
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(bytes));
#if defined(MADV_HUGEPAGE)
    if (pixels) {
        // The whole huge pages inside the array, reached from `pixels` so no pointer is made from a number.
        constexpr uintptr_t hugePage = uintptr_t(2) << 20;
        const uintptr_t address = reinterpret_cast<uintptr_t>(pixels);
        const uintptr_t first = (address + hugePage - 1) & ~(hugePage - 1);
        const uintptr_t end = (address + bytes) & ~(hugePage - 1);
        if (end > first) madvise(pixels + (first - address), end - first, MADV_HUGEPAGE);
    }
#endif
    return pixels;
}
