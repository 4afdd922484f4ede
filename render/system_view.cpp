// The whole system: the Sun, nine planets on the x axis, the Moon and Saturn's ring.
#include "render/moon_and_ring.h"
#include "render/render.h"
#include "scene/scene.h"

#include <GL/gl.h>

namespace {

constexpr float sunRadius = 3.0f;
constexpr float moonDistance = 1.5f; // from the Earth
constexpr float moonRadius = 0.27f;
constexpr double ringInnerRadius = 1.3; // meets Saturn's surface
constexpr double ringOuterRadius = 2.0;

struct PlanetPlacement {
    BodyIndex slot; // its texture
    OrbitIndex orbit;
    SpinIndex spin;
    float distance; // signed, along x: the planets alternate sides of the Sun
    float radius;
};

constexpr PlanetPlacement planets[] = {
    {BODY_MERCURY, ORBIT_MERCURY, SPIN_MERCURY, 4.5f, 0.62f},
    {BODY_VENUS, ORBIT_VENUS, SPIN_VENUS, -6.4f, 0.9f},
    {BODY_EARTH, ORBIT_EARTH, SPIN_EARTH, 9.6f, 0.8f},
    {BODY_MARS, ORBIT_MARS, SPIN_MARS, -12.3f, 0.64f},
    {BODY_JUPITER, ORBIT_JUPITER, SPIN_JUPITER, 15.2f, 1.5f},
    {BODY_SATURN, ORBIT_SATURN, SPIN_SATURN, -19.6f, 1.3f},
    {BODY_URANUS, ORBIT_URANUS, SPIN_URANUS, 22.2f, 1.1f},
    {BODY_NEPTUNE, ORBIT_NEPTUNE, SPIN_NEPTUNE, -25.4f, 1.0f},
    {BODY_PLUTO, ORBIT_PLUTO, SPIN_PLUTO, 28.6f, 0.9f},
};

// The planets are drawn in BodyIndex order, and their orbits and spins run in the same order; the
// Sun has no orbit and the Moon, drawn in the Earth's group, no spin.
constexpr bool planetsInBodyOrder() {
    int slot = BODY_MERCURY, orbit = ORBIT_MERCURY, spin = SPIN_MERCURY;
    for (const PlanetPlacement& planet : planets) {
        if (slot == BODY_MOON) {
            ++slot;
            ++orbit;
        }
        if (planet.slot != slot++ || planet.orbit != orbit++ || planet.spin != spin++) return false;
    }
    return slot == BODY_COUNT && orbit == ORBIT_COUNT && spin == SPIN_COUNT;
}
static_assert(planetsInBodyOrder());

// Every push is popped in the same block; the braces show the pairing.
void drawPlanet(const PlanetPlacement& planet) {
    glPushMatrix();
    {
        glRotatef(sceneState.orbitAngle[planet.orbit], 0, 0, 1);
        glTranslatef(planet.distance, 0, 0);
        glPushMatrix();
        {
            glRotatef(sceneState.spinAngle[planet.spin], 1, 1, 1);
            glBindTexture(GL_TEXTURE_2D, sceneState.bodyTextures[planet.slot]);
            drawSphere(0, 0, 0, planet.radius, sphereSegments);
        }
        glPopMatrix();
        if (planet.slot == BODY_EARTH) drawMoon(moonDistance, moonRadius);
        if (planet.slot == BODY_SATURN) drawSaturnRing(ringInnerRadius, ringOuterRadius);
    }
    glPopMatrix();
}

} // namespace

void drawSystemView() {
    // With colour material on, this grey is the material of everything drawn after it,
    // close-ups included, and the textures are modulated by it.
    glColor3f(0.75f, 0.75f, 0.75f);

    glPushMatrix();
    {
        glBindTexture(GL_TEXTURE_2D, sceneState.bodyTextures[BODY_SUN]);
        glRotatef(sceneState.spinAngle[SPIN_SUN], 1, 1, 1);
        drawSphere(0, 0, 0, sunRadius, sphereSegments);
    }
    glPopMatrix();

    for (const PlanetPlacement& planet : planets)
        drawPlanet(planet);
}
