// Failures: files that cannot be opened, unsupported encodings, sizes past the limits, files cut short,
// and what is left behind afterwards (nothing: no memory, no mapping, no open descriptor).
#include "image/image.h"
#include "platform/platform.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/message_box_recorder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>
#ifdef _WIN32
#include <windows.h>

#include <psapi.h> // needs windows.h first
#endif

namespace {

class BmpFailureTest : public BmpFileTest {};

BmpParts simpleParts(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression = 0) {
    BmpParts parts;
    parts.width = width;
    parts.height = height;
    parts.bitCount = bitCount;
    parts.compression = compression;
    parts.colorsUsed = bitCount <= 8 ? 2 : 0;
    if (bitCount <= 8) parts.palette = {0xffffff, 0x00ff00};
    parts.pixels.assign(64, 0x11);
    return parts;
}

TEST_F(BmpFailureTest, MissingOrEmptyFilesCannotBeOpened) {
    std::string missing = directory + "/no such file.bmp";
    EXPECT_EQ(loadBmpImage(missing.c_str()), nullptr);
    ASSERT_TRUE(writeBytes(path, {}));
    EXPECT_EQ(loadBmpImage(path.c_str()), nullptr);
    EXPECT_EQ(loadBmpImage(directory.c_str()), nullptr);
    std::vector<std::string> refused = {missing, path, directory};
#ifndef __EMSCRIPTEN__
    // Paths are UTF-8: this one names no file, not even the one it would name with its byte that is
    // not UTF-8 read as U+FFFD, which decodes. (Emscripten's file system names files by JavaScript
    // strings, where that byte is U+FFFD; the browser opens only the page's own maps, by their names.)
    const std::string notUtf8 = directory + "/\xff.bmp";
    ASSERT_TRUE(writeBytes(path, buildBmp(simpleParts(2, 2, 24))));
    std::filesystem::rename(path, std::filesystem::u8path(directory + "/\xef\xbf\xbd.bmp"));
    EXPECT_EQ(loadBmpImage(notUtf8.c_str()), nullptr);
    refused.push_back(notUtf8);
#endif
    ASSERT_EQ(recordedMessageBoxes().size(), refused.size());
    EXPECT_EQ(recordedMessageBoxes()[0].caption, "Error");
    for (size_t i = 0; i < refused.size(); ++i)
        EXPECT_EQ(recordedMessageBoxes()[i].text, "Failed to open DIB file " + refused[i] + ".\n");
}

// Paths are UTF-8 on every system, so a name in Hangul opens on Windows as on Linux.
TEST_F(BmpFailureTest, HangulFileNamesOpen) {
    const std::string hangul = directory + "/\xed\x86\xa0\xec\x84\xb1.bmp"; // "토성.bmp"
    ASSERT_TRUE(writeBytes(path, buildBmp(simpleParts(2, 2, 24))));
    std::filesystem::rename(path, std::filesystem::u8path(hangul));
    RgbImage* image = loadBmpImage(hangul.c_str());
    EXPECT_NE(image, nullptr);
    EXPECT_TRUE(recordedMessageBoxes().empty());
    freeRgbImage(image);
}

TEST_F(BmpFailureTest, EncodingsWithoutAConversionAreRefused) {
    struct Case {
        uint16_t bitCount;
        uint32_t compression;
        uint32_t headerSize;
    };
    const Case cases[] = {
        {2, 0, 40},  {0, 0, 40},  {64, 0, 40}, {30000, 0, 40}, {7, 0, 40},  {8, 2, 40},
        {4, 1, 40},  {24, 1, 40}, {8, 3, 40},  {24, 3, 40},    {16, 4, 40}, {32, 5, 40},
        {32, 6, 40}, {24, 4, 40}, {2, 0, 12},  {0, 0, 12},     {32, 7, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("bits " + std::to_string(c.bitCount) + " compression " + std::to_string(c.compression));
        BmpParts parts = simpleParts(2, 2, c.bitCount, c.compression);
        parts.headerSize = c.headerSize;
        parts.masks = {0xff0000, 0xff00, 0xff};
        expectRefusal(buildBmp(parts), "Image file conversion error.");
    }
}

// Zero-sized images are refused and no image can be made with a negative width. Only the total is
// limited, to 8192 x 8192 pixels, never one side, and a core header's 16-bit sides are unsigned.
TEST_F(BmpFailureTest, SizesDecodeUpToTheLimitOnTheTotalNumberOfPixels) {
    struct Case {
        uint32_t headerSize;
        int32_t width;
        int32_t height;
        const char* message; // null: decodes
    };
    const char* const conversion = "Image file conversion error.";
    const char* const outOfMemory = "Out of memory.";
    const Case cases[] = {
        {40, 0, 4, conversion},
        {40, 4, 0, conversion},
        {40, -4, 4, outOfMemory},
        {40, INT32_MIN, 4, outOfMemory},
        {40, 4, INT32_MIN, outOfMemory},
        {40, INT32_MAX, INT32_MAX, outOfMemory},
        {40, 8192, 8192, nullptr},             // at the limit: an 8 MiB file, 192 MiB of RGB
        {40, 8193, 8192, outOfMemory},         // one row more than the limit
        {40, 8192 * 8192 + 1, 1, outOfMemory}, // one pixel more, in a single row
        {40, 3000000, 2000000, outOfMemory},
        {40, 40000, 1, nullptr},
        {40, 1, -40000, nullptr},
        {40, 8192, 2, nullptr},
        {12, 40000, 1, nullptr}, // 120 KB of output
        {12, 1, 40000, nullptr},
        {12, 65535, 2, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.headerSize) + "-byte header, " + std::to_string(c.width) + "x" +
                     std::to_string(c.height));
        BmpParts parts = simpleParts(c.width, c.height, 1);
        parts.headerSize = c.headerSize;
        if (c.message) {
            expectRefusal(buildBmp(parts), c.message);
            continue;
        }
        const size_t stride = (static_cast<size_t>(c.width) + 31) / 32 * 4;
        parts.pixels.assign(stride * static_cast<size_t>(std::abs(c.height)), 0x55); // indices 0, 1, 0, 1...
        clearRecordedMessageBoxes();
        RgbImage* image = load(buildBmp(parts));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, c.width);
        EXPECT_EQ(image->height, std::abs(c.height));
        EXPECT_EQ(pixelAt(image, 0, 0), 0xffffffu);
        EXPECT_EQ(pixelAt(image, 0, image->height - 1), 0xffffffu);
        if (c.width > 1) {
            EXPECT_EQ(pixelAt(image, 1, 0), 0x00ff00u);
        }
        EXPECT_TRUE(recordedMessageBoxes().empty());
        freeRgbImage(image);
    }
}

