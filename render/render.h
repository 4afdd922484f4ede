// Drawing: the sphere primitive, the per-frame display and its views, and the debug check of
// OpenGL errors that start-up shares.
#pragma once

// A lit, texture-mapped sphere about (cx, cy, cz) as latitude bands of GL_TRIANGLE_STRIP.
// Negative radius or segments count by their absolute value; fewer than 4 segments, or a radius
// that is zero or not a number, draw just the centre as a point.
void drawSphere(float cx, float cy, float cz, float radius, int segments);

// GLUT display callback: clears, applies drag rotation and zoom, draws sceneState.currentView, swaps.
void onDisplay();

// The Sun, nine planets, the Moon and Saturn's ring, under the frame's view transform.
void drawSystemView();

// Close-ups: one body large, turning about a vertical axis line, whatever the drag and zoom.
constexpr float closeUpRadius = 6.0f; // of the body shown, in the cube's units
void drawBodyCloseUp(int slot);
void drawEarthMoonView(int slot);
void drawSaturnView();

// Debug builds report every OpenGL error a frame or start-up leaves behind on stderr; release
// builds check nothing.
#ifdef NDEBUG
#define ASTROLUME_CHECK_GL() ((void)0)
#else
#define ASTROLUME_CHECK_GL() reportGlErrors(__FILE__, __LINE__)
#endif

// Prints "Astrolume: OpenGL error 0x.... at FILE:LINE" for each pending error and clears them.
void reportGlErrors(const char* file, int line);
