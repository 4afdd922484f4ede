// Uncompressed and bit-field pixel rows converted to red, green, blue; dispatch to the run-length decoders.
#include "image/bmp_pixels.h"

#include <cstring>

namespace {

// Everything a row converter may need besides the row itself.
struct RowContext {
    uint32_t packed[256]; // palette as red | green << 8 | blue << 16, for one 4-byte store per pixel
    uint32_t masks[3];
    int shifts[3];
    uint32_t maxima[3];
};

using RowConverter = void (*)(const unsigned char* source, unsigned char* out, int32_t width,
                              const RowContext& context);

uint32_t loadU32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v; // little-endian host assumed, as on every platform the program targets
}

// Writes a pixel from a packed red | green << 8 | blue << 16 value. All but the last pixel of a row
// use one 4-byte store whose extra byte the next pixel overwrites; the last one stays inside the row.
void storePacked(unsigned char* out, int32_t x, int32_t width, uint32_t packed) {
    if (x + 1 < width) {
        std::memcpy(out + 3 * static_cast<size_t>(x), &packed, 4);
    } else {
        out[3 * x] = static_cast<unsigned char>(packed);
        out[3 * x + 1] = static_cast<unsigned char>(packed >> 8);
        out[3 * x + 2] = static_cast<unsigned char>(packed >> 16);
    }
}

void convertPalette1(const unsigned char* source, unsigned char* out, int32_t width, const RowContext& c) {
    for (int32_t x = 0; x < width; ++x)
        storePacked(out, x, width, c.packed[(source[x >> 3] >> (7 - (x & 7))) & 1]);
}

void convertPalette4(const unsigned char* source, unsigned char* out, int32_t width, const RowContext& c) {
    for (int32_t x = 0; x < width; ++x) {
        unsigned byte = source[x >> 1];
        storePacked(out, x, width, c.packed[x & 1 ? byte & 15 : byte >> 4]);
    }
}

void convertPalette8(const unsigned char* source, unsigned char* out, int32_t width, const RowContext& c) {
    int32_t x = 0;
    for (; x + 1 < width; ++x)
        std::memcpy(out + 3 * static_cast<size_t>(x), &c.packed[source[x]], 4);
    storePacked(out, x, width, c.packed[source[x]]);
}

// 5-bit channels widen by repeating their top bits, so 31 becomes 255.
unsigned widen5(unsigned v) {
    return (v << 3) | (v >> 2);
}

void convertRgb555(const unsigned char* source, unsigned char* out, int32_t width, const RowContext&) {
    for (int32_t x = 0; x < width; ++x) {
        unsigned v = source[2 * x] | source[2 * x + 1] << 8;
        out[3 * x] = static_cast<unsigned char>(widen5((v >> 10) & 31));
        out[3 * x + 1] = static_cast<unsigned char>(widen5((v >> 5) & 31));
        out[3 * x + 2] = static_cast<unsigned char>(widen5(v & 31));
    }
}

// Blue, green, red to red, green, blue, as plain byte moves: compilers vectorise them, while the
// overlapping 4-byte stores used before ran about three times slower.
void convertRgb24(const unsigned char* source, unsigned char* out, int32_t width, const RowContext&) {
    for (size_t i = 0; i < 3 * static_cast<size_t>(width); i += 3) {
        out[i] = source[i + 2];
        out[i + 1] = source[i + 1];
        out[i + 2] = source[i];
    }
}

void convertRgb32(const unsigned char* source, unsigned char* out, int32_t width, const RowContext&) {
    for (int32_t x = 0; x < width; ++x) {
        uint32_t v = loadU32(source + 4 * static_cast<size_t>(x));
        storePacked(out, x, width, (v >> 16 & 0xffu) | (v & 0xff00u) | (v & 0xffu) << 16);
    }
}

// Scales a masked channel to 0..255, rounding to nearest; 64-bit because a mask may be 32 bits wide.
uint32_t scaleChannel(uint32_t pixel, const RowContext& c, int channel) {
    uint64_t max = c.maxima[channel];
    if (max == 0) return 0;
    uint64_t value = (pixel & c.masks[channel]) >> c.shifts[channel];
    return static_cast<uint32_t>((value * 255 + max / 2) / max);
}

uint32_t bitFieldsPixel(uint32_t pixel, const RowContext& c) {
    return scaleChannel(pixel, c, 0) | scaleChannel(pixel, c, 1) << 8 | scaleChannel(pixel, c, 2) << 16;
}

void convertBitFields16(const unsigned char* source, unsigned char* out, int32_t width, const RowContext& c) {
    for (int32_t x = 0; x < width; ++x)
        storePacked(out, x, width, bitFieldsPixel(source[2 * x] | source[2 * x + 1] << 8, c));
}

void convertBitFields32(const unsigned char* source, unsigned char* out, int32_t width, const RowContext& c) {
    for (int32_t x = 0; x < width; ++x)
        storePacked(out, x, width, bitFieldsPixel(loadU32(source + 4 * static_cast<size_t>(x)), c));
}

