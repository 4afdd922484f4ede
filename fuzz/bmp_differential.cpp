// libFuzzer target: each input is decoded by the program's decoder and by stb_image's BMP reader.
// Where both accept it, the pixels must be the same, except where the program has made a choice of its
// own; each such choice is one rule below. Where only one accepts, nothing fails: the reason is
// counted, and the counts are printed when the fuzzer exits.
#include "image/image.h"

#include <stb_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

// The limit the program's decoder is given, and the largest image stb is asked to read: the size of
// the conformance files, so that they are compared whole; bigger images only cost time.
constexpr int64_t differentialPixelLimit = int64_t(128) * 64;

std::map<std::string, uint64_t>& outcomeCounts() {
    static std::map<std::string, uint64_t> counts;
    return counts;
}

void countOutcome(const std::string& outcome) {
    ++outcomeCounts()[outcome];
}

void printOutcomeCounts() {
    std::fprintf(stderr, "bmp_differential outcomes:\n");
    for (const auto& [outcome, count] : outcomeCounts())
        std::fprintf(stderr, "%12llu  %s\n", static_cast<unsigned long long>(count), outcome.c_str());
}

// Little-endian fields as stb reads them: zero past the end of the input.
uint32_t u16At(const uint8_t* data, size_t size, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 2; ++i)
        if (offset + i < size) value |= static_cast<uint32_t>(data[offset + i]) << 8 * i;
    return value;
}

uint32_t u32At(const uint8_t* data, size_t size, size_t offset) {
    return u16At(data, size, offset) | u16At(data, size, offset + 2) << 16;
}

