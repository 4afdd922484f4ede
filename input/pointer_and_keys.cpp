// Drag, zoom, lighting, start/stop and quit: input turned into SceneState changes.
#include "input/input.h"
#include "scene/scene.h"

#include <GL/freeglut.h>
#include <cstdlib>

namespace {

constexpr double degreesPerPixel = 1.0;

void runAnimation(bool run) {
    glutIdleFunc(run ? advanceAnimation : nullptr);
}

// A press that would take the zoom out of its range does nothing, so the way back is always open.
void zoomTo(float zoom) {
    if (zoom >= minZoom && zoom <= maxZoom) sceneState.zoom = zoom;
}

} // namespace

void onMouse(int button, int state, int x, int y) {
    if ((button != MOUSE_LEFT && button != MOUSE_RIGHT) || (state != GLUT_DOWN && state != GLUT_UP))
        return; // middle button and wheel: nothing at all
    if (state == GLUT_DOWN) {
        sceneState.dragButtonState = DRAG_HELD;
        sceneState.dragButton = button;
        sceneState.dragLastX = x;
        sceneState.dragLastY = y;
    } else {
        sceneState.dragButtonState = DRAG_RELEASED;
    }
    // A held button pauses a running animation; its release resumes it.
    if (sceneState.animating) runAnimation(state == GLUT_UP);
    glutPostRedisplay();
}

void onMotion(int x, int y) {
    if (sceneState.dragButton != MOUSE_LEFT || sceneState.dragButtonState != DRAG_HELD) return;
    sceneState.viewYaw =
        static_cast<float>(sceneState.viewYaw - (sceneState.dragLastX - x) / degreesPerPixel);
    sceneState.viewPitch =
        static_cast<float>(sceneState.viewPitch - (sceneState.dragLastY - y) / degreesPerPixel);
    sceneState.dragLastX = x;
    sceneState.dragLastY = y;
    glutPostRedisplay();
}

void onKeyboard(unsigned char key, int, int) {
    switch (key) {
    case keyEscape: std::exit(-1);
    case keySpace:
        sceneState.animating = !sceneState.animating;
        runAnimation(sceneState.animating);
        break;
    case keyLighting:
        sceneState.lightingOn = !sceneState.lightingOn;
        if (sceneState.lightingOn)
            glEnable(GL_LIGHTING);
        else
            glDisable(GL_LIGHTING);
        break;
    case keyZoomOut: zoomTo(sceneState.zoom / sceneState.zoomStep); break;
    case keyZoomIn: zoomTo(sceneState.zoom * sceneState.zoomStep); break;
    default: break; // any other key only redraws
    }
    glutPostRedisplay();
}
