#include "tests/support/e2e_picture.h"

#include <algorithm>
#include <cstdio>

Picture Picture::crop(int x, int y, int w, int h) const {
    Picture part;
    part.width = w;
    part.height = h;
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            part.pixels.push_back(at(column, row));
    return part;
}

bool Picture::savePpm(const std::string& path) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (const Rgb& c : pixels) {
        unsigned char bytes[3] = {static_cast<unsigned char>(c.red), static_cast<unsigned char>(c.green),
                                  static_cast<unsigned char>(c.blue)};
        std::fwrite(bytes, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

std::string describe(const Rgb& c) {
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) +
           ")";
}
