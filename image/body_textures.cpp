// The eleven body images, decoded once at start-up and uploaded as textures.
#include "image/image.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/gl.h>

namespace {

// By BodyIndex, relative to the working directory; "earth" and "saturn" are lower case.
constexpr const char* bodyImagePaths[BODY_COUNT] = {
    "image/Sun.bmp",    "image/Mercury.bmp", "image/Venus.bmp",   "image/earth.bmp",
    "image/Moon.bmp",   "image/Mars.bmp",    "image/Jupiter.bmp", "image/saturn.bmp",
    "image/Uranus.bmp", "image/Neptune.bmp", "image/Pluto.bmp",
};

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
        images[slot] = loadImageIfPresent(bodyImagePaths[slot]);

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
