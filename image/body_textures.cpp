// The eleven body images, decoded once at start-up and uploaded as textures.
#include "image/image.h"
#include "platform/platform.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <algorithm>
#include <string>

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

// The folder of the images, as this system writes it: the part of the paths before the file name.
std::string imageFolder() {
    const std::string path = bodyImages[0].path;
    return systemPath(path.substr(0, path.rfind('/')).c_str());
}

// Whether OpenGL takes a texture of this size: its sides within `limit`, and a proxy texture of the
// exact size accepted.
bool textureFits(int width, int height, GLint limit) {
    if (width > limit || height > limit) return false;
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    GLint proxyWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &proxyWidth);
    return proxyWidth != 0;
}

// A map larger than OpenGL takes would leave its body grey without a word: it is shrunk, keeping its
// shape and look, to the largest size that OpenGL takes. A map within `limit` is left as it is,
// without asking OpenGL anything more, and so is any map where OpenGL names no limit. Null, after the
// box that says so, when the smaller map cannot be had.
RgbImage* fittedToTextureLimit(RgbImage* image, GLint limit) {
    if (limit <= 0 || (image->width <= limit && image->height <= limit)) return image;
    // The longer side becomes the limit (or half of it, and so on, while OpenGL still refuses).
    const int64_t longest = std::max(image->width, image->height);
    int width = 0, height = 0;
    for (int64_t side = limit; side > 0; side /= 2) {
        width = static_cast<int>(std::max<int64_t>(1, image->width * side / longest));
        height = static_cast<int>(std::max<int64_t>(1, image->height * side / longest));
        if (textureFits(width, height, limit)) break;
    }
    RgbImage* fitted = newRgbImage(width, height);
    if (fitted)
        shrinkByAreaAveraging(image->pixels, image->width, image->height, 3, fitted->pixels, width, height);
    else
        showMessageBox(MessageBoxKind::error, "Error", bmpErrorMessage(BmpError::outOfMemory));
    freeRgbImage(image);
    return fitted;
}

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
    // A missing image is not an error worth a box. Anything else there is: a file the user may not
    // read, a loop, a named pipe, a socket or a device, which the loader refuses with the box that
    // names the path.
    if (!isWorthLoading(path)) return nullptr;
    return loadBmpImage(path);
}

void loadBodyTextures() {
    RgbImage* images[BODY_COUNT] = {};
    // A folder that cannot be entered would give the same box for each of the eleven files: it gets
    // one that names the folder instead. A folder that is not there at all means no images, silently.
    const std::string folder = imageFolder();
    if (folderState(folder.c_str()) == FolderState::unusable) {
        const std::string text = "Failed to open image folder " + folder + ".\n";
        showMessageBox(MessageBoxKind::error, "Error", text.c_str());
    } else {
        for (int slot = 0; slot < BODY_COUNT; ++slot)
            images[slot] = loadImageIfPresent(systemPath(bodyImages[slot].path).c_str());
    }
    // The limit is asked once, and only when there is a map to fit: a map within it costs OpenGL
    // nothing more.
    GLint limit = 0;
    for (RgbImage*& image : images) {
        if (!image || !image->pixels) continue;
        if (limit == 0) glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
        image = fittedToTextureLimit(image, limit);
    }

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
