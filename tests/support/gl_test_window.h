// The real Astrolume window for tests that draw: opened once per test program on the
// current X display, with the scene put back to its start-up values before each test.
#pragma once

#include "tests/support/model_on_screen.h"
#include "tests/support/rgb.h"

#include <GL/gl.h>
#include <string>
#include <vector>

// Opens the window exactly as the program does (menu, callbacks, initScene) on first use.
void openTestWindow();

// Start-up values for every SceneState field but the textures and the quadric; no idle callback,
// lighting on, modelview matrix mode, a viewport of the whole window.
void resetSceneForTest();

// Turns of glutMainLoop, which cannot be left and re-entered: each handles pending events and then
// runs the idle callback the program has installed, if any.
void runGlutLoop(int turns);

// How many times `action` asked GLUT for a redisplay.
int redisplaysDuring(void (*action)());

// One frame drawn by onDisplay, read back from the back buffer after the swap (see drawFrame).
struct Frame {
    std::vector<unsigned char> rgb; // bottom row first, as OpenGL reads it
    std::vector<float> depth;       // 0 nearest the viewer, 1 the far face of the cube
    Rgb at(int windowX, int windowYFromTop) const;
    float depthAtModel(double x, double y) const;
    // The pixel under the model-space point (x, y) of the orthographic cube, no view transform.
    Rgb atModel(double x, double y) const;
};
Frame drawFrame();

// Window pixel column / row (from the top) holding a model coordinate of the cube.
int modelToWindowX(double x);
int modelToWindowYFromTop(double y);

// Modelview stack depth, for checking that drawing restores what it saves.
int modelviewStackDepth();

// A sphere (drawSphere) or a ring disk (gluDisk) as one onDisplay hands it over, with the modelview
// matrix and the texture current at the call.
struct ShapeDrawn {
    bool disk;
    float centre[3];    // the sphere's centre argument; 0 for a disk
    float radius;       // the sphere's, or the disk's outer radius
    double innerRadius; // the disk's
    int segments;       // the sphere's segments, or the disk's slices
    GLfloat matrix[16]; // column after column, as OpenGL keeps it
    GLuint texture;
};
std::vector<ShapeDrawn> shapesOfFrame();

// The entries the program added to its menu, in order, as GLUT received them.
struct MenuEntryAdded {
    std::string label;
    int value;
};
const std::vector<MenuEntryAdded>& menuEntriesAdded();
