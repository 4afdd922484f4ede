// BMP decoding into RGB images, and the eleven body textures made from them.
#pragma once

#include <cstddef>
#include <cstdint>

// Decoded image: rows of width * 3 bytes (red, green, blue), tightly packed, bottom row first.
// The record and its pixels come from malloc and belong to the caller (see freeRgbImage).
struct RgbImage {
    int32_t width;
    int32_t height;
    unsigned char* pixels;
};

// Why a decode failed; bmpErrorMessage gives the sentence the user sees.
enum class BmpError : unsigned char { none, truncated, unknownFormat, conversion, outOfMemory };

// The most pixels the program decodes from one file, whatever the shape: 8192 x 8192 is 192 MiB of
// RGB, several times the largest body map, and every image this size fits in a 32-bit address space.
constexpr int64_t maxBmpPixelCount = int64_t(8192) * 8192;

// Decodes a whole BMP file already in memory: no file, no box. On success stores a new image in
// `*image`; otherwise stores null and returns why. Bytes of a mapped file that shrinks while they
// are read are refused as truncated (see readMappedBytes). An image of more than `maxPixelCount` pixels
// is refused as out of memory, so callers such as the fuzzer can ask for a smaller limit.
BmpError decodeBmpImage(const unsigned char* bytes, size_t size, int64_t maxPixelCount, RgbImage** image);

// "Image file is truncated." and the like; empty for BmpError::none.
const char* bmpErrorMessage(BmpError error);

// Decodes one BMP file. On failure shows one "Error" box saying why and returns null.
RgbImage* loadBmpImage(const char* fileName);

// Number of colour-table entries a bitmap header announces (0 for direct-colour pixels).
// `header` points at the header's first byte; `available` bytes of it can be read.
uint16_t bmpColorCount(const unsigned char* header, uint32_t available);

// A width x height image whose pixels are yet to be written; null, holding nothing, when the memory
// cannot be had. The caller checks that width * height * 3 bytes can be counted.
RgbImage* newRgbImage(int32_t width, int32_t height);

// Releases an image from newRgbImage, loadBmpImage or decodeBmpImage: its pixels, then the record.
// Null is fine.
void freeRgbImage(RgbImage* image);

// Area averaging, as a map is shrunk: each pixel of `to` (toWidth x toHeight, no larger) is the mean of
// the area of `from` (fromWidth x fromHeight) that it covers, each source pixel weighted by how much of
// it lies inside. Pixels are `channels` bytes, rows packed, in the same order in both.
void shrinkByAreaAveraging(const unsigned char* from, int fromWidth, int fromHeight, int channels,
                           unsigned char* to, int toWidth, int toHeight);

// Null when `path` is null or names nothing (silently); otherwise loadBmpImage(path), whose box names
// a path that holds something it cannot open: a file the user may not read, a link loop, a named pipe.
// Never waits on a named pipe.
RgbImage* loadImageIfPresent(const char* path);

// Where loadBodyTextures reads a body's image, relative to the working directory: "image/Sun.bmp"
// for slot 0 (a BodyIndex); null for any other number.
const char* bodyImagePath(int slot);

// Decodes the eleven body images from image/ and makes one texture per body in
// sceneState.bodyTextures, each map shrunk to what OpenGL takes. A body whose image is missing or bad
// gets a texture without an image; an image/ that is there but cannot be used gets one box for all.
void loadBodyTextures();
