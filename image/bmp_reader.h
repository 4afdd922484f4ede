// Bounds-checked cursor over the mapped file. The decoder reaches the file's bytes only through
// these functions, so every read first asks whether there is room for it. Private to image/.
#pragma once

#include <cstddef>
#include <cstdint>

struct ByteReader {
    const unsigned char* data; // first byte of the file (or of the part handed to the reader)
    size_t size;               // bytes that may be read from data
    size_t position;           // next byte to read, never past size
};

inline ByteReader readerOver(const unsigned char* data, size_t size) {
    return ByteReader{data, size, 0};
}

inline size_t bytesLeft(const ByteReader& reader) {
    return reader.size - reader.position;
}

// "Is there room for n more bytes?" Taking a 64-bit count means callers never pre-truncate sizes.
inline bool hasRoom(const ByteReader& reader, uint64_t n) {
    return n <= bytesLeft(reader);
}

// Moves to `offset` from the first byte; refuses (and stays put) past the end.
inline bool seekTo(ByteReader* reader, uint64_t offset) {
    if (offset > reader->size) return false;
    reader->position = static_cast<size_t>(offset);
    return true;
}

inline bool skipBytes(ByteReader* reader, uint64_t n) {
    if (!hasRoom(*reader, n)) return false;
    reader->position += static_cast<size_t>(n);
    return true;
}

// Skips up to n bytes, stopping at the end: for padding a writer may have left off the last row.
inline void skipAtMost(ByteReader* reader, size_t n) {
    size_t left = bytesLeft(*reader);
    reader->position += n < left ? n : left;
}

// The next n bytes as one span, or null when fewer remain. Row converters work on such spans.
inline const unsigned char* takeBytes(ByteReader* reader, size_t n) {
    if (!hasRoom(*reader, n)) return nullptr;
    const unsigned char* span = reader->data + reader->position;
    reader->position += n;
    return span;
}

inline bool readU8(ByteReader* reader, uint8_t* value) {
    const unsigned char* p = takeBytes(reader, 1);
    if (!p) return false;
    *value = p[0];
    return true;
}

inline bool readU16(ByteReader* reader, uint16_t* value) {
    const unsigned char* p = takeBytes(reader, 2);
    if (!p) return false;
    *value = static_cast<uint16_t>(p[0] | p[1] << 8);
    return true;
}

inline bool readU32(ByteReader* reader, uint32_t* value) {
    const unsigned char* p = takeBytes(reader, 4);
    if (!p) return false;
    *value = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
             static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return true;
}

inline bool readI32(ByteReader* reader, int32_t* value) {
    uint32_t raw;
    if (!readU32(reader, &raw)) return false;
    *value = static_cast<int32_t>(raw);
    return true;
}
