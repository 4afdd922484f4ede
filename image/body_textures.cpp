// The eleven body images, decoded once at start-up and uploaded as textures.
#include "image/image.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/gl.h>

namespace {

// Relative to the working directory; "earth" and "saturn" are lower case.
struct BodyImage {
    BodyIndex slot;
    const char* path;
};

constexpr BodyImage bodyImages[] = {
    {BODY_SUN, "image/Sun.bmp"},         {BODY_MERCURY, "image/Mercury.bmp"},
    {BODY_VENUS, "image/Venus.bmp"},     {BODY_EARTH, "image/earth.bmp"},
    {BODY_MOON, "image/Moon.bmp"},       {BODY_MARS, "image/Mars.bmp"},
    {BODY_JUPITER, "image/Jupiter.bmp"}, {BODY_SATURN, "image/saturn.bmp"},
    {BODY_URANUS, "image/Uranus.bmp"},   {BODY_NEPTUNE, "image/Neptune.bmp"},
    {BODY_PLUTO, "image/Pluto.bmp"},
};
static_assert(rowsFollow(bodyImages, &BodyImage::slot, BODY_SUN, BODY_COUNT));

void uploadBodyTexture(GLuint texture, const RgbImage* image) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Without an image the texture stays incomplete, and OpenGL draws that body untextured.
    if (!image || !image->pixels) return;
    glTexImage2D(GL_TEXTURE_2D, 0, 3, image->width, image->height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 image->pixels);
}

} // namespace

const char* bodyImagePath(int slot) {
    return slot >= 0 && slot < BODY_COUNT ? bodyImages[slot].path : nullptr;
}

RgbImage* loadImageIfPresent(const char* path) {
    if (!path) return nullptr;
    // A missing image is not an error worth a box. A named pipe, a socket or a device where an image
    // should be is: the loader refuses it with the box that names the path.
    if (!isWorthLoading(path)) return nullptr;
    return loadBmpImage(path);
}

void loadBodyTextures() {
    RgbImage* images[BODY_COUNT];
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        images[slot] = loadImageIfPresent(systemPath(bodyImages[slot].path).c_str());

    // Decoded rows are packed at width * 3 bytes, which the default alignment of 4 would misread.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(BODY_COUNT, sceneState.bodyTextures);
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        uploadBodyTexture(sceneState.bodyTextures[slot], images[slot]);
    for (RgbImage* image : images)
        freeRgbImage(image);

    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}
