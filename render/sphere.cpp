// drawSphere: the tessellated sphere sent to OpenGL in immediate mode.
#include "render/render.h"
#include "render/sphere_tessellation.h"

#include <GL/gl.h>

namespace {

struct ImmediateModeSink {
    void point(float x, float y, float z) {
        glBegin(GL_POINTS);
        glVertex3f(x, y, z);
        glEnd();
    }
    void beginStrip() { glBegin(GL_TRIANGLE_STRIP); }
    void vertex(const SphereVertex& v) {
        glNormal3f(v.normal[0], v.normal[1], v.normal[2]);
        glTexCoord2f(v.texCoord[0], v.texCoord[1]);
        glVertex3f(v.position[0], v.position[1], v.position[2]);
    }
    void endStrip() { glEnd(); }
};

} // namespace

void drawSphere(float cx, float cy, float cz, float radius, int segments) {
    ImmediateModeSink sink;
    tessellateSphere(cx, cy, cz, radius, segments, sink);
}
