// onDisplay: one whole frame, redrawn from scratch and shown by a buffer swap.
#include "render/gl_check.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// The close-ups take a texture slot, which from Mars on is one past the view number
// because the Moon has a slot but no view of its own.
void drawCurrentView(int view) {
    switch (view) {
    case VIEW_SUN: drawBodyCloseUp(BODY_SUN); break;
    case VIEW_MERCURY: drawBodyCloseUp(BODY_MERCURY); break;
    case VIEW_VENUS: drawBodyCloseUp(BODY_VENUS); break;
    case VIEW_EARTH_MOON: drawEarthMoonView(BODY_EARTH); break;
    case VIEW_MARS: drawBodyCloseUp(BODY_MARS); break;
    case VIEW_JUPITER: drawBodyCloseUp(BODY_JUPITER); break;
    case VIEW_SATURN: drawSaturnView(); break;
    case VIEW_URANUS: drawBodyCloseUp(BODY_URANUS); break;
    case VIEW_NEPTUNE: drawBodyCloseUp(BODY_NEPTUNE); break;
    case VIEW_PLUTO: drawBodyCloseUp(BODY_PLUTO); break;
    case VIEW_SYSTEM: drawSystemView(); break;
    default: break; // an unknown view leaves the frame black
    }
}

} // namespace

void onDisplay() {
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D); // a single-body close-up leaves it off
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glRotatef(sceneState.viewPitch, 1, 0, 0);
    glRotatef(sceneState.viewYaw, 0, 1, 0);
    glScalef(sceneState.zoom, sceneState.zoom, sceneState.zoom);
    drawCurrentView(sceneState.currentView);
    glFlush();
    glutSwapBuffers();
    ASTROLUME_CHECK_GL();
}
