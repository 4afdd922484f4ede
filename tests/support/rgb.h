// A pixel as the tests read it back, from OpenGL or from the screen: 0 to 255 per channel.
#pragma once

#include <algorithm>

struct Rgb {
    int red, green, blue;
    bool isBlack() const { return red == 0 && green == 0 && blue == 0; } // the cleared background
    int brightest() const { return std::max({red, green, blue}); }
    int spread() const { return brightest() - std::min({red, green, blue}); } // 0 for pure greys
    bool operator==(const Rgb& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};
