// make_body_images SRC_DIR OUT_DIR: converts openuniverse-common's planet maps (JPEG) into the BMP files
// the program loads, under the names it looks for.
#include "body_image_io.h"

#include <cstdio>
#include <filesystem>

namespace {

struct BodyImage {
    const char* source;
    const char* target;
};

// Target names keep the capitalisation the program's texture table uses.
const BodyImage bodyImages[] = {
    {"sun.jpg", "Sun.bmp"},         {"mercury.jpg", "Mercury.bmp"}, {"venus.jpg", "Venus.bmp"},
    {"earth.jpg", "earth.bmp"},     {"moon.jpg", "Moon.bmp"},       {"mars.jpg", "Mars.bmp"},
    {"jupiter.jpg", "Jupiter.bmp"}, {"saturn.jpg", "saturn.bmp"},   {"uranus.jpg", "Uranus.bmp"},
    {"neptune.jpg", "Neptune.bmp"}, {"pluto.jpg", "Pluto.bmp"},
};

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
        std::filesystem::path target = outDir / body.target;
        if (!writeBmp(target.string(), image)) {
            std::fprintf(stderr, "Cannot write %s\n", target.c_str());
            return 1;
        }
    }
    return 0;
}
