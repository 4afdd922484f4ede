// Where the model is on screen: the cube the window shows, and where the whole-system view puts
// each body before anything moves. Every test that looks for a body takes its place from here.
#pragma once

#include "app/app.h"
#include "scene/scene.h"

// The window shows the cube from -cubeHalfSize to cubeHalfSize, origin at the centre, y up.
constexpr double pixelsPerUnit = windowSize / (2.0 * cubeHalfSize);
constexpr int windowCentre = windowSize / 2; // the pixel column and row of the Sun's centre

struct BodyPlace {
    const char* name;
    double x; // centre on the x axis, in model units
    double radius;
    double extent; // half width seen from the front: the radius, or for Saturn its ring
    int orbit;     // the OrbitIndex it goes round by (the Moon about the Earth), -1 for the Sun
    int spin;      // the SpinIndex it turns by about (1, 1, 1), -1 for the Moon
};

// Every angle 0, no drag, no zoom: the planets alternate sides of the Sun.
namespace atRest {
constexpr BodyPlace sun{"Sun", 0.0, 3.0, 3.0, -1, SPIN_SUN};
constexpr BodyPlace mercury{"Mercury", 4.5, 0.62, 0.62, ORBIT_MERCURY, SPIN_MERCURY};
constexpr BodyPlace venus{"Venus", -6.4, 0.9, 0.9, ORBIT_VENUS, SPIN_VENUS};
constexpr BodyPlace earth{"Earth", 9.6, 0.8, 0.8, ORBIT_EARTH, SPIN_EARTH};
constexpr BodyPlace moon{"Moon", 11.1, 0.27, 0.27, ORBIT_MOON, -1}; // 1.5 beyond the Earth
constexpr BodyPlace mars{"Mars", -12.3, 0.64, 0.64, ORBIT_MARS, SPIN_MARS};
constexpr BodyPlace jupiter{"Jupiter", 15.2, 1.5, 1.5, ORBIT_JUPITER, SPIN_JUPITER};
constexpr BodyPlace saturn{"Saturn", -19.6, 1.3, 2.0, ORBIT_SATURN, SPIN_SATURN};
constexpr BodyPlace uranus{"Uranus", 22.2, 1.1, 1.1, ORBIT_URANUS, SPIN_URANUS};
constexpr BodyPlace neptune{"Neptune", -25.4, 1.0, 1.0, ORBIT_NEPTUNE, SPIN_NEPTUNE};
constexpr BodyPlace pluto{"Pluto", 28.6, 0.9, 0.9, ORBIT_PLUTO, SPIN_PLUTO};

// In the order of the texture slots.
constexpr BodyPlace bodies[] = {sun,     mercury, venus,  earth,   moon, mars,
                                jupiter, saturn,  uranus, neptune, pluto};
} // namespace atRest
