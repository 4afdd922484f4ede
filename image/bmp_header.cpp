// Parses the file header, the 12- or 40-byte bitmap header and the colour table.
#include "image/bmp_format.h"
#include "image/bmp_reader.h"
#include "image/image.h"

namespace {

uint16_t colorsForBitCount(uint16_t bitCount) {
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

// A field that lies past `available` reads as zero; the caller refuses short headers afterwards.
uint32_t fieldU32(const unsigned char* header, uint32_t available, uint32_t offset) {
    ByteReader reader = readerOver(header, available);
    uint32_t value = 0;
    if (seekTo(&reader, offset)) readU32(&reader, &value);
    return value;
}

uint16_t fieldU16(const unsigned char* header, uint32_t available, uint32_t offset) {
    ByteReader reader = readerOver(header, available);
    uint16_t value = 0;
    if (seekTo(&reader, offset)) readU16(&reader, &value);
    return value;
}

// OS/2 core header: widen the 16-bit sizes (unsigned, so up to 65535) and the 3-byte colour entries
// to the 40-byte form.
bool readCoreHeader(ByteReader* reader, uint16_t count, BmpInfoHeader* h, std::vector<BmpColor>* colors) {
    uint16_t width, height;
    skipBytes(reader, 4);
    if (!readU16(reader, &width) || !readU16(reader, &height) || !readU16(reader, &h->planes) ||
        !readU16(reader, &h->bitCount))
        return false;
    const unsigned char* table = takeBytes(reader, 3u * count);
    if (!table) return false;
    h->size = bmpInfoHeaderSize;
    h->width = width;
    h->height = height;
    h->compression = bmpRgb;
    h->sizeImage = 0;
    h->xPelsPerMeter = 0;
    h->yPelsPerMeter = 0;
    h->clrUsed = count;
    h->clrImportant = count;
    colors->resize(count);
    for (uint32_t i = 0; i < count; ++i)
        (*colors)[i] = {table[3 * i], table[3 * i + 1], table[3 * i + 2], 0};
    return true;
}

bool readInfoHeader(ByteReader* reader, uint16_t count, BmpInfoHeader* h, std::vector<BmpColor>* colors) {
    if (!readU32(reader, &h->size) || !readI32(reader, &h->width) || !readI32(reader, &h->height) ||
        !readU16(reader, &h->planes) || !readU16(reader, &h->bitCount) || !readU32(reader, &h->compression) ||
        !readU32(reader, &h->sizeImage) || !readI32(reader, &h->xPelsPerMeter) ||
        !readI32(reader, &h->yPelsPerMeter) || !readU32(reader, &h->clrUsed) ||
        !readU32(reader, &h->clrImportant))
        return false;
    const unsigned char* table = takeBytes(reader, 4u * count);
    if (!table) return false;
    colors->resize(count);
    for (uint32_t i = 0; i < count; ++i)
        (*colors)[i] = {table[4 * i], table[4 * i + 1], table[4 * i + 2], table[4 * i + 3]};
    return true;
}

bool usesBitFields(const BmpInfoHeader& h) {
    return h.size == bmpInfoHeaderSize && h.compression == bmpBitFields &&
           (h.bitCount == 16 || h.bitCount == 32);
}

} // namespace

uint16_t bmpColorCount(const unsigned char* header, uint32_t available) {
    if (fieldU32(header, available, 0) == bmpCoreHeaderSize)
        return colorsForBitCount(fieldU16(header, available, 10));
    uint32_t used = fieldU32(header, available, 32);
    if (used != 0) return static_cast<uint16_t>(used); // only the low 16 bits count
    return colorsForBitCount(fieldU16(header, available, 14));
}

BmpError readBmpLayout(const unsigned char* file, size_t size, BmpLayout* layout) {
    ByteReader reader = readerOver(file, size);
    ByteReader probe = reader;
    const unsigned char* magic = takeBytes(&probe, 2);
    bool hasFileHeader = magic && magic[0] == 'B' && magic[1] == 'M';
    uint32_t pixelOffset = 0;
    if (hasFileHeader && !(skipBytes(&reader, 10) && readU32(&reader, &pixelOffset)))
        return BmpError::truncated;

    size_t headerStart = reader.position;
    uint32_t available =
        static_cast<uint32_t>(bytesLeft(reader) > UINT32_MAX ? UINT32_MAX : bytesLeft(reader));
    ByteReader rest = reader;
    uint16_t count = bmpColorCount(takeBytes(&rest, available), available);
    uint32_t headerSize;
    if (!readU32(&reader, &headerSize)) return BmpError::truncated;
    seekTo(&reader, headerStart);

    BmpInfoHeader& h = layout->info.header;
    layout->masks[0] = layout->masks[1] = layout->masks[2] = 0;
    uint64_t tableEnd;
    if (headerSize == bmpCoreHeaderSize) {
        if (!readCoreHeader(&reader, count, &h, &layout->info.colors)) return BmpError::truncated;
        tableEnd = headerStart + bmpCoreHeaderSize + 3ull * count;
    } else if (headerSize == bmpInfoHeaderSize) {
        if (!readInfoHeader(&reader, count, &h, &layout->info.colors)) return BmpError::truncated;
        tableEnd = headerStart + bmpInfoHeaderSize + 4ull * count;
        if (usesBitFields(h)) {
            // The masks sit right after the header, ahead of any colour table.
            ByteReader masks = reader;
            if (!seekTo(&masks, headerStart + bmpInfoHeaderSize) || !readU32(&masks, &layout->masks[0]) ||
                !readU32(&masks, &layout->masks[1]) || !readU32(&masks, &layout->masks[2]))
                return BmpError::truncated;
            tableEnd += 12;
        }
    } else {
        return BmpError::unknownFormat;
    }

    layout->pixelOffset = hasFileHeader ? pixelOffset : tableEnd;
    return BmpError::none;
}
