#include "tests/support/gl_test_window.h"

#include "app/app.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <cmath>

namespace {
bool windowOpen = false;
void (*installedIdle)() = nullptr;
int redisplayRequests = 0;
std::vector<ShapeDrawn>* recordedShapes = nullptr; // set while shapesOfFrame draws
std::vector<MenuEntryAdded> menuEntries;

void recordShape(ShapeDrawn shape) {
    if (!recordedShapes) return;
    glGetFloatv(GL_MODELVIEW_MATRIX, shape.matrix);
    GLint texture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    shape.texture = static_cast<GLuint>(texture);
    recordedShapes->push_back(shape);
}

// Lets freeglut handle what is pending (window events, redisplays) `rounds` times.
void pumpGlutEvents(int rounds) {
    for (int i = 0; i < rounds; ++i)
        glutMainLoopEvent();
}
} // namespace

// The test programs link with --wrap=glutIdleFunc,--wrap=glutPostRedisplay, so they know what the
// program installed and how often it asked for a frame, whether or not the window can be seen.
extern "C" void __real_glutIdleFunc(void (*callback)());
extern "C" void __wrap_glutIdleFunc(void (*callback)()) {
    installedIdle = callback;
    __real_glutIdleFunc(callback);
}
extern "C" void __real_glutPostRedisplay();
extern "C" void __wrap_glutPostRedisplay() {
    ++redisplayRequests;
    __real_glutPostRedisplay();
}

// The shapes and the menu entries: --wrap=_Z10drawSphereffffi (drawSphere),gluDisk,glutAddMenuEntry.
extern "C" void __real__Z10drawSphereffffi(float cx, float cy, float cz, float radius, int segments);
extern "C" void __wrap__Z10drawSphereffffi(float cx, float cy, float cz, float radius, int segments) {
    recordShape({false, {cx, cy, cz}, radius, 0, segments, {}, 0});
    __real__Z10drawSphereffffi(cx, cy, cz, radius, segments);
}
extern "C" void __real_gluDisk(GLUquadric* quadric, GLdouble inner, GLdouble outer, GLint slices,
                               GLint loops);
extern "C" void __wrap_gluDisk(GLUquadric* quadric, GLdouble inner, GLdouble outer, GLint slices,
                               GLint loops) {
    recordShape({true, {0, 0, 0}, static_cast<float>(outer), inner, slices, {}, 0});
    __real_gluDisk(quadric, inner, outer, slices, loops);
}
extern "C" void __real_glutAddMenuEntry(const char* label, int value);
extern "C" void __wrap_glutAddMenuEntry(const char* label, int value) {
    menuEntries.push_back({label, value});
    __real_glutAddMenuEntry(label, value);
}

std::vector<ShapeDrawn> shapesOfFrame() {
    std::vector<ShapeDrawn> shapes;
    recordedShapes = &shapes;
    onDisplay();
    recordedShapes = nullptr;
    return shapes;
}

const std::vector<MenuEntryAdded>& menuEntriesAdded() {
    return menuEntries;
}

void runGlutLoop(int turns) {
    for (int i = 0; i < turns; ++i) {
        glutMainLoopEvent();
        if (installedIdle) installedIdle();
    }
}

int redisplaysDuring(void (*action)()) {
    const int before = redisplayRequests;
    action();
    return redisplayRequests - before;
}

void openTestWindow() {
    if (windowOpen) return;
    static char programName[] = "astrolume-test";
    static char* argv[] = {programName, nullptr};
    static int argc = 1;
    openAstrolumeWindow(&argc, argv);
    // Tests end by returning from main, not through the window.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    windowOpen = true;
    pumpGlutEvents(20); // map the window and take its first reshape
}

void resetSceneForTest() {
    openTestWindow();
    SceneState fresh;
    for (int slot = 0; slot < BODY_COUNT; ++slot)
        fresh.bodyTextures[slot] = sceneState.bodyTextures[slot];
    fresh.quadric = sceneState.quadric;
    sceneState = fresh;
    glutIdleFunc(nullptr);
    glEnable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    onReshape(windowSize, windowSize);
    pumpGlutEvents(3);
}

Rgb Frame::at(int windowX, int windowYFromTop) const {
    const int row = windowSize - 1 - windowYFromTop;
    const unsigned char* p = &rgb[(static_cast<size_t>(row) * windowSize + windowX) * 3];
    return {p[0], p[1], p[2]};
}

Rgb Frame::atModel(double x, double y) const {
    return at(modelToWindowX(x), modelToWindowYFromTop(y));
}

float Frame::depthAtModel(double x, double y) const {
    const int row = windowSize - 1 - modelToWindowYFromTop(y);
    return depth[static_cast<size_t>(row) * windowSize + modelToWindowX(x)];
}

Frame drawFrame() {
    onDisplay();
    glFinish();
    Frame frame;
    frame.rgb.resize(static_cast<size_t>(windowSize) * windowSize * 3);
    // Mesa's software renderer presents a frame by copying it, so after onDisplay's swap the back
    // buffer still holds exactly what was drawn (its front buffer is not kept up to date).
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, windowSize, windowSize, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    frame.depth.resize(static_cast<size_t>(windowSize) * windowSize);
    glReadPixels(0, 0, windowSize, windowSize, GL_DEPTH_COMPONENT, GL_FLOAT, frame.depth.data());
    return frame;
}

int modelToWindowX(double x) {
    return static_cast<int>(std::floor((x + cubeHalfSize) / (2 * cubeHalfSize) * windowSize));
}

int modelToWindowYFromTop(double y) {
    return static_cast<int>(std::floor((cubeHalfSize - y) / (2 * cubeHalfSize) * windowSize));
}

int modelviewStackDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    return depth;
}
