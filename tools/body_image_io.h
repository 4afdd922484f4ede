// Reading JPEG planet maps and writing the program's BMP files, for make_body_images.
#pragma once

#include <string>
#include <vector>

struct PlainImage {
    int width = 0;
    int height = 0;
    int channels = 0;                  // 1 (grey) or 3 (red, green, blue)
    std::vector<unsigned char> pixels; // top row first, tightly packed
};

// Decodes a JPEG to grey or RGB; on failure returns false and puts the reason in *error.
bool readJpeg(const std::string& path, PlainImage* image, std::string* error);

// Writes a bottom-up BMP with a 14-byte file header and a 40-byte info header: 24-bit for RGB images,
// 8-bit with a 256-level grey palette for grey ones.
bool writeBmp(const std::string& path, const PlainImage& image);
