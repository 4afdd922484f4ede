// Pixel arrays from malloc, with Linux's hint to back large ones with huge pages.
#include "platform/platform.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>

#if defined(MADV_HUGEPAGE)
// The size of a transparent huge page as this kernel makes them: 2 MiB on x86-64 and on arm64 with 4 KiB
// pages, 32 MiB on arm64 with 16 KiB pages (Raspberry Pi 5), 512 MiB with 64 KiB pages. 0 where the kernel
// has none, or a size that is no power of two, so the hint is left out.
static uintptr_t hugePageBytes() {
    char text[32] = "";
    if (FILE* file = std::fopen("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size", "r")) {
        if (!std::fgets(text, sizeof text, file)) text[0] = '\0';
        (void)std::fclose(file);
    }
    char* end = nullptr;
    const unsigned long long bytes = std::strtoull(text, &end, 10);
    if (end == text || (*end != '\n' && *end != '\0')) return 0;
    const bool powerOfTwo = bytes != 0 && (bytes & (bytes - 1)) == 0;
    return powerOfTwo && bytes <= UINTPTR_MAX ? static_cast<uintptr_t>(bytes) : 0;
}
#endif

// Each fresh page of a large image costs one fault when first written; with transparent huge pages that
// becomes one per huge page, several times faster on big textures. Only a hint: elsewhere nothing changes.
unsigned char* allocatePixelArray(size_t bytes) {
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(bytes));
#if defined(MADV_HUGEPAGE)
    static const uintptr_t hugePage = hugePageBytes(); // read once, on the first call
    if (pixels && hugePage != 0) {
        // The whole huge pages inside the array, reached from `pixels` so no pointer is made from a number.
        const uintptr_t address = reinterpret_cast<uintptr_t>(pixels);
        const uintptr_t first = (address + hugePage - 1) & ~(hugePage - 1);
        const uintptr_t end = (address + bytes) & ~(hugePage - 1);
        if (end > first) madvise(pixels + (first - address), end - first, MADV_HUGEPAGE);
    }
#endif
    return pixels;
}
