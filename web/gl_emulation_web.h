// The entry points of Emscripten's emulation of fixed-function OpenGL that the browser's own GL calls
// (gl_vertex_state_web.cpp, gl_textures_web.cpp) hand on to. Internal names of Emscripten's: a release
// without one fails the link, so a page is never built without them.
#pragma once
#include <GL/gl.h>

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
