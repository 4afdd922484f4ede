// In a browser: the OpenGL calls that Emscripten's emulation of fixed-function OpenGL over WebGL lacks,
// or treats otherwise than desktop OpenGL. Each is defined here under its OpenGL name, so the program's
// drawing code is the desktop's, and each does what desktop OpenGL does, through the emulation's own
// entry points (emscripten_gl*).
#include <GL/gl.h>

#include <cmath>
#include <vector>

extern "C" {
void emscripten_glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glTexCoord2f(GLfloat s, GLfloat t);
void emscripten_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glColor3f(GLfloat red, GLfloat green, GLfloat blue);
void emscripten_glMaterialfv(GLenum face, GLenum name, const GLfloat* values);
void emscripten_glGenTextures(GLsizei count, GLuint* textures);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glGetIntegerv(GLenum name, GLint* values);
void emscripten_glHint(GLenum target, GLenum mode);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                             GLint border, GLenum format, GLenum type, const void* pixels);
}

namespace {

// What desktop OpenGL keeps as "current" and gives every vertex; the emulation only takes attributes
// given between glBegin and glEnd, each vertex with the same ones.
struct CurrentVertexState {
    GLfloat normal[3] = {0, 0, 1};
    GLfloat texCoord[2] = {0, 0};
    GLfloat color[3] = {1, 1, 1};
    GLenum colorMaterialFace = 0; // 0 until glColorMaterial: the colour sets no material
    GLenum colorMaterialMode = 0;
};
CurrentVertexState current;

// Colour material: the current colour is the material's ambient and diffuse colour (the emulation
// keeps its own default material, 0.2 ambient and 0.8 diffuse, whatever the colour).
void applyColorMaterial() {
    if (current.colorMaterialFace == 0) return;
    const GLfloat rgba[4] = {current.color[0], current.color[1], current.color[2], 1};
    const GLenum mode = current.colorMaterialMode;
    if (mode == GL_AMBIENT || mode == GL_AMBIENT_AND_DIFFUSE)
        emscripten_glMaterialfv(current.colorMaterialFace, GL_AMBIENT, rgba);
    if (mode == GL_DIFFUSE || mode == GL_AMBIENT_AND_DIFFUSE)
        emscripten_glMaterialfv(current.colorMaterialFace, GL_DIFFUSE, rgba);
}

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

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    current.normal[0] = x;
    current.normal[1] = y;
    current.normal[2] = z;
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    current.texCoord[0] = s;
    current.texCoord[1] = t;
}

// Every vertex takes the current normal and texture coordinate, as in desktop OpenGL: the axis lines
// and the ring give none of their own.
// A texture coordinate given while texturing is off samples nothing: the emulation's shaders read only
// the texture units that glEnable(GL_TEXTURE_2D) switched on, so a close-up's axis line stays grey.
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    emscripten_glNormal3f(current.normal[0], current.normal[1], current.normal[2]);
    emscripten_glTexCoord2f(current.texCoord[0], current.texCoord[1]);
    emscripten_glVertex3f(x, y, z);
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
    glVertex3f(static_cast<GLfloat>(x), static_cast<GLfloat>(y), static_cast<GLfloat>(z));
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    current.color[0] = red;
    current.color[1] = green;
    current.color[2] = blue;
    emscripten_glColor3f(red, green, blue);
    applyColorMaterial();
}

void glColorMaterial(GLenum face, GLenum mode) {
    current.colorMaterialFace = face;
    current.colorMaterialMode = mode;
    applyColorMaterial();
}

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

// WebGL interpolates with perspective correction anyway, and refuses the hint that asks for it.
void glHint(GLenum target, GLenum mode) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) emscripten_glHint(target, mode);
}

} // extern "C"
