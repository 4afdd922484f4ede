// Run-length decoders for 8- and 4-bit images. The output starts black, so pixels that a delta,
// end of line or end of bitmap skips stay black; every write is checked against the row and image.
#include "image/bmp_pixels.h"

namespace {

// Current position in image coordinates: x from the left, y counted in file rows.
struct RlePen {
    int64_t x;
    int64_t y;
};

void putPixel(const RgbTarget& target, const RlePen& pen, int64_t offset, const unsigned char* rgb) {
    int64_t x = pen.x + offset;
    if (x < 0 || x >= target.width || pen.y >= target.rows) return;
    unsigned char* out = targetRow(target, pen.y) + 3 * x;
    out[0] = rgb[0];
    out[1] = rgb[1];
    out[2] = rgb[2];
}

// Writes `count` copies of one colour, clipped to the row.
void putRun(const RgbTarget& target, const RlePen& pen, int64_t count, const unsigned char* rgb) {
    if (pen.y >= target.rows) return;
    int64_t end = pen.x + count < target.width ? pen.x + count : target.width;
    unsigned char* row = targetRow(target, pen.y);
    for (int64_t x = pen.x; x < end; ++x) {
        row[3 * x] = rgb[0];
        row[3 * x + 1] = rgb[1];
        row[3 * x + 2] = rgb[2];
    }
}

// Handles the escapes shared by both depths (end of line, end of bitmap, delta).
// Returns false when decoding should stop; sets *handled when `code` was one of them.
bool applyEscape(ByteReader* reader, uint8_t code, RlePen* pen, bool* handled) {
    *handled = true;
    if (code == 0) {
        pen->x = 0;
        ++pen->y;
        return true;
    }
    if (code == 1) return false;
    if (code == 2) {
        uint8_t dx, dy;
        if (!readU8(reader, &dx) || !readU8(reader, &dy)) return false;
        pen->x += dx;
        pen->y += dy;
        return true;
    }
    *handled = false;
    return true;
}

} // namespace

bool decodeRle8(ByteReader* reader, const RgbPalette& palette, const RgbTarget& target) {
    RlePen pen{0, 0};
    uint8_t count, value;
    while (pen.y < target.rows && readU8(reader, &count) && readU8(reader, &value)) {
        if (count > 0) {
            putRun(target, pen, count, palette.rgb[value]);
            pen.x += count;
            continue;
        }
        bool handled;
        if (!applyEscape(reader, value, &pen, &handled)) break;
        if (handled) continue;
        // Absolute run of `value` indices, padded to an even number of bytes.
        const unsigned char* indices = takeBytes(reader, value);
        if (!indices) break;
        for (int i = 0; i < value; ++i)
            putPixel(target, pen, i, palette.rgb[indices[i]]);
        pen.x += value;
        skipAtMost(reader, value & 1);
    }
    return true;
}

bool decodeRle4(ByteReader* reader, const RgbPalette& palette, const RgbTarget& target) {
    RlePen pen{0, 0};
    uint8_t count, value;
    while (pen.y < target.rows && readU8(reader, &count) && readU8(reader, &value)) {
        if (count > 0) {
            // An encoded run alternates the byte's two nibbles, high first. Only the part inside the row is
            // visited: long runs on a narrow image would otherwise cost a step per pixel that is dropped.
            int64_t inRow = target.width - pen.x;
            int64_t drawn = count < inRow ? count : inRow;
            for (int64_t i = 0; i < drawn; ++i)
                putPixel(target, pen, i, palette.rgb[i & 1 ? value & 15 : value >> 4]);
            pen.x += count;
            continue;
        }
        bool handled;
        if (!applyEscape(reader, value, &pen, &handled)) break;
        if (handled) continue;
        size_t bytes = (value + 1u) / 2;
        const unsigned char* nibbles = takeBytes(reader, bytes);
        if (!nibbles) break;
        for (int i = 0; i < value; ++i) {
            unsigned byte = nibbles[i >> 1];
            putPixel(target, pen, i, palette.rgb[i & 1 ? byte & 15 : byte >> 4]);
        }
        pen.x += value;
        skipAtMost(reader, bytes & 1);
    }
    return true;
}