RowConverter rowConverterFor(BmpEncoding encoding) {
    switch (encoding) {
    case BmpEncoding::palette1: return convertPalette1;
    case BmpEncoding::palette4: return convertPalette4;
    case BmpEncoding::palette8: return convertPalette8;
    case BmpEncoding::rgb555: return convertRgb555;
    case BmpEncoding::rgb24: return convertRgb24;
    case BmpEncoding::rgb32: return convertRgb32;
    case BmpEncoding::bitFields16: return convertBitFields16;
    case BmpEncoding::bitFields32: return convertBitFields32;
    default: return nullptr;
    }
}

void prepareContext(const BmpLayout& layout, RowContext* c) {
    RgbPalette palette = paletteOf(layout.info);
    for (int i = 0; i < 256; ++i)
        c->packed[i] = palette.rgb[i][0] | palette.rgb[i][1] << 8 | palette.rgb[i][2] << 16;
    for (int channel = 0; channel < 3; ++channel) {
        uint32_t mask = layout.masks[channel];
        int shift = 0;
        while (mask != 0 && !(mask >> shift & 1))
            ++shift;
        c->masks[channel] = mask;
        c->shifts[channel] = shift;
        c->maxima[channel] = mask >> shift;
    }
}

// Rows hold width * bits / 8 bytes rounded up, padded to a multiple of 4. A short last row's padding
// may be missing; a row whose pixel bytes are incomplete is not converted.
bool convertRows(ByteReader* reader, const BmpLayout& layout, BmpEncoding encoding, const RgbTarget& target) {
    RowContext context;
    prepareContext(layout, &context);
    RowConverter convert = rowConverterFor(encoding);
    size_t rowBytes = (static_cast<size_t>(target.width) * layout.info.header.bitCount + 7) / 8;
    size_t padding = (4 - rowBytes % 4) % 4;
    int32_t row = 0;
    for (; row < target.rows; ++row) {
        const unsigned char* source = takeBytes(reader, rowBytes);
        if (!source) break;
        convert(source, targetRow(target, row), target.width, context);
        skipAtMost(reader, padding);
    }
    for (int32_t missing = row; missing < target.rows; ++missing)
        std::memset(targetRow(target, missing), 0, static_cast<size_t>(target.width) * 3);
    return row > 0;
}

} // namespace

BmpEncoding bmpEncodingOf(const BmpInfoHeader& h) {
    switch (h.compression) {
    case bmpRgb:
        switch (h.bitCount) {
        case 1: return BmpEncoding::palette1;
        case 4: return BmpEncoding::palette4;
        case 8: return BmpEncoding::palette8;
        case 16: return BmpEncoding::rgb555;
        case 24: return BmpEncoding::rgb24;
        case 32: return BmpEncoding::rgb32;
        default: return BmpEncoding::unsupported;
        }
    case bmpRle8: return h.bitCount == 8 ? BmpEncoding::rle8 : BmpEncoding::unsupported;
    case bmpRle4: return h.bitCount == 4 ? BmpEncoding::rle4 : BmpEncoding::unsupported;
    case bmpBitFields:
        if (h.size != bmpInfoHeaderSize) return BmpEncoding::unsupported;
        if (h.bitCount == 16) return BmpEncoding::bitFields16;
        if (h.bitCount == 32) return BmpEncoding::bitFields32;
        return BmpEncoding::unsupported;
    default: return BmpEncoding::unsupported;
    }
}

RgbPalette paletteOf(const BmpInfo& info) {
    RgbPalette palette;
    std::memset(&palette, 0, sizeof palette);
    size_t used = info.colors.size() < 256 ? info.colors.size() : 256;
    // cppcheck-suppress knownConditionTrueFalse ; cppcheck takes the table for the empty one BmpInfo starts
    // with
    for (size_t i = 0; i < used; ++i) {
        palette.rgb[i][0] = info.colors[i].red;
        palette.rgb[i][1] = info.colors[i].green;
        palette.rgb[i][2] = info.colors[i].blue;
    }
    return palette;
}

bool convertBmpPixels(const unsigned char* file, size_t size, const BmpLayout& layout, BmpEncoding encoding,
                      const RgbTarget& target) {
    ByteReader reader = readerOver(file, size);
    if (!seekTo(&reader, layout.pixelOffset) || bytesLeft(reader) == 0) return false;
    if (encoding == BmpEncoding::rle8 || encoding == BmpEncoding::rle4) {
        std::memset(target.pixels, 0,
                    static_cast<size_t>(target.width) * 3 * static_cast<size_t>(target.rows));
        RgbPalette palette = paletteOf(layout.info);
        return encoding == BmpEncoding::rle8 ? decodeRle8(&reader, palette, target)
                                             : decodeRle4(&reader, palette, target);
    }
    return convertRows(&reader, layout, encoding, target);
}
