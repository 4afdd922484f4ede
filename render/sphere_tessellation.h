// The sphere's vertices, computed once for drawing and for checking.
// drawSphere feeds them to OpenGL; tests feed them to a recorder and see the same numbers.
#pragma once

#include <cmath>

struct SphereVertex {
    float normal[3];
    float texCoord[2];
    float position[3];
};

// Float constants nearest to 2 pi and pi / 2.
constexpr float sphereTwoPi = 6.2831855f;
constexpr float sphereHalfPi = 1.5707964f;

// Calls sink.point(cx, cy, cz) for a degenerate sphere, otherwise for each band
// sink.beginStrip(), sink.vertex(v) for its 2 (n + 1) vertices (upper before lower), sink.endStrip().
// Arithmetic is double; every angle, normal, position and texture coordinate is rounded to float
// as it is formed, so the picture is the same wherever it is drawn.
template <typename Sink>
inline void tessellateSphere(float cx, float cy, float cz, float radius, int segments, Sink& sink) {
    if (radius < 0) radius = -radius;
    if (segments < 0) segments = -segments;
    if (segments < 4 || !(radius > 0)) {
        sink.point(cx, cy, cz);
        return;
    }
    const int n = segments;
    const auto vertexAt = [&](float latitude, float longitude, float s, float t) {
        SphereVertex v;
        v.normal[0] = static_cast<float>(std::cos(static_cast<double>(longitude)) * std::cos(static_cast<double>(latitude)));
        v.normal[1] = static_cast<float>(std::sin(static_cast<double>(latitude)));
        v.normal[2] = static_cast<float>(std::sin(static_cast<double>(longitude)) * std::cos(static_cast<double>(latitude)));
        v.texCoord[0] = s;
        v.texCoord[1] = t;
        v.position[0] = static_cast<float>(static_cast<double>(radius) * v.normal[0] + cx);
        v.position[1] = static_cast<float>(static_cast<double>(radius) * v.normal[1] + cy);
        v.position[2] = static_cast<float>(static_cast<double>(radius) * v.normal[2] + cz);
        return v;
    };
    for (int band = 0; band < n / 2; ++band) {
        const float latLow = static_cast<float>(band * static_cast<double>(sphereTwoPi) / n - sphereHalfPi);
        const float latHigh = static_cast<float>((band + 1) * static_cast<double>(sphereTwoPi) / n - sphereHalfPi);
        const float tLow = static_cast<float>(2.0 * band / n);
        const float tHigh = static_cast<float>((2.0 * band + 2) / n);
        sink.beginStrip();
        for (int column = 0; column <= n; ++column) {
            const float longitude = static_cast<float>(column * static_cast<double>(sphereTwoPi) / n);
            const float s = static_cast<float>(-(static_cast<double>(column) / n));
            sink.vertex(vertexAt(latHigh, longitude, s, tHigh));
            sink.vertex(vertexAt(latLow, longitude, s, tLow));
        }
        sink.endStrip();
    }
}
