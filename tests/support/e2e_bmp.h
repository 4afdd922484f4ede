// Body image files for the program's image/ folder: made-up test bitmaps, and the real maps.
#pragma once

#include "tests/support/e2e_picture.h"

#include <string>

// A 24-bit uncompressed BMP of one colour: 14-byte file header, 40-byte bitmap header,
// bottom-up rows padded to four bytes (made with tools/bmp_builder.h).
std::string solidBmp(int width, int height, Rgb colour);

// Starts like a BMP but announces a 64-byte bitmap header, which Astrolume does not read.
std::string bmpWithUnknownHeader();

// Converts the installed planet maps into `outFolder` with make_body_images. False when the
// tool was not built with the tests or the conversion failed.
bool convertBodyMaps(const std::string& outFolder);
