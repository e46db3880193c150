// The generator's model writer read back by the game's own parser.
#include "mesh.h"
#include "support/ms3d_write.h"

#include <gtest/gtest.h>

TEST(ModelWriter, ReadsBackAsTheGameLoadsIt)
{
    ModelMesh m;
    int road = m.material("road", "base/textures/world/road.bmp");
    int lamp = m.lampMaterial("lamp", 1.0f, 0.6f, 0.25f);
    m.quad(road, v3(0, 0, 0), v3(1, 0, 0), v3(1, 0, 1), v3(0, 0, 1), Uv{0, 0}, Uv{1, 0}, Uv{1, 0.25f}, Uv{0, 0.25f});
    m.tri(lamp, v3(0, 5, 0), v3(3, 5, 0), v3(0, 5, 3), {}, {}, {});
    m.tri(road, v3(2, 0, 0), v3(2, 0, 0), v3(3, 0, 0), {}, {}, {}); // degenerate: dropped
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(encodeMs3d(m, bytes));
    ParsedModel t;
    ASSERT_TRUE(t.parse(bytes));
    EXPECT_EQ(t.numVertices, 7); // the quad's corners are shared by its two triangles
    ASSERT_EQ(t.numTriangles, 3);
    ASSERT_EQ(t.numMeshes, 2);
    EXPECT_EQ(t.meshes[0].numTriangles, 2);
    EXPECT_EQ(t.materials[1].emissive[1], 0.6f);
    EXPECT_STREQ(t.materials[0].textureFileName, "base/textures/world/road.bmp");
    // Texture t is written from the image's top and flipped by the loader.
    EXPECT_FLOAT_EQ(t.triangles[0].t[2], 0.75f);
    // The lamp triangle's centroid is where the light goes.
    const Triangle &lt = t.triangles[t.meshes[1].triangleIndices[0]];
    float cx = 0;
    for (int k = 0; k < 3; k++)
        cx += t.vertices[lt.vertexIndices[k]].location[0] / 3;
    EXPECT_FLOAT_EQ(cx, 1.0f);
}

TEST(ModelWriter, RefusesMoreThanTheFormatHolds)
{
    ModelMesh m;
    int mat = m.material("x", "");
    for (int i = 0; i < 22000; i++)
        m.tri(mat, v3(float(i), 0, 0), v3(float(i), 1, 0), v3(float(i), 0, 1), {}, {}, {});
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(encodeMs3d(m, bytes)); // 66000 vertices
}
