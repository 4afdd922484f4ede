// Close-ups: one body of radius 6 seen from its -z side, turning about a vertical axis line.
// They start from the identity, so the drag rotation and the zoom never reach them.
#include "render/moon_and_ring.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr float moonDistance = 8.5f;
constexpr float moonRadius = 1.0f;
constexpr double ringInnerRadius = 7.3; // leaves a gap around the body
constexpr double ringOuterRadius = 9.0;

// Drops the frame's view transform and looks at the origin from z = -5. Leaves two matrices
// pushed (the identity, then the look-at) and the body's turn applied; the caller pops both.
void beginCloseUp() {
    glLoadIdentity();
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0, 0, -5, 0, 0, 0, 0, 1, 0);
    glPushMatrix();
    // Every close-up turns with the Earth's spin, whichever body it shows.
    glRotatef(sceneState.spinAngle[SPIN_EARTH], 0, 1, 0);
}

void drawBodySphere(int slot) {
    glBindTexture(GL_TEXTURE_2D, sceneState.bodyTextures[slot]);
    drawSphere(0, 0, 0, closeUpRadius, sphereSegments);
}

// Takes its colour, normal and texture coordinate from whatever was drawn before it.
void drawAxisLine() {
    glBegin(GL_LINES);
    glVertex3d(0, -55, 0);
    glVertex3d(0, 55, 0);
    glEnd();
}

} // namespace

void drawBodyCloseUp(int slot) {
    beginCloseUp();
    glEnable(GL_TEXTURE_2D);
    drawBodySphere(slot);
    glDisable(GL_TEXTURE_2D); // the next frame turns it back on
    glPopMatrix();
    drawAxisLine();
    glPopMatrix();
}

void drawEarthMoonView(int slot) {
    beginCloseUp();
    drawBodySphere(slot);
    glPopMatrix();
    drawMoon(moonDistance, moonRadius);
    glPopMatrix();
    drawAxisLine();
}

void drawSaturnView() {
    beginCloseUp();
    drawBodySphere(BODY_SATURN);
    glPopMatrix();
    drawSaturnRing(ringInnerRadius, ringOuterRadius);
    glPopMatrix();
    drawAxisLine();
}
