// Heap use of the program's own code: drawing frames and handling input allocate nothing, and the
// decoder leaves nothing but the image it returns, its pixels allocated once at their final size.
//
// This program links with --wrap=malloc,calloc,realloc,free, which redirects those calls made by
// statically linked code (the program's library and this test) but not those inside Mesa, GLUT or
// libc: what is counted is what our code asks for. The global operator new and delete are replaced
// too, since std:: containers reach malloc from inside libstdc++. Only calls on the thread that
// opened a counting window are counted; Mesa's worker threads never are.
#include "image/image.h"
#include "input/input.h"
#include "render/render.h"
#include "scene/scene.h"
#include "tests/support/bmp_file_test.h"
#include "tests/support/gl_test_window.h"

#include <GL/freeglut.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <string>

extern "C" {
void* __real_malloc(size_t bytes);
void* __real_calloc(size_t count, size_t bytes);
void* __real_realloc(void* old, size_t bytes);
void __real_free(void* memory);
}

namespace {

enum class Call { malloc, calloc, realloc, newOperator, free };

struct Allocation {
    Call call;
    size_t bytes;
    void* address;
};

// Filled while counting, so it must not allocate: a fixed log, the total kept even when it overflows.
struct AllocationLog {
    static constexpr int capacity = 32;
    Allocation entries[capacity];
    int count = 0;

    int countOf(Call call) const {
        int n = 0;
        for (int i = 0; i < count && i < capacity; ++i)
            n += entries[i].call == call;
        return n;
    }
    // Allocations of any kind, frees left out.
    int allocations() const { return count - countOf(Call::free); }
};

thread_local bool countingHere = false;
AllocationLog counted;

void note(Call call, size_t bytes, void* address) {
    if (!countingHere) return;
    if (counted.count < AllocationLog::capacity) counted.entries[counted.count] = {call, bytes, address};
    ++counted.count;
}

// Calls `action` with counting on, on this thread only; returns what it (and all it called) did.
template <typename Action> AllocationLog countDuring(Action action) {
    counted = AllocationLog{};
    countingHere = true;
    action();
    countingHere = false;
    return counted;
}

const char* const callNames[] = {"malloc", "calloc", "realloc", "operator new", "free"}; // by Call

std::string describe(const AllocationLog& log) {
    std::string text = std::to_string(log.count) + " calls:";
    for (int i = 0; i < log.count && i < 8; ++i) // the first few say enough
        text += std::string(" ") + callNames[static_cast<int>(log.entries[i].call)] + "(" +
                std::to_string(log.entries[i].bytes) + ")";
    return text;
}

void* newMemory(size_t bytes) {
    void* memory = __real_malloc(bytes ? bytes : 1);
    note(Call::newOperator, bytes, memory);
    return memory;
}

void deleteMemory(void* memory) {
    if (memory) note(Call::free, 0, memory);
    __real_free(memory);
}

} // namespace

extern "C" {
void* __wrap_malloc(size_t bytes) {
    void* memory = __real_malloc(bytes);
    note(Call::malloc, bytes, memory);
    return memory;
}
void* __wrap_calloc(size_t count, size_t bytes) {
    void* memory = __real_calloc(count, bytes);
    note(Call::calloc, count * bytes, memory);
    return memory;
}
void* __wrap_realloc(void* old, size_t bytes) {
    void* memory = __real_realloc(old, bytes);
    note(Call::realloc, bytes, memory);
    return memory;
}
void __wrap_free(void* memory) {
    if (memory) note(Call::free, 0, memory);
    __real_free(memory);
}
}

