// Start-up: the window, its menu, the callbacks and the fixed OpenGL state.
#pragma once

// Width and height of the window in pixels; it shows the cube from -30 to 30 on each axis.
constexpr int windowSize = 800;

// Creates the windowSize x windowSize "Astrolume" window with its right-button menu, registers every
// callback and sets up the scene. Leaves the window's context current; the caller enters glutMainLoop.
void openAstrolumeWindow(int* argc, char** argv);

// The fixed OpenGL state and the body textures. Needs a current context; always returns true.
bool initScene();

// GLUT reshape callback: the whole window shows the cube from -30 to 30, whatever its shape.
void onReshape(int width, int height);
