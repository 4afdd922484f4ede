// The sphere every body is made of: the vertex stream, its rounding, and what it leaves current.
#include "render/render.h"
#include "render/sphere_tessellation.h"
#include "tests/support/gl_test_window.h"

#include <GL/gl.h>
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct RecordedSphere {
    std::vector<std::vector<SphereVertex>> strips;
    std::vector<std::array<float, 3>> points;
    void point(float x, float y, float z) { points.push_back({x, y, z}); }
    void beginStrip() { strips.emplace_back(); }
    void vertex(const SphereVertex& v) { strips.back().push_back(v); }
    void endStrip() {}
    size_t vertexCount() const {
        size_t count = 0;
        for (const auto& strip : strips) count += strip.size();
        return count;
    }
};

RecordedSphere tessellate(float cx, float cy, float cz, float radius, int segments) {
    RecordedSphere sphere;
    tessellateSphere(cx, cy, cz, radius, segments, sphere);
    return sphere;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameVertex(const SphereVertex& a, const SphereVertex& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The rounding rules written out once more, by hand, for the first column of the first band.
TEST(SphereVertices, FirstVertexFollowsTheFloatRoundingRules) {
    const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, 30);
    const SphereVertex& first = sphere.strips.at(0).at(0);

    const float latitude = static_cast<float>(1 * 6.2831855f / 30.0 - 1.5707964f);
    const float longitude = 0.0f;
    const float nx = static_cast<float>(std::cos(double(longitude)) * std::cos(double(latitude)));
    const float ny = static_cast<float>(std::sin(double(latitude)));
    EXPECT_TRUE(sameBits(first.normal[0], nx));
    EXPECT_TRUE(sameBits(first.normal[1], ny));
    EXPECT_TRUE(sameBits(first.normal[2], 0.0f));
    EXPECT_TRUE(sameBits(first.position[0], nx));
    EXPECT_TRUE(sameBits(first.position[1], ny));
    EXPECT_NEAR(first.normal[0], 0.2079, 1e-4); // cos 78 degrees
    EXPECT_NEAR(first.normal[1], -0.9781, 1e-4);
    EXPECT_EQ(first.texCoord[0], 0.0f);
    EXPECT_EQ(first.texCoord[1], 0.06666667f);
}

TEST(SphereVertices, SecondVertexIsTheSouthPole) {
    const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, 30);
    const SphereVertex& pole = sphere.strips.at(0).at(1);
    EXPECT_NEAR(pole.position[0], 0.0, 1e-7);
    EXPECT_EQ(pole.position[1], -1.0f);
    EXPECT_NEAR(pole.position[2], 0.0, 1e-7);
    EXPECT_EQ(pole.texCoord[0], 0.0f);
    EXPECT_EQ(pole.texCoord[1], 0.0f);
}

TEST(SphereVertices, ThirtySegmentsMakeFifteenStripsOf62) {
    const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, 30);
    EXPECT_TRUE(sphere.points.empty());
    ASSERT_EQ(sphere.strips.size(), 15u);
    for (const auto& strip : sphere.strips) EXPECT_EQ(strip.size(), 62u);
    EXPECT_EQ(sphere.vertexCount(), 930u);
}

TEST(SphereVertices, EveryVertexLiesOnTheSphereAlongItsNormal) {
    const RecordedSphere sphere = tessellate(1.0f, -2.0f, 3.0f, 2.5f, 30);
    for (const auto& strip : sphere.strips)
        for (const SphereVertex& v : strip) {
            const double length = std::hypot(v.normal[0], v.normal[1], v.normal[2]);
            EXPECT_NEAR(length, 1.0, 1e-6);
            EXPECT_NEAR(v.position[0], 1.0 + 2.5 * v.normal[0], 1e-5);
            EXPECT_NEAR(v.position[1], -2.0 + 2.5 * v.normal[1], 1e-5);
            EXPECT_NEAR(v.position[2], 3.0 + 2.5 * v.normal[2], 1e-5);
        }
}

