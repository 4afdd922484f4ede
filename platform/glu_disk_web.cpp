// In a browser: the GLU quadric calls the program uses, which Emscripten does not provide. The ring is
// drawn as GLU draws a filled disk, loop by loop from the outer edge in, with the same vertices, normals
// and texture coordinates; each loop is a triangle strip, which draws the quadrilaterals of GLU's quad
// strip from the same vertex order (WebGL has no quad strips).
#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <new>

// GLU's header declares it a class.
class GLUquadric {
  public:
    GLenum normals = GLU_SMOOTH;
    GLenum orientation = GLU_OUTSIDE;
    GLboolean textureCoords = GL_FALSE;
};

namespace {

constexpr int maxSlices = 240; // GLU's own limit
constexpr double pi = 3.14159265358979323846;

} // namespace

extern "C" {

GLUquadric* gluNewQuadric() {
    return new (std::nothrow) GLUquadric;
}

void gluDeleteQuadric(GLUquadric* quadric) {
    delete quadric;
}

void gluQuadricNormals(GLUquadric* quadric, GLenum normals) {
    if (quadric) quadric->normals = normals;
}

void gluQuadricOrientation(GLUquadric* quadric, GLenum orientation) {
    if (quadric) quadric->orientation = orientation;
}

void gluQuadricTexture(GLUquadric* quadric, GLboolean textureCoords) {
    if (quadric) quadric->textureCoords = textureCoords;
}

void gluDisk(GLUquadric* quadric, GLdouble innerRadius, GLdouble outerRadius, GLint slices, GLint loops) {
    if (!quadric || slices < 2 || loops < 1 || innerRadius < 0 || outerRadius < innerRadius) return;
    if (slices > maxSlices) slices = maxSlices;
    GLfloat sines[maxSlices + 1];
    GLfloat cosines[maxSlices + 1];
    for (int i = 0; i < slices; ++i) {
        const GLfloat angle = static_cast<GLfloat>(2 * pi * i / slices);
        sines[i] = std::sin(angle);
        cosines[i] = std::cos(angle);
    }
    sines[slices] = sines[0]; // the circle closes exactly
    cosines[slices] = cosines[0];

    const bool outside = quadric->orientation == GLU_OUTSIDE;
    if (quadric->normals != GLU_NONE) glNormal3f(0, 0, outside ? 1.0f : -1.0f);
    const GLfloat deltaRadius = static_cast<GLfloat>(outerRadius - innerRadius);
    auto emit = [&](GLfloat radius, int i) {
        if (quadric->textureCoords) {
            const GLfloat texRadius = static_cast<GLfloat>(radius / outerRadius / 2);
            glTexCoord2f(texRadius * sines[i] + 0.5f, texRadius * cosines[i] + 0.5f);
        }
        glVertex3f(radius * sines[i], radius * cosines[i], 0);
    };
    for (int loop = 0; loop < loops; ++loop) {
        const GLfloat radiusLow =
            static_cast<GLfloat>(outerRadius - deltaRadius * (static_cast<float>(loop) / loops));
        const GLfloat radiusHigh =
            static_cast<GLfloat>(outerRadius - deltaRadius * (static_cast<float>(loop + 1) / loops));
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= slices; ++i) {
            emit(outside ? radiusLow : radiusHigh, i);
            emit(outside ? radiusHigh : radiusLow, i);
        }
        glEnd();
    }
}

} // extern "C"
