// Screen pixels as the tests read them, with the few colour judgements they need.
#pragma once

#include "tests/support/rgb.h"

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0, height = 0;
    std::vector<Rgb> pixels; // rows top to bottom

    const Rgb& at(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }
    Picture crop(int x, int y, int w, int h) const;
    bool operator==(const Picture& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
    bool operator!=(const Picture& other) const { return !(*this == other); }
    // Binary PPM, so a failing test can leave the picture it saw behind.
    bool savePpm(const std::string& path) const;
};

// Thresholds for "something is drawn here" and "nothing is": the background is exactly 0.
inline bool isDark(const Rgb& c) {
    return c.brightest() <= 8;
}
inline bool isLit(const Rgb& c) {
    return c.brightest() >= 24;
}

// Dark text pixels on a light GTK background.
inline bool isInk(const Rgb& c) {
    return c.brightest() < 128;
}

std::string describe(const Rgb& c);