TEST(SphereVertices, PolesAreDegenerateRowsForEvenSegments) {
    const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, 30);
    const auto& bottom = sphere.strips.front();
    const auto& top = sphere.strips.back();
    for (size_t i = 1; i < bottom.size(); i += 2) EXPECT_NEAR(bottom[i].position[1], -1.0, 1e-6);
    for (size_t i = 0; i < top.size(); i += 2) EXPECT_NEAR(top[i].position[1], 1.0, 1e-6);
}

TEST(SphereVertices, TextureRunsOnceAroundWithFallingS) {
    const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, 30);
    const auto& strip = sphere.strips[7];
    EXPECT_EQ(strip.front().texCoord[0], 0.0f);
    EXPECT_EQ(strip.back().texCoord[0], -1.0f);
    for (size_t i = 2; i < strip.size(); i += 2) EXPECT_LT(strip[i].texCoord[0], strip[i - 2].texCoord[0]);
    // Upper vertex first in each column, one band of t apart.
    EXPECT_NEAR(strip[0].texCoord[1] - strip[1].texCoord[1], 2.0 / 30, 1e-6);
}

struct SegmentCase {
    int segments;
    size_t strips;
    size_t verticesPerStrip;
    float topT; // t of the highest row reached
};

TEST(SphereVertices, SegmentCountsGiveTheirBands) {
    const SegmentCase cases[] = {
        {4, 2, 10, 1.0f},
        {5, 2, 12, 0.8f}, // odd: the cap around +y stays open
        {6, 3, 14, 1.0f},
        {31, 15, 64, static_cast<float>(30.0 / 31)},
    };
    for (const SegmentCase& c : cases) {
        SCOPED_TRACE(c.segments);
        const RecordedSphere sphere = tessellate(0, 0, 0, 1.0f, c.segments);
        ASSERT_EQ(sphere.strips.size(), c.strips);
        for (const auto& strip : sphere.strips) EXPECT_EQ(strip.size(), c.verticesPerStrip);
        EXPECT_EQ(sphere.strips.back().front().texCoord[1], c.topT);
    }
    // Five segments reach only 54 degrees north.
    const RecordedSphere five = tessellate(0, 0, 0, 1.0f, 5);
    EXPECT_NEAR(std::asin(five.strips.back().front().normal[1]) * 180 / M_PI, 54.0, 1e-4);
}

TEST(SphereVertices, NegativeRadiusAndSegmentsCountByAbsoluteValue) {
    const RecordedSphere reference = tessellate(0.5f, 0, 0, 2.0f, 30);
    for (const RecordedSphere& other : {tessellate(0.5f, 0, 0, -2.0f, 30), tessellate(0.5f, 0, 0, 2.0f, -30),
                                        tessellate(0.5f, 0, 0, -2.0f, -30)}) {
        ASSERT_EQ(other.strips.size(), reference.strips.size());
        for (size_t s = 0; s < reference.strips.size(); ++s)
            for (size_t v = 0; v < reference.strips[s].size(); ++v)
                EXPECT_TRUE(sameVertex(other.strips[s][v], reference.strips[s][v]));
    }
}

TEST(SphereVertices, DegenerateSpheresAreOnePointAtTheCentre) {
    const struct {
        float radius;
        int segments;
    } cases[] = {{1.0f, 3}, {1.0f, -3}, {0.0f, 30}, {-0.0f, 30}, {NAN, 30}, {1.0f, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.radius << " " << c.segments);
        const RecordedSphere sphere = tessellate(1.5f, -2.5f, 4.0f, c.radius, c.segments);
        EXPECT_TRUE(sphere.strips.empty());
        ASSERT_EQ(sphere.points.size(), 1u);
        EXPECT_EQ(sphere.points[0][0], 1.5f);
        EXPECT_EQ(sphere.points[0][1], -2.5f);
        EXPECT_EQ(sphere.points[0][2], 4.0f);
    }
}