// decodeBmpImage is the same decoder on bytes in memory, with the caller's limit on the pixel count: it
// shows no box and says why it failed, in the words loadBmpImage would show.
TEST_F(BmpFailureTest, BytesInMemoryDecodeWithoutABox) {
    BmpParts unknown = simpleParts(3, 2, 24);
    unknown.headerSize = 108;
    const Bytes threeByTwo = buildBmp(simpleParts(3, 2, 24));
    struct Case {
        const char* name;
        Bytes bytes;
        int64_t limit;
        BmpError error;
        const char* message;
    };
    const Case cases[] = {
        {"at the caller's limit", threeByTwo, 6, BmpError::none, ""},
        {"a pixel past the caller's limit", threeByTwo, 5, BmpError::outOfMemory, "Out of memory."},
        {"cut inside the file header",
         {'B', 'M', 1, 2, 3},
         maxBmpPixelCount,
         BmpError::truncated,
         "Image file is truncated."},
        {"108-byte header", buildBmp(unknown), maxBmpPixelCount, BmpError::unknownFormat,
         "Unknown DIB file format."},
        {"2 bits per pixel", buildBmp(simpleParts(3, 2, 2)), maxBmpPixelCount, BmpError::conversion,
         "Image file conversion error."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RgbImage stale{};
        RgbImage* image = &stale; // overwritten on every outcome
        EXPECT_EQ(decodeBmpImage(c.bytes.data(), c.bytes.size(), c.limit, &image), c.error);
        EXPECT_STREQ(bmpErrorMessage(c.error), c.message);
        if (c.error == BmpError::none) {
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->width, 3);
            EXPECT_EQ(image->height, 2);
            EXPECT_EQ(pixelAt(image, 2, 1), 0x111111u);
            freeRgbImage(image);
        } else {
            EXPECT_EQ(image, nullptr);
        }
    }
    EXPECT_TRUE(recordedMessageBoxes().empty());
}

