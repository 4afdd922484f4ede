// The browser build's GLUT: Emscripten's, which carries the freeglut API under the name GL/glut.h.
#pragma once
#include <GL/glut.h>
