// onDisplay: one whole frame, redrawn from scratch and shown by a buffer swap.
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// The texture slot of each close-up's body, by ViewMode: from Mars on one past the view number,
// because the Moon has a slot but no view of its own.
constexpr int closeUpSlot[] = {BODY_SUN,     BODY_MERCURY, BODY_VENUS,  BODY_EARTH,   BODY_MARS,
                               BODY_JUPITER, BODY_SATURN,  BODY_URANUS, BODY_NEPTUNE, BODY_PLUTO};
static_assert(sizeof closeUpSlot / sizeof closeUpSlot[0] == VIEW_PLUTO + 1);

void drawCurrentView(int view) {
    if (view == VIEW_SYSTEM)
        drawSystemView();
    else if (view == VIEW_EARTH_MOON)
        drawEarthMoonView(closeUpSlot[view]);
    else if (view == VIEW_SATURN)
        drawSaturnView();
    else if (view >= VIEW_SUN && view <= VIEW_PLUTO)
        drawBodyCloseUp(closeUpSlot[view]);
    // an unknown view leaves the frame black
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