// Every prefix of a valid file: refused with the message for the part that is missing, or decoded with
// the rows that are complete and the rest black.
TEST_F(BmpFailureTest, EveryPrefixOfAnUncompressedFileIsHandled) {
    struct Case {
        const char* name;
        BmpParts parts;
    };
    auto make = [](bool fileHeader, uint32_t headerSize, uint16_t bitCount, int32_t height) {
        BmpParts p;
        p.fileHeader = fileHeader;
        p.headerSize = headerSize;
        p.width = 3;
        p.height = height;
        p.bitCount = bitCount;
        std::vector<std::vector<uint32_t>> rows(3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                rows[y].push_back(bitCount == 24 ? 0x203040u * (x + 3 * y + 1) & 0xffffff : (x + y) % 4);
        if (bitCount == 8)
            p.palette = {0x0000ff, 0x00ff00, 0xff0000, 0xffffff}, p.colorsUsed = headerSize == 40 ? 4 : 0;
        if (bitCount == 8 && headerSize == 12) p.palette.resize(256, 0x777777);
        p.pixels = packRows(rows, bitCount);
        return p;
    };
    const Case cases[] = {
        {"24 bits", make(true, 40, 24, 3)},         {"8 bits with colour table", make(true, 40, 8, 3)},
        {"8 bits top-down", make(true, 40, 8, -3)}, {"core 8 bits", make(true, 12, 8, 3)},
        {"no file header", make(false, 40, 8, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes full = buildBmp(c.parts);
        RgbImage* whole = load(full);
        ASSERT_NE(whole, nullptr);
        size_t pixelStart = full.size() - c.parts.pixels.size();
        size_t rowBytes = c.parts.bitCount == 24 ? 9 : 3;
        size_t stride = (rowBytes + 3) / 4 * 4;
        for (size_t length = 0; length < full.size(); ++length) {
            SCOPED_TRACE(length);
            Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length));
            if (length == 0) {
                expectRefusal(prefix, "Failed to open DIB file " + path + ".\n");
                continue;
            }
            if (length < pixelStart) {
                expectRefusal(prefix, "Image file is truncated.");
                continue;
            }
            size_t rows = length < pixelStart + rowBytes ? 0 : (length - pixelStart - rowBytes) / stride + 1;
            if (rows == 0) {
                expectRefusal(prefix, "Image file conversion error.");
                continue;
            }
            clearRecordedMessageBoxes();
            RgbImage* partial = load(prefix);
            ASSERT_NE(partial, nullptr);
            EXPECT_TRUE(recordedMessageBoxes().empty());
            for (int fileRow = 0; fileRow < 3; ++fileRow) {
                int y = c.parts.height < 0 ? 2 - fileRow : fileRow;
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(pixelAt(partial, x, y),
                              fileRow < static_cast<int>(rows) ? pixelAt(whole, x, y) : 0u);
            }
            freeRgbImage(partial);
        }
        freeRgbImage(whole);
    }
}

// Run-length streams cut anywhere: never a crash, and either an image or exactly one box.
TEST_F(BmpFailureTest, EveryPrefixOfARunLengthFileIsHandled) {
    for (uint32_t compression : {1u, 2u}) {
        BmpParts parts;
        parts.width = 7;
        parts.height = 3;
        parts.bitCount = compression == 1 ? 8 : 4;
        parts.compression = compression;
        parts.colorsUsed = 3;
        parts.palette = {0x0000ff, 0x00ff00, 0xff0000};
        parts.pixels = {3, 0x12, 0, 3, 0x21, 0x10, 0x20, 0, 0, 0, 2, 0, 1, 1, 2, 0, 0, 5, 0x11, 0, 1};
        Bytes full = buildBmp(parts);
        for (size_t length = 1; length <= full.size(); ++length) {
            SCOPED_TRACE(length);
            clearRecordedMessageBoxes();
            RgbImage* image = load(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)));
            EXPECT_EQ(recordedMessageBoxes().size(), image ? 0u : 1u);
            if (length < full.size() - parts.pixels.size()) {
                EXPECT_EQ(image, nullptr);
            }
            if (length == full.size()) {
                EXPECT_NE(image, nullptr);
            }
            freeRgbImage(image);
        }
    }
}

#ifdef _WIN32
// What the process holds of `name`: its views, and every open handle of the process, a file's or a
// mapping's (Wine counts no handles, so each handle value is asked; new handles take the lowest free).
size_t heldResources(const std::string& name) {
    size_t count = 0;
    const std::string fileName = std::filesystem::path(name).filename().string();
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        char mapped[MAX_PATH];
        if (region.Type == MEM_MAPPED &&
            GetMappedFileNameA(GetCurrentProcess(), region.BaseAddress, mapped, MAX_PATH) &&
            std::string(mapped).find(fileName) != std::string::npos)
            ++count;
    }
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x1000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    return count;
}
#else
// Descriptors and mappings of `name` that the process holds, as /proc lists them.
size_t heldResources(const std::string& name) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
        if (!error && target.string().find(name) != std::string::npos) ++count;
    }
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(name) != std::string::npos) ++count;
    return count;
}
#endif

