// The MilkShape parser on files the tests write themselves: what it keeps, and every kind of
// damage refused with nothing left behind.
#include "support/ms3d_write.h"

#include <gtest/gtest.h>

namespace {

void expectEmpty(const ModelData &m)
{
    EXPECT_EQ(m.numMeshes + m.numMaterials + m.numTriangles + m.numVertices, 0);
    EXPECT_TRUE(!m.meshes && !m.materials && !m.triangles && !m.vertices);
}

TEST(Ms3d, QuadArrivesWithFlippedTAndItsMaterial)
{
    Ms3dLayout layout = quadModel("base/textures/road.bmp");
    layout.version = 3; // read as the generated models' version 4 is
    layout.vertices[2].bone = 3;
    layout.materials[0].emissive[0] = 0.75f;
    layout.groups.push_back({{1}, 0xFF});
    layout.trailer = Bytes(40, 0xEE); // joints and comments are not read
    ParsedModel model;
    ASSERT_TRUE(model.parse(makeMs3d(layout)));
    ASSERT_EQ(model.numVertices, 4);
    ASSERT_EQ(model.numTriangles, 2);
    ASSERT_EQ(model.numMeshes, 2);
    ASSERT_EQ(model.numMaterials, 1);
    EXPECT_EQ(model.vertices[2].boneId, 3);
    EXPECT_FLOAT_EQ(model.vertices[1].location[0], 1.0f);
    const Triangle &a = model.triangles[0];
    EXPECT_EQ(a.vertexIndices[2], 2);
    EXPECT_FLOAT_EQ(a.t[0], 1.0f); // file t 0
    EXPECT_FLOAT_EQ(a.t[2], 0.0f); // file t 1
    EXPECT_FLOAT_EQ(a.s[1], 1.0f);
    EXPECT_FLOAT_EQ(a.vertexNormals[1][1], 1.25f);
    EXPECT_STREQ(model.materials[0].textureFileName, "base/textures/road.bmp");
    EXPECT_FLOAT_EQ(model.materials[0].emissive[0], 0.75f);
    EXPECT_FLOAT_EQ(model.materials[0].shininess, 8.0f);
    EXPECT_EQ(model.materials[0].texture, 0u);
    EXPECT_EQ(model.meshes[0].materialIndex, 0);
    EXPECT_EQ(model.meshes[0].triangleIndices[1], 1);
    EXPECT_EQ(model.meshes[1].materialIndex, -1) << "0xFF: no material";
}

TEST(Ms3d, OtherVersionsBadIndicesAndIdsAreRefused)
{
    struct Case {
        const char *what;
        void (*change)(Ms3dLayout &);
    } cases[] = {
        {"version 2", [](Ms3dLayout &s) { s.version = 2; }},
        {"version 5", [](Ms3dLayout &s) { s.version = 5; }},
        {"vertex index out of range", [](Ms3dLayout &s) { s.triangles[1].v[2] = 4; }},
        {"vertex index far out", [](Ms3dLayout &s) { s.triangles[0].v[0] = 65535; }},
        {"triangle index out of range", [](Ms3dLayout &s) { s.groups[0].triangles.push_back(2); }},
        {"material index at the count", [](Ms3dLayout &s) { s.groups[0].material = 1; }},
        {"material index 127", [](Ms3dLayout &s) { s.groups[0].material = 127; }},
        {"material when there are none", [](Ms3dLayout &s) { s.materials.clear(); }},
    };
    for (const Case &c : cases) {
        Ms3dLayout layout = quadModel("t.bmp");
        c.change(layout);
        ParsedModel model;
        EXPECT_FALSE(model.parse(makeMs3d(layout))) << c.what;
        expectEmpty(model);
    }
    Bytes wrongId = makeMs3d(quadModel(""));
    wrongId[4] = 'X';
    ParsedModel model;
    EXPECT_FALSE(model.parse(wrongId));
    expectEmpty(model);
}

// A count that promises more than the file holds, at each of the five counts; and every prefix.
TEST(Ms3d, CountsRunningPastTheEndAndEveryTruncationAreRefused)
{
    Ms3dLayout layout = quadModel("t.bmp");
    Bytes file = makeMs3d(layout);
    size_t vertexCount = 14;
    size_t triangleCount = vertexCount + 2 + 4 * 15;
    size_t groupCount = triangleCount + 2 + 2 * 70;
    size_t groupTriangleCount = groupCount + 2 + 1 + 32;
    size_t materialCount = groupTriangleCount + 2 + 2 * 2 + 1;
    ASSERT_EQ(materialCount + 2 + 361, file.size());
    ParsedModel model;
    for (size_t at : {vertexCount, triangleCount, groupCount, groupTriangleCount, materialCount})
        for (unsigned v : {0xFFFFu, 0x0100u}) {
            Bytes b = file;
            b[at] = v & 0xFF;
            b[at + 1] = (v >> 8) & 0xFF;
            EXPECT_FALSE(model.parse(b)) << "count at " << at << " = " << v;
            expectEmpty(model);
        }
    layout.groups.push_back({{1}, 0xFF});
    file = makeMs3d(layout);
    for (size_t n = 0; n < file.size(); n++) {
        EXPECT_FALSE(model.parse(Bytes(file.begin(), file.begin() + long(n)))) << "first " << n << " bytes";
        expectEmpty(model);
    }
}

} // namespace