TEST(SphereVertices, MovingTheCentreMovesOnlyPositions) {
    const RecordedSphere origin = tessellate(0, 0, 0, 1.0f, 30);
    const RecordedSphere moved = tessellate(3.0f, -1.0f, 2.0f, 1.0f, 30);
    for (size_t s = 0; s < origin.strips.size(); ++s)
        for (size_t v = 0; v < origin.strips[s].size(); ++v) {
            const SphereVertex& a = origin.strips[s][v];
            const SphereVertex& b = moved.strips[s][v];
            EXPECT_EQ(0, std::memcmp(a.normal, b.normal, sizeof a.normal));
            EXPECT_EQ(0, std::memcmp(a.texCoord, b.texCoord, sizeof a.texCoord));
            EXPECT_NEAR(b.position[0], a.position[0] + 3.0, 1e-6);
            EXPECT_NEAR(b.position[1], a.position[1] - 1.0, 1e-6);
            EXPECT_NEAR(b.position[2], a.position[2] + 2.0, 1e-6);
        }
}

// What drawSphere really hands to OpenGL.
class SphereInOpenGL : public testing::Test {
  protected:
    void SetUp() override {
        resetSceneForTest();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }
    void TearDown() override {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }

    // Draws in feedback mode: each entry is a token and its vertices as (x, y, z, r, g, b, a, s, t, r, q).
    std::vector<GLfloat> feedback(float radius, int segments) {
        std::vector<GLfloat> buffer(1 << 20);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
        glRenderMode(GL_FEEDBACK);
        drawSphere(0, 0, 0, radius, segments);
        const GLint used = glRenderMode(GL_RENDER);
        buffer.resize(used > 0 ? static_cast<size_t>(used) : 0);
        return buffer;
    }
};

constexpr int feedbackVertexFloats = 3 + 4 + 4;

TEST_F(SphereInOpenGL, LeavesTheLastVertexNormalAndTextureCoordinateCurrent) {
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

TEST_F(SphereInOpenGL, PointCaseLeavesCurrentValuesAlone) {
    glNormal3f(0, 0, 1);
    glTexCoord2f(0.25f, 0.5f);
    const std::vector<GLfloat> stream = feedback(0.0f, 30);
    ASSERT_EQ(stream.size(), 1u + feedbackVertexFloats);
    EXPECT_EQ(stream[0], GLfloat(GL_POINT_TOKEN));
    EXPECT_NEAR(stream[1], testWindowSize / 2.0, 1e-3); // the centre, mid-window
    EXPECT_NEAR(stream[2], testWindowSize / 2.0, 1e-3);
    GLfloat normal[3], texCoord[4];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    EXPECT_EQ(normal[2], 1.0f);
    EXPECT_EQ(texCoord[0], 0.25f);
    EXPECT_EQ(texCoord[1], 0.5f);
}

TEST_F(SphereInOpenGL, EmitsTheTessellatedStripsAsTriangles) {
    // Four segments: 2 strips of 10 vertices, 8 triangles each.
    const std::vector<GLfloat> stream = feedback(0.5f, 4);
    const RecordedSphere expected = tessellate(0, 0, 0, 0.5f, 4);
    std::vector<std::array<float, 2>> texCoords;
    size_t triangles = 0;
    for (size_t i = 0; i < stream.size();) {
        ASSERT_EQ(stream[i], GLfloat(GL_POLYGON_TOKEN));
        ASSERT_EQ(stream[i + 1], 3.0f);
        for (int v = 0; v < 3; ++v) {
            const GLfloat* vertex = &stream[i + 2 + v * feedbackVertexFloats];
            texCoords.push_back({vertex[7], vertex[8]});
        }
        i += 2 + 3 * feedbackVertexFloats;
        ++triangles;
    }
    EXPECT_EQ(triangles, 16u);
    // The first triangle is the strip's first three vertices, with their texture coordinates.
    const auto& strip = expected.strips[0];
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(texCoords[v][0], strip[v].texCoord[0]);
        EXPECT_EQ(texCoords[v][1], strip[v].texCoord[1]);
    }
}

} // namespace
