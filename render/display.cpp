// onDisplay: one whole frame, redrawn from scratch and shown by a buffer swap.
#include "render/render.h"
#include "scene/scene.h"

#include <GL/freeglut.h>

namespace {

// The texture slot of each close-up's body: from Mars on one past the view number, because the
// Moon has a slot but no view of its own.
struct CloseUp {
    ViewMode view;
    BodyIndex slot;
};

constexpr CloseUp closeUps[] = {
    {VIEW_SUN, BODY_SUN},          {VIEW_MERCURY, BODY_MERCURY}, {VIEW_VENUS, BODY_VENUS},
    {VIEW_EARTH_MOON, BODY_EARTH}, {VIEW_MARS, BODY_MARS},       {VIEW_JUPITER, BODY_JUPITER},
    {VIEW_SATURN, BODY_SATURN},    {VIEW_URANUS, BODY_URANUS},   {VIEW_NEPTUNE, BODY_NEPTUNE},
    {VIEW_PLUTO, BODY_PLUTO},
};
static_assert(rowsFollow(closeUps, &CloseUp::view, VIEW_SUN, VIEW_PLUTO + 1));

void drawCurrentView(int view) {
    if (view == VIEW_SYSTEM)
        drawSystemView();
    else if (view == VIEW_EARTH_MOON)
        drawEarthMoonView(closeUps[view].slot);
    else if (view == VIEW_SATURN)
        drawSaturnView();
    else if (view >= VIEW_SUN && view <= VIEW_PLUTO)
        drawBodyCloseUp(closeUps[view].slot);
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
