// The sphere every body is made of, as OpenGL receives it. Drawn in feedback mode with identity
// matrices and a viewport that maps -1..1 onto itself, OpenGL hands back each vertex's position
// and texture coordinate; three lights along the axes, one colour each, turn each vertex's normal
// into its colour.
#include "render/render.h"
#include "tests/support/gl_test_window.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// OpenGL turns y over within the window's height and back, so y returns only to within a float's
// step at that height (6e-5 at 512 to 1024 pixels); x, z and the texture coordinates return unchanged.
constexpr double yTolerance = 1e-4;

struct Vertex {
    float x, y, z;
    float r, g, b; // the normal's components towards the lights, never below 0
    float s, t;
};

// What OpenGL received for one drawSphere call: strips come back as their triangles.
struct Feedback {
    std::vector<GLfloat> raw;
    std::vector<Vertex> points;
    std::vector<std::array<Vertex, 3>> triangles;

    // The strips' vertex streams, for spheres of `segments` (2 n triangles a strip): the first
    // triangle's three vertices, then each further triangle's newest one.
    std::vector<std::vector<Vertex>> strips(int segments) const {
        std::vector<std::vector<Vertex>> result;
        const size_t perStrip = 2 * static_cast<size_t>(std::abs(segments));
        for (size_t i = 0; i < triangles.size(); ++i) {
            if (i % perStrip == 0)
                result.push_back({triangles[i][0], triangles[i][1], triangles[i][2]});
            else
                result.back().push_back(triangles[i][2]);
        }
        return result;
    }
};