#ifdef _WIN32
size_t pageSize() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    return system.dwPageSize;
}

// Windows, and Wine through its own calls, refuse to shrink a mapped file. Under Wine the Linux side
// can, as a file server or another machine's program would: Wine starts Linux programs, though
// without waiting for them, so the size is watched until it drops.
bool cutShort(const std::string& path, size_t size) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return false; // not Wine
    std::wstring widePath(path.begin(), path.end());
    char* name = unixName(widePath.c_str());
    std::string command = "/usr/bin/truncate -c -s " + std::to_string(size) + " \"" + name + "\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    for (int wait = 0; wait < 3000; ++wait) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeHigh == 0 &&
            data.nFileSizeLow == size)
            return true;
        Sleep(10);
    }
    return false;
}

// A read the system can no longer page in (a network share gone away under a view) raises
// EXCEPTION_IN_PAGE_ERROR, which Wine never raises. The exception is raised here as the memory
// manager raises it: a read flag, the address, and the status of the failed read. One inside the
// bytes, their first and last included, abandons the reading; one a byte outside them is not the
// reading's and goes on to the handlers further out, here the test's, which resumes after it.
const unsigned char* faultAt = nullptr;
int passedOn = 0;
LONG CALLBACK resumeAfterPassedOnPageError(EXCEPTION_POINTERS* exception) {
    if (exception->ExceptionRecord->ExceptionCode != EXCEPTION_IN_PAGE_ERROR)
        return EXCEPTION_CONTINUE_SEARCH;
    ++passedOn;
    return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(MappedReading, APageErrorInsideTheBytesAbandonsTheReadingOneOutsideIsPassedOn) {
    static unsigned char around[1 + 4096 + 1];
    unsigned char* const bytes = around + 1;
    const size_t size = sizeof around - 2;
    struct Case {
        const char* name;
        unsigned char* fault; // null: none
        bool abandoned;
    };
    const Case cases[] = {
        {"no fault", nullptr, false},
        {"page error on the first byte", bytes, true},
        {"page error on the last byte", bytes + size - 1, true},
        {"page error one byte before", bytes - 1, false},
        {"page error one byte past", bytes + size, false},
    };
    void* outer = AddVectoredExceptionHandler(0, resumeAfterPassedOnPageError);
    ASSERT_NE(outer, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        faultAt = c.fault;
        passedOn = 0;
        bool reached = false;
        const bool completed = readMappedBytes(
            bytes, size,
            [](void* reached) {
                if (faultAt) {
                    const ULONG_PTR information[] = {0, reinterpret_cast<ULONG_PTR>(faultAt), 0xc000020c};
                    RaiseException(EXCEPTION_IN_PAGE_ERROR, 0, 3, information);
                }
                *static_cast<bool*>(reached) = true;
            },
            &reached);
        EXPECT_EQ(completed, !c.abandoned);
        EXPECT_EQ(reached, !c.abandoned);
        EXPECT_EQ(passedOn, c.fault && !c.abandoned ? 1 : 0);
    }
    RemoveVectoredExceptionHandler(outer);
}

// A stand-in for the listing call (bmp_tests.cmake wraps its import at link time): Windows refuses to
// list a folder that the user may not enter, which Wine cannot make.
bool listingRefused = false;

} // namespace

extern "C" {
extern decltype(&FindFirstFileA) __real___imp_FindFirstFileA;
HANDLE WINAPI findFirstFileStandIn(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
    if (!listingRefused) return __real___imp_FindFirstFileA(pattern, found);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}
decltype(&FindFirstFileA) __wrap___imp_FindFirstFileA = findFirstFileStandIn;
}

