// The Moon and Saturn's ring, as both the system view and the close-ups draw them.
#include "render/moon_and_ring.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

constexpr int ringSlices = 40;
constexpr int ringLoops = 40;
constexpr float ringTilt = 45.0f;

} // namespace

void drawMoon(float distance, float radius) {
    glRotatef(sceneState.orbitAngle[ORBIT_MOON], 0, 0, 1);
    glTranslatef(distance, 0, 0);
    glBindTexture(GL_TEXTURE_2D, sceneState.bodyTextures[BODY_MOON]);
    drawSphere(0, 0, 0, radius, sphereSegments);
}

// Turning by the orbit angle a second time makes the ring's tilt go round twice per revolution;
// that is how the model has always looked.
void drawSaturnRing(double innerRadius, double outerRadius) {
    glRotatef(sceneState.orbitAngle[ORBIT_SATURN], 0, 0, 1);
    glRotatef(ringTilt, 1, 0, 0);
    gluDisk(sceneState.quadric, innerRadius, outerRadius, ringSlices, ringLoops);
}