class Sphere : public testing::Test {
  protected:
    void SetUp() override {
        resetSceneForTest();
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glViewport(-1, -1, 2, 2);
        lightAlongAxes(1.0f);
    }
    void TearDown() override {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        glPopAttrib();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Red light from sign * x, green from sign * y, blue from sign * z, nothing else: a white
    // vertex's colour is then max(0, sign * normal), component by component.
    static void lightAlongAxes(float sign) {
        const GLfloat none[4] = {0, 0, 0, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
        for (int axis = 0; axis < 3; ++axis) {
            const GLenum light = GL_LIGHT0 + axis;
            GLfloat colour[4] = {0, 0, 0, 1}, direction[4] = {0, 0, 0, 0};
            colour[axis] = 1;
            direction[axis] = sign;
            glLightfv(light, GL_AMBIENT, none);
            glLightfv(light, GL_SPECULAR, none);
            glLightfv(light, GL_DIFFUSE, colour);
            glLightfv(light, GL_POSITION, direction);
            glEnable(light);
        }
        glEnable(GL_LIGHTING);
        glColor3f(1, 1, 1);
    }

    static Feedback draw(float cx, float cy, float cz, float radius, int segments) {
        Feedback fed;
        fed.raw.resize(1 << 20);
        glFeedbackBuffer(static_cast<GLsizei>(fed.raw.size()), GL_3D_COLOR_TEXTURE, fed.raw.data());
        glRenderMode(GL_FEEDBACK);
        drawSphere(cx, cy, cz, radius, segments);
        const GLint used = glRenderMode(GL_RENDER);
        fed.raw.resize(used > 0 ? static_cast<size_t>(used) : 0);
        // Each vertex is x, y, z, then r, g, b, a, then s, t, r, q.
        const auto vertexAt = [&](size_t i) {
            const GLfloat* v = &fed.raw[i];
            return Vertex{v[0], v[1], 2 * v[2] - 1, v[3], v[4], v[5], v[7], v[8]};
        };
        constexpr size_t vertexFloats = 11;
        for (size_t i = 0; i < fed.raw.size();) {
            if (fed.raw[i] == GL_POINT_TOKEN) {
                fed.points.push_back(vertexAt(i + 1));
                i += 1 + vertexFloats;
            } else {
                EXPECT_EQ(fed.raw[i], GLfloat(GL_POLYGON_TOKEN));
                EXPECT_EQ(fed.raw[i + 1], 3.0f);
                fed.triangles.push_back(
                    {vertexAt(i + 2), vertexAt(i + 2 + vertexFloats), vertexAt(i + 2 + 2 * vertexFloats)});
                i += 2 + 3 * vertexFloats;
            }
        }
        return fed;
    }
};

// The bottom strip alternates 78 degrees south with the south pole, the top one the north pole with
// 78 degrees north: the poles are rows of coinciding vertices.
TEST_F(Sphere, StripsStartAt78DegreesSouthAndThePolesAreDegenerateRows) {
    const auto strips = draw(0, 0, 0, 1.0f, 30).strips(30);
    const std::vector<Vertex>& strip = strips.front();
    const Vertex& first = strip.at(0);  // the upper vertex of the first column, on the +x meridian
    EXPECT_NEAR(first.x, 0.2079, 1e-4); // cos 78 degrees
    EXPECT_NEAR(first.y, -0.9781, yTolerance);
    EXPECT_NEAR(first.z, 0.0, 1e-6);
    EXPECT_NEAR(first.r, 0.2079, 1e-4); // the normal points the same way
    EXPECT_EQ(first.s, 0.0f);
    EXPECT_EQ(first.t, 0.06666667f);

    const Vertex& pole = strip.at(1);
    EXPECT_NEAR(pole.x, 0.0, 1e-7);
    EXPECT_NEAR(pole.y, -1.0, 1e-6);
    EXPECT_NEAR(pole.z, 0.0, 1e-6);
    EXPECT_EQ(pole.s, 0.0f);
    EXPECT_EQ(pole.t, 0.0f);
    for (size_t i = 1; i < strip.size(); i += 2)
        EXPECT_NEAR(strip[i].y, -1.0, 1e-6);
    for (size_t i = 0; i < strips.back().size(); i += 2)
        EXPECT_NEAR(strips.back()[i].y, 1.0, 1e-6);
}

struct SegmentCase {
    int segments;
    size_t strips;
    size_t verticesPerStrip;
    float topT; // t of the highest row reached
};

TEST_F(Sphere, SegmentCountsGiveTheirBands) {
    const SegmentCase cases[] = {
        {30, 15, 62, 1.0f},                   // what every body uses: 930 vertices
        {4, 2, 10, 1.0f},   {5, 2, 12, 0.8f}, // odd: the cap around +y stays open
        {6, 3, 14, 1.0f},   {31, 15, 64, static_cast<float>(30.0 / 31)},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.segments);
        const Feedback fed = draw(0, 0, 0, 1.0f, c.segments);
        EXPECT_TRUE(fed.points.empty());
        // One long strip, or strips of another length, would give another number of triangles.
        ASSERT_EQ(fed.triangles.size(), c.strips * (c.verticesPerStrip - 2));
        const auto strips = fed.strips(c.segments);
        for (const auto& strip : strips)
            EXPECT_EQ(strip.size(), c.verticesPerStrip);
        EXPECT_EQ(strips.back().front().t, c.topT);
    }
    // Five segments reach only 54 degrees north: the normal's y (green) is sin 54 degrees.
    const auto five = draw(0, 0, 0, 1.0f, 5).strips(5);
    EXPECT_NEAR(std::asin(five.back().front().g) * 180 / M_PI, 54.0, 1e-4);
}

TEST_F(Sphere, EveryVertexLiesOnTheSphereAlongItsNormal) {
    const float cx = 0.25f, cy = -0.125f, cz = 0.0625f, radius = 0.5f;
    for (float sign : {1.0f, -1.0f}) {
        SCOPED_TRACE(sign);
        lightAlongAxes(sign);
        for (const auto& strip : draw(cx, cy, cz, radius, 30).strips(30))
            for (const Vertex& v : strip) {
                const double nx = (v.x - cx) / radius, ny = (v.y - cy) / radius, nz = (v.z - cz) / radius;
                EXPECT_NEAR(std::hypot(nx, ny, nz), 1.0, yTolerance / radius);
                EXPECT_NEAR(v.r, std::max(0.0, sign * nx), 1e-5);
                EXPECT_NEAR(v.g, std::max(0.0, sign * ny), yTolerance / radius);
                EXPECT_NEAR(v.b, std::max(0.0, sign * nz), 1e-5);
            }
    }
}

TEST_F(Sphere, TextureRunsOnceAroundWithFallingS) {
    const auto strip = draw(0, 0, 0, 1.0f, 30).strips(30).at(7);
    EXPECT_EQ(strip.front().s, 0.0f);
    EXPECT_EQ(strip.back().s, -1.0f);
    for (size_t i = 2; i < strip.size(); i += 2)
        EXPECT_LT(strip[i].s, strip[i - 2].s);
    // Upper vertex first in each column, one band of t apart.
    EXPECT_NEAR(strip[0].t - strip[1].t, 2.0 / 30, 1e-6);
}

TEST_F(Sphere, NegativeRadiusAndSegmentsCountByAbsoluteValue) {
    const Feedback reference = draw(0.25f, 0, 0, 0.5f, 30);
    ASSERT_FALSE(reference.triangles.empty());
    EXPECT_EQ(draw(0.25f, 0, 0, -0.5f, 30).raw, reference.raw);
    EXPECT_EQ(draw(0.25f, 0, 0, 0.5f, -30).raw, reference.raw);
    EXPECT_EQ(draw(0.25f, 0, 0, -0.5f, -30).raw, reference.raw);
}

TEST_F(Sphere, MovingTheCentreMovesOnlyPositions) {
    const auto origin = draw(0, 0, 0, 0.5f, 30).strips(30);
    const auto moved = draw(0.375f, -0.25f, 0.125f, 0.5f, 30).strips(30);
    ASSERT_EQ(moved.size(), origin.size());
    for (size_t s = 0; s < origin.size(); ++s)
        for (size_t v = 0; v < origin[s].size(); ++v) {
            const Vertex& a = origin[s][v];
            const Vertex& b = moved[s][v];
            EXPECT_NEAR(b.x, a.x + 0.375, 1e-6);
            EXPECT_NEAR(b.y, a.y - 0.25, yTolerance);
            EXPECT_NEAR(b.z, a.z + 0.125, 1e-6);
            EXPECT_EQ(b.s, a.s);
            EXPECT_EQ(b.t, a.t);
            EXPECT_NEAR(b.r, a.r, 1e-6);
            EXPECT_NEAR(b.g, a.g, 1e-6);
            EXPECT_NEAR(b.b, a.b, 1e-6);
        }
}

TEST_F(Sphere, DegenerateSpheresAreOnePointAtTheCentreLeavingCurrentValuesAlone) {
    const struct {
        float radius;
        int segments;
    } cases[] = {{1.0f, 3}, {1.0f, -3}, {0.0f, 30}, {-0.0f, 30}, {NAN, 30}, {1.0f, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radius << " " << c.segments);
        glNormal3f(0, 0, 1);
        glTexCoord2f(0.25f, 0.5f);
        const Feedback fed = draw(0.5f, -0.25f, 0.75f, c.radius, c.segments);
        EXPECT_TRUE(fed.triangles.empty());
        ASSERT_EQ(fed.points.size(), 1u);
        EXPECT_EQ(fed.points[0].x, 0.5f);
        EXPECT_NEAR(fed.points[0].y, -0.25, yTolerance);
        EXPECT_NEAR(fed.points[0].z, 0.75f, 1e-6);
        // Lit with the normal that was current: only the light from +z reaches it.
        EXPECT_NEAR(fed.points[0].b, 1.0f, 1e-6);
        EXPECT_EQ(fed.points[0].s, 0.25f);
        EXPECT_EQ(fed.points[0].t, 0.5f);
        GLfloat normal[3], texCoord[4];
        glGetFloatv(GL_CURRENT_NORMAL, normal);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
        EXPECT_EQ(normal[2], 1.0f);
        EXPECT_EQ(texCoord[0], 0.25f);
        EXPECT_EQ(texCoord[1], 0.5f);
    }
}

// The ring and the axis line drawn after a sphere take these.
TEST_F(Sphere, LeavesTheLastVertexNormalAndTextureCoordinateCurrent) {
    glNormal3f(0, 0, 1);
    glTexCoord2f(0.25f, 0.25f);
    drawSphere(0, 0, 0, 1.0f, 30);
    GLfloat normal[3], texCoord[4];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_EQ(texCoord[0], -1.0f);
    EXPECT_EQ(texCoord[1], 0.93333334f);
    EXPECT_NEAR(normal[0], 0.2079, 1e-4); // 78 degrees north on the seam
    EXPECT_NEAR(normal[1], 0.9781, 1e-4);
    EXPECT_NEAR(normal[2], 0.0, 1e-6);
}

} // namespace
