// BMP decoding into RGB images, and the eleven body textures made from them.
#pragma once

#include <cstdint>

// Decoded image: rows of width * 3 bytes (red, green, blue), tightly packed, bottom row first.
// The record and its pixels come from malloc and belong to the caller (see freeRgbImage).
struct RgbImage {
    int32_t width;
    int32_t height;
    unsigned char* pixels;
};

// Decodes one BMP file. On failure shows one "Error" box saying why and returns null.
RgbImage* loadBmpImage(const char* fileName);

// Number of colour-table entries a bitmap header announces (0 for direct-colour pixels).
// `header` points at the header's first byte; `available` bytes of it can be read.
uint16_t bmpColorCount(const unsigned char* header, uint32_t available);

// Releases an image from loadBmpImage: its pixels, then the record. Null is fine.
void freeRgbImage(RgbImage* image);

// Null when `path` is null or cannot be opened (silently); otherwise loadBmpImage(path).
RgbImage* loadImageIfPresent(const char* path);

// Decodes the eleven body images from image/ and makes one texture per body in
// sceneState.bodyTextures. A body whose image is missing or bad gets a texture without an image.
void loadBodyTextures();
