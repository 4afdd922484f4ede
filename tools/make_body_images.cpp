// make_body_images SRC_DIR OUT_DIR: converts openuniverse-common's planet maps (JPEG) into the BMP files
// the program loads, under the names it looks for.
#include "body_image_io.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace {

struct BodyImage {
    const char* source;
    const char* target;
    bool glowSprite; // a bright disc with rays on black, not a map of the surface
};

// Target names keep the capitalisation the program's texture table uses.
const BodyImage bodyImages[] = {
    {"sun.jpg", "Sun.bmp", true},          {"mercury.jpg", "Mercury.bmp", false},
    {"venus.jpg", "Venus.bmp", false},     {"earth.jpg", "earth.bmp", false},
    {"moon.jpg", "Moon.bmp", false},       {"mars.jpg", "Mars.bmp", false},
    {"jupiter.jpg", "Jupiter.bmp", false}, {"saturn.jpg", "saturn.bmp", false},
    {"uranus.jpg", "Uranus.bmp", false},   {"neptune.jpg", "Neptune.bmp", false},
    {"pluto.jpg", "Pluto.bmp", false},
};

// The Sun's picture is a glow sprite: wrapped round a sphere its black corners and rays make a dark,
// streaky Sun. Its bright core, a square a third of its size, makes a glowing surface instead.
PlainImage glowingCore(const PlainImage& sprite) {
    PlainImage core;
    const int side = std::max(1, std::min(sprite.width, sprite.height) / 3);
    core.width = side;
    core.height = side;
    core.channels = sprite.channels;
    const int left = (sprite.width - side) / 2;
    const int top = (sprite.height - side) / 2;
    const size_t rowBytes = static_cast<size_t>(side) * sprite.channels;
    for (int y = 0; y < side; ++y) {
        const unsigned char* row =
            &sprite.pixels[(static_cast<size_t>(top + y) * sprite.width + left) * sprite.channels];
        core.pixels.insert(core.pixels.end(), row, row + rowBytes);
    }
    return core;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SRC_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    std::filesystem::path sourceDir = argv[1];
    std::filesystem::path outDir = argv[2];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "Cannot create %s: %s\n", outDir.c_str(), error.message().c_str());
        return 1;
    }
    for (const BodyImage& body : bodyImages) {
        PlainImage image;
        std::string reason;
        if (!readJpeg((sourceDir / body.source).string(), &image, &reason)) {
            std::fprintf(stderr, "Cannot read %s\n", reason.c_str());
            return 1;
        }
        if (body.glowSprite) image = glowingCore(image);
        std::filesystem::path target = outDir / body.target;
        if (!writeBmp(target.string(), image)) {
            std::fprintf(stderr, "Cannot write %s\n", target.c_str());
            return 1;
        }
    }
    return 0;
}