void* operator new(size_t bytes) {
    if (void* memory = newMemory(bytes)) return memory;
    throw std::bad_alloc();
}
void* operator new[](size_t bytes) {
    if (void* memory = newMemory(bytes)) return memory;
    throw std::bad_alloc();
}
void* operator new(size_t bytes, const std::nothrow_t&) noexcept {
    return newMemory(bytes);
}
void* operator new[](size_t bytes, const std::nothrow_t&) noexcept {
    return newMemory(bytes);
}
void operator delete(void* memory) noexcept {
    deleteMemory(memory);
}
void operator delete[](void* memory) noexcept {
    deleteMemory(memory);
}
void operator delete(void* memory, size_t) noexcept {
    deleteMemory(memory);
}
void operator delete[](void* memory, size_t) noexcept {
    deleteMemory(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    deleteMemory(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    deleteMemory(memory);
}

namespace {

constexpr int framesCounted = 200;

// The first frames of a view let Mesa build the shader variants it needs, which it keeps.
void drawFrames(int count) {
    for (int i = 0; i < count; ++i) {
        advanceAnimation();
        onDisplay();
    }
    glFinish();
}

AllocationLog framesOfView(int view) {
    sceneState.currentView = view;
    drawFrames(5);
    return countDuring([] { drawFrames(framesCounted); });
}

// The counting itself must see an allocation made inside the window and nothing outside it,
// or every "nothing allocated" below would pass for the wrong reason.
TEST(AllocationCounting, SeesOurMallocAndNewButNothingOutsideTheWindow) {
    void* outside = std::malloc(24);
    AllocationLog log = countDuring([] {
        static void* volatile inside; // volatile, or the compiler drops the malloc and free as a pair
        inside = std::malloc(40);
        std::free(inside);
        delete new std::string(100, 'x');
    });
    std::free(outside);
    ASSERT_EQ(log.countOf(Call::malloc), 1) << describe(log);
    EXPECT_EQ(log.entries[0].bytes, 40u);
    EXPECT_GE(log.countOf(Call::newOperator), 2) << describe(log); // the string and its characters
    EXPECT_EQ(log.countOf(Call::free), log.allocations()) << describe(log);
}

// Frames and input start from and leave behind the scene as a fresh start has it.
class SceneAllocations : public ::testing::Test {
  protected:
    void SetUp() override { resetSceneForTest(); }
    void TearDown() override { resetSceneForTest(); }
};

// The whole system from a fresh start, every close-up, then the whole system turned, zoomed and unlit.
TEST_F(SceneAllocations, FramesOfEveryViewAllocateNothing) {
    for (int view = VIEW_SYSTEM; view >= VIEW_SUN; --view) {
        AllocationLog log = framesOfView(view);
        EXPECT_EQ(log.count, 0) << "view " << view << ": " << describe(log);
    }
    resetSceneForTest();
    onMouse(MOUSE_LEFT, GLUT_DOWN, 100, 100);
    onMotion(160, 130);
    onMouse(MOUSE_LEFT, GLUT_UP, 160, 130);
    for (int i = 0; i < 20; ++i)
        onKeyboard('z', 0, 0);
    onKeyboard('l', 0, 0);
    AllocationLog log = framesOfView(VIEW_SYSTEM);
    EXPECT_EQ(log.count, 0) << "turned, zoomed and unlit: " << describe(log);
}

TEST_F(SceneAllocations, AnimationTicksAllocateNothing) {
    AllocationLog log = countDuring([] {
        for (int i = 0; i < 1000; ++i)
            advanceAnimation();
    });
    EXPECT_EQ(log.count, 0) << describe(log);
    EXPECT_NE(sceneState.orbitAngle[ORBIT_EARTH], 0.0f); // the ticks did run
}

TEST_F(SceneAllocations, PointerAndKeysAllocateNothing) {
    AllocationLog log = countDuring([] {
        const int buttons[] = {MOUSE_LEFT, 1, MOUSE_RIGHT, 3, 4}; // the wheel reports 3 and 4
        for (int button : buttons) {
            onMouse(button, GLUT_DOWN, 10, 20);
            onMotion(40, 60);
            onMotion(35, 55);
            onMouse(button, GLUT_UP, 35, 55);
            onMotion(0, 0); // released: ignored
        }
        for (unsigned char key : {' ', ' ', 'z', 'x', 'l', 'l', 'a', 'Z', '\r', '\t'})
            onKeyboard(key, 5, 5);
    });
    EXPECT_EQ(log.count, 0) << describe(log);
    EXPECT_NE(sceneState.viewYaw, 0.0f); // the drag did turn the model
}

// A 64 x 64 image of `bitCount` bits (8 with a full colour table), written outside any counting.
std::string writeImage(const std::string& directory, int bitCount) {
    BmpParts parts;
    parts.width = 64;
    parts.height = 64;
    parts.bitCount = static_cast<uint16_t>(bitCount);
    std::vector<std::vector<uint32_t>> rows(64, std::vector<uint32_t>(64));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            rows[y][x] = bitCount == 8 ? static_cast<uint32_t>(x * 4 + y) & 0xff : 0x010203u * x + y;
    if (bitCount == 8)
        for (uint32_t i = 0; i < 256; ++i)
            parts.palette.push_back(i * 0x010101u);
    parts.pixels = packRows(rows, bitCount);
    const std::string path = directory + "/image" + std::to_string(bitCount) + ".bmp";
    EXPECT_TRUE(writeBytes(path, buildBmp(parts)));
    return path;
}

class DecoderAllocations : public ::testing::Test {
  protected:
    void SetUp() override { directory = makeTestDirectory(); }
    void TearDown() override { removeTestDirectory(directory); }
    std::string directory;
};

// Size of the block at `address` if malloc gave it out while counting; 0 if not.
size_t mallocSize(const AllocationLog& log, const void* address) {
    for (int i = 0; i < log.count && i < AllocationLog::capacity; ++i)
        if (log.entries[i].call == Call::malloc && log.entries[i].address == address)
            return log.entries[i].bytes;
    return 0;
}

// What a caller relies on: only the record and its pixels outlive the call, both from malloc, the pixels
// allocated once at their final size, and freeRgbImage gives both back. Besides them the decoder copies
// at most the colour table, and releases the copy before it returns.
TEST_F(DecoderAllocations, OnlyTheImageOutlivesTheCallAndFreeReleasesIt) {
    struct Case {
        int bitCount;
        int temporaryBlocks;
        uint32_t pixel12; // pixel (1, 2), to show it did decode
    };
    for (const Case& c : {Case{24, 0, 0x010205}, Case{8, 1, 0x060606}}) {
        SCOPED_TRACE(c.bitCount);
        const std::string path = writeImage(directory, c.bitCount);
        RgbImage* image = nullptr;
        AllocationLog log = countDuring([&] { image = loadBmpImage(path.c_str()); });
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(pixelAt(image, 1, 2), c.pixel12);
        EXPECT_EQ(log.allocations(), 2 + c.temporaryBlocks) << describe(log);
        EXPECT_EQ(log.countOf(Call::free), c.temporaryBlocks) << describe(log);
        EXPECT_EQ(log.countOf(Call::realloc), 0) << describe(log);
        EXPECT_EQ(mallocSize(log, image->pixels), 64u * 64u * 3u) << describe(log);
        EXPECT_NE(mallocSize(log, image), 0u) << describe(log);

        AllocationLog released = countDuring([image] { freeRgbImage(image); });
        EXPECT_EQ(released.count, 2) << describe(released);
        EXPECT_EQ(released.countOf(Call::free), 2) << describe(released);
    }
}

} // namespace
