// In a browser: the GLU calls the program uses that Emscripten lacks (the quadric and its disk) or gets
// wrong (gluLookAt, which leaves the matrix as it was). The ring is drawn as GLU draws a filled disk, loop by
// loop from the outer edge in, with the same vertices, normals and texture coordinates; each loop is a
// triangle strip, which draws the quadrilaterals of GLU's quad strip from the same vertex order (WebGL has no
// quad strips).
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

// As GLU computes it: a rotation that turns the line of sight into -z and `up` into the plane of y,
// then a move of the eye to the origin.
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY,
               GLdouble centerZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    auto normalize = [](double v[3]) {
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        if (length == 0) return;
        for (int i = 0; i < 3; ++i)
            v[i] /= length;
    };
    auto cross = [](const double a[3], const double b[3], double out[3]) {
        out[0] = a[1] * b[2] - a[2] * b[1];
        out[1] = a[2] * b[0] - a[0] * b[2];
        out[2] = a[0] * b[1] - a[1] * b[0];
    };
    double forward[3] = {centerX - eyeX, centerY - eyeY, centerZ - eyeZ};
    const double up[3] = {upX, upY, upZ};
    normalize(forward);
    double side[3];
    cross(forward, up, side);
    normalize(side);
    double trueUp[3];
    cross(side, forward, trueUp);
    const GLfloat matrix[16] = {static_cast<GLfloat>(side[0]),
                                static_cast<GLfloat>(trueUp[0]),
                                static_cast<GLfloat>(-forward[0]),
                                0,
                                static_cast<GLfloat>(side[1]),
                                static_cast<GLfloat>(trueUp[1]),
                                static_cast<GLfloat>(-forward[1]),
                                0,
                                static_cast<GLfloat>(side[2]),
                                static_cast<GLfloat>(trueUp[2]),
                                static_cast<GLfloat>(-forward[2]),
                                0,
                                0,
                                0,
                                0,
                                1};
    glMultMatrixf(matrix);
    glTranslated(-eyeX, -eyeY, -eyeZ);
}

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
        const GLfloat radiusLow = static_cast<GLfloat>(
            outerRadius - deltaRadius * (static_cast<float>(loop) / static_cast<float>(loops)));
        const GLfloat radiusHigh = static_cast<GLfloat>(
            outerRadius - deltaRadius * (static_cast<float>(loop + 1) / static_cast<float>(loops)));
        glBegin(GL_TRIANGLE_STRIP);
        for (int i = 0; i <= slices; ++i) {
            emit(outside ? radiusLow : radiusHigh, i);
            emit(outside ? radiusHigh : radiusLow, i);
        }
        glEnd();
    }
}

} // extern "C"
