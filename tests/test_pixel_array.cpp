// The pixel memory's huge-page hint on Linux: the whole huge pages inside a large array are marked for
// transparent huge pages, in the kernel's own huge-page size (2 MiB on x86-64, 32 MiB on arm64 with 16 KiB
// pages), and nothing outside the array is.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/mman.h>

namespace {

// The VmFlags of the mapping of /proc/self/smaps that holds `address`; "" where none shows them.
std::string vmFlagsAt(uintptr_t address) {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t start = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> start >> dash >> end && dash == '-')
            inside = start <= address && address < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0)
            return line.substr(8) + " ";
    }
    return "";
}

// Whether madvise's mark shows in /proc/self/smaps here: qemu's user-mode emulator accepts the hint and
// drops it.
bool hugePageMarksShow(uintptr_t hugePage) {
    void* area = mmap(nullptr, 2 * hugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) return false;
    const uintptr_t address = reinterpret_cast<uintptr_t>(area);
    const uintptr_t whole = (address + hugePage - 1) & ~(hugePage - 1);
    const bool shows = madvise(static_cast<char*>(area) + (whole - address), hugePage, MADV_HUGEPAGE) == 0 &&
                       vmFlagsAt(whole).find(" hg ") != std::string::npos;
    munmap(area, 2 * hugePage);
    return shows;
}

TEST(PixelArray, MarksTheWholeHugePagesInsideALargeArrayForHugePages) {
    unsigned long long hugePage = 0;
    std::ifstream("/sys/kernel/mm/transparent_hugepage/hpage_pmd_size") >> hugePage;
    if (hugePage == 0) GTEST_SKIP() << "this kernel has no transparent huge pages";
    if (!hugePageMarksShow(hugePage))
        GTEST_SKIP() << "madvise's huge-page mark does not show here (an emulator)";
    // Two and a half huge pages hold at least one whole one wherever malloc puts them.
    const size_t bytes = static_cast<size_t>(hugePage) * 5 / 2;
    unsigned char* pixels = allocatePixelArray(bytes);
    ASSERT_NE(pixels, nullptr);
    const uintptr_t address = reinterpret_cast<uintptr_t>(pixels);
    const uintptr_t firstWhole = (address + hugePage - 1) & ~uintptr_t(hugePage - 1);
    const std::string inside = vmFlagsAt(firstWhole);
    // The byte before it: a fixed size smaller than the kernel's would mark it too, where the array starts
    // that far before.
    const std::string before = vmFlagsAt(firstWhole - 1);
    std::free(pixels);
    EXPECT_NE(inside.find(" hg "), std::string::npos)
        << "a whole huge page inside the array has only" << inside;
    if (firstWhole != address) {
        EXPECT_EQ(before.find(" hg "), std::string::npos) << "the byte before the first huge page too";
    }
}

} // namespace
