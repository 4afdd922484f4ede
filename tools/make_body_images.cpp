// make_body_images SRC_DIR OUT_DIR: converts openuniverse-common's planet maps (JPEG) into the BMP files
// the program loads, under the names it looks for, no larger than a close-up can show.
#include "app/app.h"
#include "body_image_io.h"
#include "body_image_names.h"
#include "image/image.h"
#include "render/render.h"
#include "scene/scene.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace {

// The maps are sized for the close-ups, which draw every body but the Moon 160 pixels across (their
// radius in the window that shows the cube). The Moon is 27 pixels across beside the Earth's close-up;
// zoomed in the whole system, being at least 8.1 units from the Sun, it leaves the cube (52 units
// corner to corner from the centre) before it reaches 50. Zoomed in, the whole-system view can draw the
// other bodies larger, up to the whole window, with their maps magnified.
constexpr int closeUpAcross = static_cast<int>(windowSize * closeUpRadius / cubeHalfSize);
constexpr int moonAcross = 50;

struct BodyImage {
    BodyIndex slot; // its file is bodyImageNames[slot]
    const char* source;
    bool glowSprite;   // a bright disc with rays on black, not a map of the surface
    int largestAcross; // pixels
};

constexpr BodyImage bodyImages[] = {
    {BODY_SUN, "sun.jpg", true, closeUpAcross},          {BODY_MERCURY, "mercury.jpg", false, closeUpAcross},
    {BODY_VENUS, "venus.jpg", false, closeUpAcross},     {BODY_EARTH, "earth.jpg", false, closeUpAcross},
    {BODY_MOON, "moon.jpg", false, moonAcross},          {BODY_MARS, "mars.jpg", false, closeUpAcross},
    {BODY_JUPITER, "jupiter.jpg", false, closeUpAcross}, {BODY_SATURN, "saturn.jpg", false, closeUpAcross},
    {BODY_URANUS, "uranus.jpg", false, closeUpAcross},   {BODY_NEPTUNE, "neptune.jpg", false, closeUpAcross},
    {BODY_PLUTO, "pluto.jpg", false, closeUpAcross},
};
static_assert(rowsFollow(bodyImages, &BodyImage::slot, BODY_SUN, BODY_COUNT));
static_assert(sizeof bodyImageNames / sizeof bodyImageNames[0] == BODY_COUNT);

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

// A sphere d pixels across shows, where its surface faces the viewer, d / 2 pixels per radian: pi d
// round the equator and pi d / 2 from pole to pole. A map is cut to the power of two at or above that
// (512 x 256 for a close-up, 256 x 128 for the Moon): texels beyond it are never seen; minified with
// GL_LINEAR and no mipmaps they only make the smaller spheres shimmer, and they cost start-up time to
// decode and upload.
int largestMapWidth(int across) {
    int width = 1;
    while (width < 3.14159265 * across)
        width *= 2;
    return width;
}

// Area averaging (each output pixel the mean of the source area it covers), as the program shrinks a
// map larger than OpenGL takes.
PlainImage averagedDown(const PlainImage& image, int width, int height) {
    PlainImage out;
    out.width = width;
    out.height = height;
    out.channels = image.channels;
    out.pixels.resize(static_cast<size_t>(width) * height * image.channels);
    shrinkByAreaAveraging(image.pixels.data(), image.width, image.height, image.channels, out.pixels.data(),
                          width, height);
    return out;
}

// Shrinks a map larger than its body can show to fit, keeping its shape; smaller maps stay as they are.
PlainImage fittedToWhatABodyShows(const PlainImage& image, int across) {
    const int width = largestMapWidth(across);
    const double scale = std::max(double(image.width) / width, double(image.height) / (width / 2));
    if (scale <= 1) return image;
    return averagedDown(image, std::max(1, static_cast<int>(std::lround(image.width / scale))),
                        std::max(1, static_cast<int>(std::lround(image.height / scale))));
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
        image = fittedToWhatABodyShows(image, body.largestAcross);
        std::filesystem::path target = outDir / bodyImageNames[body.slot];
        if (!writeBmp(target.string(), image)) {
            std::fprintf(stderr, "Cannot write %s\n", target.c_str());
            return 1;
        }
    }
    return 0;
}