namespace {

// The image folder's state, which decides between no box, the box that names the folder, and loading.
TEST_F(BmpFailureTest, AFolderThatCannotBeListedIsUnusable) {
    struct Case {
        const char* name;
        std::string path;
        bool refused;
        FolderState state;
    };
    const Case cases[] = {
        {"nothing there", directory + "\\none", false, FolderState::absent},
        {"a folder", directory, false, FolderState::usable},
        {"a file", path, false, FolderState::unusable},
        {"a folder that cannot be listed", directory, true, FolderState::unusable},
    };
    ASSERT_TRUE(writeBytes(path, {}));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        listingRefused = c.refused;
        const FolderState state = folderState(c.path.c_str());
        listingRefused = false;
        EXPECT_EQ(static_cast<int>(state), static_cast<int>(c.state));
    }
}
#else
size_t pageSize() {
    return static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

bool cutShort(const std::string& path, size_t size) {
    return truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}
#endif

// A file that shrinks while it is mapped (another program rewriting it): the pages past its new end
// can no longer be read, and the decoder says the file is truncated instead of the program dying.
TEST_F(BmpFailureTest, AFileShrinkingUnderItsMappingIsTruncated) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's file system maps a file by copying it, so nothing shrinks under a reader";
#endif
    BmpParts parts = simpleParts(256, 256, 24);
    parts.pixels.assign(256 * 256 * 3, 0x5a); // 48 pages of pixels
    const Bytes bytes = buildBmp(parts);
    const size_t page = pageSize();
    struct Case {
        const char* name;
        size_t sizeLeft;
        BmpError error;
    };
    const Case cases[] = {
        {"emptied", 0, BmpError::truncated},
        {"cut in the first page: the headers stay, the pixels go", 100, BmpError::truncated},
        {"cut a few pages into the pixels", 3 * page, BmpError::truncated},
        {"the last page gone", (bytes.size() - 1) / page * page, BmpError::truncated},
        {"left whole, after the faults", bytes.size(), BmpError::none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(writeBytes(path, bytes));
        MappedFile file;
        ASSERT_TRUE(mapFileReadOnly(path.c_str(), &file));
        if (!cutShort(path, c.sizeLeft)) {
            unmapFile(&file);
            GTEST_SKIP() << "this system cannot shrink a mapped file";
        }
        RgbImage* image = nullptr;
        EXPECT_EQ(decodeBmpImage(file.data, file.size, maxBmpPixelCount, &image), c.error);
        if (c.error == BmpError::none) {
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(pixelAt(image, 255, 255), 0x5a5a5au);
        } else {
            EXPECT_EQ(image, nullptr);
        }
        freeRgbImage(image);
        unmapFile(&file);
    }
}

// Whatever the outcome, the file is closed and unmapped on return and can be deleted at once.
TEST_F(BmpFailureTest, NothingIsLeftOpenOrMapped) {
    BmpParts unknown = simpleParts(2, 2, 8);
    unknown.headerSize = 108;
    BmpParts noPixels = simpleParts(2, 2, 24);
    noPixels.pixels.clear();
    const std::pair<const char*, Bytes> cases[] = {
        {"decoded", buildBmp(simpleParts(2, 2, 24))},
        {"unknown header", buildBmp(unknown)},
        {"conversion error", buildBmp(simpleParts(2, 2, 2))},
        {"too large", buildBmp(simpleParts(8193, 8192, 24))},
        {"no pixels", buildBmp(noPixels)},
        {"truncated", Bytes{'B', 'M', 1, 2, 3}},
        {"empty, which cannot be mapped", Bytes{}},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        path = directory + "/resource check.bmp";
        const size_t before = heldResources(path);
        RgbImage* image = load(bytes);
        EXPECT_EQ(heldResources(path), before);
        EXPECT_TRUE(std::filesystem::remove(path));
        freeRgbImage(image);
    }
}

// Files kept in tests/fixtures: layouts the conformance corpus lacks (they also start the fuzzer) and any
// input that once made the decoder misbehave. The name says the outcome: "decodes-..." or "refused-...".
TEST_F(BmpFailureTest, FixtureFilesGiveTheOutcomeTheirNameStates) {
    std::string fixtures = ASTROLUME_SOURCE_DIR "/tests/fixtures";
    size_t seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixtures)) {
        std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".bmp") continue;
        SCOPED_TRACE(name);
        ++seen;
        clearRecordedMessageBoxes();
        RgbImage* image = loadBmpImage(entry.path().string().c_str());
        if (name.rfind("decodes-", 0) == 0) {
            EXPECT_NE(image, nullptr);
            EXPECT_TRUE(recordedMessageBoxes().empty());
        } else {
            EXPECT_EQ(image, nullptr);
            EXPECT_EQ(recordedMessageBoxes().size(), 1u);
        }
        freeRgbImage(image);
    }
    EXPECT_GT(seen, 0u);
}

} // namespace