bool hasFileHeader(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

// What the rules need to know about a file with a "BM" header, read the way both decoders read it.
struct FileFacts {
    uint32_t headerSize;
    int64_t pixelOffset; // the file header's field, as stb's signed int
    int64_t width;
    int64_t height; // negative: top row stored first
    uint32_t bitCount;
    uint32_t compression;
    bool bitFields; // compression 3 at 16 or 32 bits: three masks follow the 40-byte header
    uint32_t masks[3];
    uint32_t programColors; // colour-table entries the program reads (bmpColorCount)
    int64_t stbColors;      // entries stb reads: it sizes its table from the pixel offset
};

FileFacts factsOf(const uint8_t* data, size_t size) {
    FileFacts f{};
    f.pixelOffset = static_cast<int32_t>(u32At(data, size, 10));
    f.headerSize = u32At(data, size, 14);
    bool core = f.headerSize == 12;
    // Core sizes are unsigned 16-bit, info sizes signed 32-bit.
    f.width = core ? int64_t(u16At(data, size, 18)) : int64_t(static_cast<int32_t>(u32At(data, size, 18)));
    f.height = core ? int64_t(u16At(data, size, 20)) : int64_t(static_cast<int32_t>(u32At(data, size, 22)));
    f.bitCount = u16At(data, size, core ? 24 : 28);
    f.compression = core ? 0 : u32At(data, size, 30);
    f.bitFields = f.headerSize == 40 && f.compression == 3 && (f.bitCount == 16 || f.bitCount == 32);
    for (int i = 0; i < 3; ++i)
        f.masks[i] = f.bitFields ? u32At(data, size, 54 + 4 * static_cast<size_t>(i)) : 0;
    uint32_t available = size > 14 ? static_cast<uint32_t>(size - 14) : 0;
    f.programColors = available ? bmpColorCount(data + 14, available) : 0;
    if (core)
        f.stbColors = f.bitCount < 24 ? (f.pixelOffset - 14 - 24) / 3 : 0;
    else
        f.stbColors = f.bitCount < 16 ? (f.pixelOffset - 14 - f.headerSize) / 4 : 0;
    return f;
}

// Rule: stb_image releases after 2.27 (2.30 on Debian 13) accept bytes between the headers and
// direct-colour pixels (an unused colour table, say) but skip them twice, reading the pixels that
// many bytes late; 2.27 (Debian 12) refuses such files. Their pixels are not compared with those
// releases: the program reads them from the pixel offset, as its decoder tests check.
bool stbSkipsTheGapTwice(const uint8_t* data, size_t size) {
    if (STB_IMAGE_RELEASE <= 227 || !hasFileHeader(data, size)) return false;
    FileFacts f = factsOf(data, size);
    bool directColour = f.headerSize == 12 ? f.bitCount >= 24 : f.bitCount >= 16;
    int64_t headersEnd = 14 + int64_t(f.headerSize) + (f.bitFields ? 12 : 0);
    return directColour && f.pixelOffset > headersEnd;
}

// stb is only asked about images the program's limit admits: it would allocate and fill any size up
// to 2^24 pixels a side, and it takes the absolute value of a height of -2^31.
bool smallEnoughForStb(const uint8_t* data, size_t size) {
    if (!hasFileHeader(data, size)) return true; // stb refuses it at once
    FileFacts f = factsOf(data, size);
    if (f.width < 0 || f.height == INT32_MIN) return false;
    int64_t rows = f.height < 0 ? -f.height : f.height;
    return f.width * rows <= differentialPixelLimit;
}

std::string whyOnlyTheProgramAccepts(const uint8_t* data, size_t size) {
    if (!hasFileHeader(data, size)) return "no file header: stb needs \"BM\"";
    FileFacts f = factsOf(data, size);
    std::string stbReason = stbi_failure_reason();
    if (f.compression == 1 || f.compression == 2) return "run-length data: stb reads none";
    if (u16At(data, size, f.headerSize == 12 ? 22 : 26) != 1) return "planes other than 1: stb refuses";
    if (f.bitFields && f.masks[0] == f.masks[1] && f.masks[1] == f.masks[2])
        return "three equal bit-field masks: stb refuses";
    if (stbReason == "bad masks")
        return f.headerSize == 12 ? "16 or 32 bits with a core header: stb has no masks for it"
                                  : "a bit-field mask empty or over 8 bits: stb refuses";
    if (stbReason == "bad offset" && STB_IMAGE_RELEASE <= 227)
        return "a gap before direct-colour pixels: stb refuses any";
    if (stbReason == "bad offset")
        return "direct-colour pixels within the headers or over 1 KiB past them: stb refuses";
    if (stbReason == "invalid")
        return "colour table sized by the pixel offset at 0 or over 256 entries: stb refuses";
    return "stb refuses: " + stbReason;
}

std::string whyOnlyStbAccepts(const uint8_t* data, size_t size, BmpError error) {
    FileFacts f = factsOf(data, size);
    switch (error) {
    case BmpError::unknownFormat:
        return "header of " + std::to_string(f.headerSize) + " bytes: the program reads 12 and 40";
    case BmpError::truncated:
        if (size < 14 + static_cast<uint64_t>(f.headerSize) + (f.bitFields ? 12 : 0))
            return "headers cut short: stb reads zeros past the end";
        if (f.bitCount > 8)
            return "colours used names a table longer than the file: the program reads the table at every "
                   "depth, stb ignores the field for direct colour";
        return "colour table cut short: stb reads zeros past the end";
    case BmpError::conversion:
        if (f.width == 0 || f.height == 0) return "zero width or height: the program refuses an empty image";
        if (f.pixelOffset < 0 ||
            static_cast<uint64_t>(f.pixelOffset) + (static_cast<uint64_t>(f.width) * f.bitCount + 7) / 8 >
                size)
            return "not one whole row of pixels in the file: stb reads zeros past the end";
        if (f.compression > 3) return "unknown compression: stb reads values of 2^31 and over as none";
        return "the program cannot convert it";
    default: return std::string("the program refuses: ") + bmpErrorMessage(error);
    }
}

// A bit-field mask the program and stb read the same way: one run of 1 to 8 set bits.
bool isComparableMask(uint32_t mask) {
    if (mask == 0) return false;
    uint32_t run = mask >> __builtin_ctz(mask);
    return (run & (run + 1)) == 0 && run <= 0xff;
}

int setBits(uint32_t mask) {
    return __builtin_popcount(mask);
}

// Palette index of pixel x in a stored row of 1, 4 or 8 bits per pixel.
unsigned paletteIndex(const uint8_t* row, int64_t x, uint32_t bitCount) {
    if (bitCount == 1) return (row[x >> 3] >> (7 - (x & 7))) & 1;
    if (bitCount == 4) return x & 1 ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    return row[x];
}

[[noreturn]] void reportDisagreement(const char* rule, int64_t x, int64_t row, const uint8_t* ours,
                                     const uint8_t* theirs) {
    std::fprintf(
        stderr,
        "bmp_differential: pixel (%lld, %lld) from the bottom: program %02x%02x%02x, stb %02x%02x%02x (%s)\n",
        static_cast<long long>(x), static_cast<long long>(row), ours[0], ours[1], ours[2],
        theirs ? theirs[0] : 0, theirs ? theirs[1] : 0, theirs ? theirs[2] : 0, rule);
    std::abort();
}

bool isBlack(const uint8_t* rgb) {
    return rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0;
}

// Both decoders accepted the file: compares every pixel under the rules, and aborts on a difference.
// Returns false when the file's pixels have no one meaning, so they were not compared.
bool compareImages(const uint8_t* data, size_t size, const RgbImage& ours, const uint8_t* theirs) {
    FileFacts f = factsOf(data, size);
    if (f.bitFields)
        for (uint32_t mask : f.masks)
            // A mask with gaps in it, or wider than 8 bits, has no one reading: stb refuses the wide ones,
            // and the two decoders read gaps differently (the format defines neither).
            if (!isComparableMask(mask)) return false;

    int64_t width = ours.width;
    int64_t rows = ours.height;
    uint64_t rowBytes = (static_cast<uint64_t>(width) * f.bitCount + 7) / 8;
    uint64_t stride = (rowBytes + 3) / 4 * 4;
    // Rule: the program's rows are bottom row first for every file, top-down ones included (it decodes
    // them upright), while stb's are top row first.
    for (int64_t row = 0; row < rows; ++row) {
        int64_t fileRow = f.height < 0 ? rows - 1 - row : row;
        uint64_t rowStart = static_cast<uint64_t>(f.pixelOffset) + static_cast<uint64_t>(fileRow) * stride;
        bool rowInFile = rowStart + rowBytes <= size;
        const uint8_t* stored = rowInFile ? data + rowStart : nullptr;
        for (int64_t x = 0; x < width; ++x) {
            const uint8_t* mine = ours.pixels + 3 * (row * width + x);
            const uint8_t* stbs = theirs + 3 * ((rows - 1 - row) * width + x);
            // Rule: a row the file holds only part of, or none of, is black; stb reads zeros past the end.
            if (!rowInFile) {
                if (!isBlack(mine))
                    reportDisagreement("a row missing from the file is black", x, row, mine, nullptr);
                continue;
            }
            if (f.bitCount <= 8) {
                unsigned index = paletteIndex(stored, x, f.bitCount);
                // Rule: an index past the program's colour table (colours used, or the bit depth's
                // default) is black.
                if (index >= f.programColors) {
                    if (!isBlack(mine))
                        reportDisagreement("an index past the colour table is black", x, row, mine, nullptr);
                    continue;
                }
                // Rule: stb sizes its colour table from the pixel offset, not from colours used, and
                // leaves entries past that size unset: only indices inside both tables are compared.
                if (index >= f.stbColors) continue;
            }
            for (int channel = 0; channel < 3; ++channel) {
                unsigned expected = stbs[channel];
                if (f.bitFields) {
                    // Rule: bit-field channels are scaled with rounding (v * 255 / max), where stb
                    // repeats the top bits; stb's value still starts with the channel's n bits.
                    uint32_t max = (1u << setBits(f.masks[channel])) - 1;
                    uint32_t value = expected >> (8 - setBits(f.masks[channel]));
                    expected = (value * 255 + max / 2) / max;
                }
                if (mine[channel] != expected) reportDisagreement("same colour", x, row, mine, stbs);
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    outcomeCounts(); // made before the handler is registered, so it is destroyed after the handler runs
    std::atexit(printOutcomeCounts);
    std::fprintf(stderr, "bmp_differential: against stb_image %d.%02d\n", STB_IMAGE_RELEASE / 100,
                 STB_IMAGE_RELEASE % 100);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RgbImage* ours = nullptr;
    BmpError error = decodeBmpImage(data, size, differentialPixelLimit, &ours);
    if (!smallEnoughForStb(data, size)) {
        countOutcome("larger than 128 x 64: stb not asked");
        freeRgbImage(ours);
        return 0;
    }
    int width = 0, height = 0, channels = 0;
    uint8_t* theirs = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 3);
    if (ours && theirs) {
        if (width != ours->width || height != ours->height) {
            std::fprintf(stderr, "bmp_differential: program %d x %d, stb %d x %d\n", ours->width,
                         ours->height, width, height);
            std::abort();
        }
        if (stbSkipsTheGapTwice(data, size))
            countOutcome("both accept, not compared: stb skips a gap before direct-colour pixels twice");
        else
            countOutcome(compareImages(data, size, *ours, theirs)
                             ? "both accept: pixels agree"
                             : "both accept, not compared: a bit-field mask with gaps");
    } else if (ours) {
        countOutcome("only the program accepts: " + whyOnlyTheProgramAccepts(data, size));
    } else if (theirs) {
        countOutcome("only stb accepts: " + whyOnlyStbAccepts(data, size, error));
    } else {
        countOutcome("both refuse");
    }
    stbi_image_free(theirs);
    freeRgbImage(ours);
    return 0;
}
