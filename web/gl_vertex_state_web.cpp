// In a browser: the current vertex state (normal, texture coordinate, colour) and colour material, which
// Emscripten's emulation of fixed-function OpenGL over WebGL keeps otherwise than desktop OpenGL. Each
// call is defined here under its OpenGL name, so the program's drawing code is the desktop's.
#include "web/gl_emulation_web.h"

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

// WebGL interpolates with perspective correction anyway, and refuses the hint that asks for it.
void glHint(GLenum target, GLenum mode) {
    if (target != GL_PERSPECTIVE_CORRECTION_HINT) emscripten_glHint(target, mode);
}

} // extern "C"
