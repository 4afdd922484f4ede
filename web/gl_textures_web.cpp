// In a browser: textures as desktop OpenGL makes them, over WebGL's narrower rules (sides that are
// powers of two for repeating textures, no proxy textures, the format as the internal format). Each call
// is defined here under its OpenGL name, so the program's texture code is the desktop's.
#include "web/gl_emulation_web.h"

#include <cmath>
#include <vector>

namespace {

bool isPowerOfTwo(GLsizei n) {
    return n > 0 && (n & (n - 1)) == 0;
}

GLsizei nextPowerOfTwo(GLsizei n) {
    GLsizei p = 1;
    while (p < n)
        p *= 2;
    return p;
}

// WebGL's GL_MAX_TEXTURE_SIZE, asked once.
GLint maxTextureSize() {
    static const GLint limit = [] {
        GLint value = 0;
        emscripten_glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
        return value;
    }();
    return limit;
}

// The power of two a side is stretched to: the next one, unless that passes the limit, which the
// program's maps never pass themselves (they are fitted to it), when it is the largest within it.
GLsizei powerOfTwoSide(GLsizei side) {
    const GLsizei next = nextPowerOfTwo(side);
    const GLint limit = maxTextureSize();
    if (limit <= 0 || next <= limit) return next;
    GLsizei within = 1;
    while (within * 2 <= limit)
        within *= 2;
    return within;
}

// WebGL has no proxy textures: a proxy upload is only remembered, and answered for by
// glGetTexLevelParameteriv as WebGL itself would judge the size, by the limit alone.
GLsizei proxyWidth = 0;
GLsizei proxyHeight = 0;

int wrapped(int i, int n) {
    return ((i % n) + n) % n;
}

// WebGL 1 repeats only textures whose sides are powers of two, and shows the others black: the image
// is stretched to the next such size, sampled as desktop OpenGL samples it (linear, repeating).
std::vector<unsigned char> resampleToPowerOfTwo(const unsigned char* pixels, int width, int height,
                                                int channels, int newWidth, int newHeight) {
    std::vector<unsigned char> out(static_cast<size_t>(newWidth) * newHeight * channels);
    for (int y = 0; y < newHeight; ++y) {
        const double sy = (y + 0.5) * height / newHeight - 0.5;
        const int y0 = static_cast<int>(std::floor(sy));
        const double fy = sy - y0;
        for (int x = 0; x < newWidth; ++x) {
            const double sx = (x + 0.5) * width / newWidth - 0.5;
            const int x0 = static_cast<int>(std::floor(sx));
            const double fx = sx - x0;
            const unsigned char* p00 = pixels + (wrapped(y0, height) * width + wrapped(x0, width)) * channels;
            const unsigned char* p01 =
                pixels + (wrapped(y0, height) * width + wrapped(x0 + 1, width)) * channels;
            const unsigned char* p10 =
                pixels + (wrapped(y0 + 1, height) * width + wrapped(x0, width)) * channels;
            const unsigned char* p11 =
                pixels + (wrapped(y0 + 1, height) * width + wrapped(x0 + 1, width)) * channels;
            for (int c = 0; c < channels; ++c) {
                const double top = p00[c] * (1 - fx) + p01[c] * fx;
                const double bottom = p10[c] * (1 - fx) + p11[c] * fx;
                out[(static_cast<size_t>(y) * newWidth + x) * channels + c] =
                    static_cast<unsigned char>(std::lround(top * (1 - fy) + bottom * fy));
            }
        }
    }
    return out;
}

} // namespace

extern "C" {

// A texture that never gets an image draws untextured in desktop OpenGL, but black in WebGL: each new
// texture starts as one white texel, which modulates nothing.
void glGenTextures(GLsizei count, GLuint* textures) {
    emscripten_glGenTextures(count, textures);
    GLint bound = 0;
    emscripten_glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    const unsigned char white[3] = {255, 255, 255};
    for (GLsizei i = 0; i < count; ++i) {
        emscripten_glBindTexture(GL_TEXTURE_2D, textures[i]);
        emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, white);
    }
    emscripten_glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

// WebGL takes only the format itself as the internal format (desktop OpenGL also takes a count of
// components), and only sides that are powers of two for repeating textures.
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const void* pixels) {
    if (target == GL_PROXY_TEXTURE_2D) {
        const GLint limit = maxTextureSize();
        const bool fits = width > 0 && height > 0 && (limit <= 0 || (width <= limit && height <= limit));
        proxyWidth = fits ? width : 0;
        proxyHeight = fits ? height : 0;
        return;
    }
    const int channels = format == GL_RGB ? 3 : format == GL_RGBA ? 4 : 0;
    if (channels == 0 || type != GL_UNSIGNED_BYTE || !pixels ||
        (isPowerOfTwo(width) && isPowerOfTwo(height))) {
        emscripten_glTexImage2D(target, level, channels ? static_cast<GLint>(format) : internalFormat, width,
                                height, border, format, type, pixels);
        return;
    }
    // Rows are read as packed: the program's images are, and it says so with GL_UNPACK_ALIGNMENT 1.
    const GLsizei newWidth = powerOfTwoSide(width);
    const GLsizei newHeight = powerOfTwoSide(height);
    const std::vector<unsigned char> resized = resampleToPowerOfTwo(
        static_cast<const unsigned char*>(pixels), width, height, channels, newWidth, newHeight);
    emscripten_glTexImage2D(target, level, static_cast<GLint>(format), newWidth, newHeight, border, format,
                            type, resized.data());
}

// Only the proxy's size is asked for (see glTexImage2D); WebGL cannot tell a texture's own.
void glGetTexLevelParameteriv(GLenum target, GLint, GLenum name, GLint* value) {
    const bool proxy = target == GL_PROXY_TEXTURE_2D;
    *value = !proxy ? 0 : name == GL_TEXTURE_WIDTH ? proxyWidth : name == GL_TEXTURE_HEIGHT ? proxyHeight : 0;
}

} // extern "C"
