// Private to render/: the Moon and Saturn's ring, which the system view and the close-ups draw
// the same way at different sizes.
#pragma once

// Every sphere of every view.
constexpr int sphereSegments = 30;

// In the Earth's frame: turns by the Moon's orbit angle, moves out by `distance` and draws the
// Moon there, textured, never spinning. Leaves that transform current; the caller pops it.
void drawMoon(float distance, float radius);

// In Saturn's frame: turns by Saturn's orbit angle a second time, tilts 45 degrees about x and
// draws the ring disk, which takes the texture coordinate Saturn's sphere left current. Leaves
// that transform current; the caller pops it.
void drawSaturnRing(double innerRadius, double outerRadius);
