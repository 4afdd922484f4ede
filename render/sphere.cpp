// drawSphere: the tessellated sphere sent to OpenGL in immediate mode, recomputed on every call.
#include "render/render.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// Float constants nearest to 2 pi and pi / 2.
constexpr float twoPi = 6.2831855f;
constexpr float halfPi = 1.5707964f;

// Normal, texture coordinate, then position. Arithmetic is double; every normal component and
// position coordinate is rounded to float as it is formed, so the picture is the same everywhere.
void emitVertex(float cx, float cy, float cz, float radius, float latitude, float longitude, float s,
                float t) {
    const double cosLatitude = std::cos(static_cast<double>(latitude));
    const float nx = static_cast<float>(std::cos(static_cast<double>(longitude)) * cosLatitude);
    const float ny = static_cast<float>(std::sin(static_cast<double>(latitude)));
    const float nz = static_cast<float>(std::sin(static_cast<double>(longitude)) * cosLatitude);
    glNormal3f(nx, ny, nz);
    glTexCoord2f(s, t);
    glVertex3f(static_cast<float>(static_cast<double>(radius) * nx + cx),
               static_cast<float>(static_cast<double>(radius) * ny + cy),
               static_cast<float>(static_cast<double>(radius) * nz + cz));
}

} // namespace

void drawSphere(float cx, float cy, float cz, float radius, int segments) {
    if (radius < 0) radius = -radius;
    if (segments < 0) segments = -segments;
    if (segments < 4 || !(radius > 0)) {
        glBegin(GL_POINTS);
        glVertex3f(cx, cy, cz);
        glEnd();
        return;
    }
    const int n = segments;
    // n / 2 bands from the -y pole up, each a strip of n + 1 columns, upper vertex before lower.
    for (int band = 0; band < n / 2; ++band) {
        const float latLow = static_cast<float>(band * static_cast<double>(twoPi) / n - halfPi);
        const float latHigh = static_cast<float>((band + 1) * static_cast<double>(twoPi) / n - halfPi);
        const float tLow = static_cast<float>(2.0 * band / n);
        const float tHigh = static_cast<float>((2.0 * band + 2) / n);
        glBegin(GL_TRIANGLE_STRIP);
        for (int column = 0; column <= n; ++column) {
            const float longitude = static_cast<float>(column * static_cast<double>(twoPi) / n);
            const float s = static_cast<float>(-(static_cast<double>(column) / n));
            emitVertex(cx, cy, cz, radius, latHigh, longitude, s, tHigh);
            emitVertex(cx, cy, cz, radius, latLow, longitude, s, tLow);
        }
        glEnd();
    }
}
