// MilkShape loader and triangle baking on files the tests write themselves.
#include <gtest/gtest.h>

#include <memory>

#include "support/file_builders.h"
#include "render/ms3d.h"
#include "support/temp_dir.h"

namespace {

bool load(Ms3dModel &model, const Bytes &bytes)
{
    // An exact-size heap copy, so the address sanitizer sees any read past the data.
    std::unique_ptr<unsigned char[]> copy(new unsigned char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty())
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    return model.loadFromMemory(copy.get(), bytes.size());
}

void expectEmpty(const Model &m)
{
    EXPECT_EQ(m.numMeshes, 0);
    EXPECT_EQ(m.numMaterials, 0);
    EXPECT_EQ(m.numTriangles, 0);
    EXPECT_EQ(m.numVertices, 0);
    EXPECT_EQ(m.meshes, nullptr);
    EXPECT_EQ(m.materials, nullptr);
    EXPECT_EQ(m.triangles, nullptr);
    EXPECT_EQ(m.vertices, nullptr);
}

TEST(Ms3dTest, QuadLoadsWithFlippedTAndItsMaterial)
{
    auto model = std::make_unique<Ms3dModel>();
    Ms3dLayout layout = quadModel("base/textures/road.bmp");
    layout.vertices[2].bone = 3;
    layout.materials[0].emissive[0] = 0.75f;
    layout.trailer = Bytes(40, 0xEE); // joints and comments are not read
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    ASSERT_EQ(model->numVertices, 4);
    ASSERT_EQ(model->numTriangles, 2);
    ASSERT_EQ(model->numMeshes, 1);
    ASSERT_EQ(model->numMaterials, 1);
    EXPECT_EQ(model->vertices[2].boneId, 3);
    EXPECT_FLOAT_EQ(model->vertices[1].location[0], 1.0f);
    const Triangle &a = model->triangles[0];
    EXPECT_EQ(a.vertexIndices[2], 2);
    EXPECT_FLOAT_EQ(a.t[0], 1.0f); // file t 0
    EXPECT_FLOAT_EQ(a.t[2], 0.0f); // file t 1
    EXPECT_FLOAT_EQ(a.s[1], 1.0f);
    EXPECT_FLOAT_EQ(a.vertexNormals[1][1], 1.25f);
    EXPECT_STREQ(model->materials[0].textureFileName, "base/textures/road.bmp");
    EXPECT_FLOAT_EQ(model->materials[0].emissive[0], 0.75f);
    EXPECT_FLOAT_EQ(model->materials[0].shininess, 8.0f);
    EXPECT_EQ(model->materials[0].texture, 0u);
    EXPECT_EQ(model->meshes[0].materialIndex, 0);
    EXPECT_EQ(model->meshes[0].triangleIndices[1], 1);
}

TEST(Ms3dTest, OnlyVersionsThreeAndFourLoadAndTheyLoadAlike)
{
    Ms3dLayout layout = quadModel("");
    auto three = std::make_unique<Ms3dModel>();
    auto four = std::make_unique<Ms3dModel>();
    layout.version = 3;
    ASSERT_TRUE(load(*three, makeMs3d(layout)));
    layout.version = 4;
    ASSERT_TRUE(load(*four, makeMs3d(layout)));
    ASSERT_EQ(three->numTriangles, four->numTriangles);
    EXPECT_EQ(std::memcmp(three->triangles, four->triangles, sizeof(Triangle) * 2), 0);
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(three->vertices[i].boneId, four->vertices[i].boneId);
        EXPECT_EQ(std::memcmp(three->vertices[i].location, four->vertices[i].location, sizeof(float) * 3), 0);
    }
    for (int v : {2, 5, 0, -1}) {
        auto m = std::make_unique<Ms3dModel>();
        layout.version = v;
        EXPECT_FALSE(load(*m, makeMs3d(layout))) << "version " << v;
        expectEmpty(*m);
    }
}

TEST(Ms3dTest, GroupWithoutMaterialKeepsMinusOne)
{
    Ms3dLayout layout = quadModel("a.bmp");
    layout.groups[0].material = 0xFF;
    auto model = std::make_unique<Ms3dModel>();
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    EXPECT_EQ(model->meshes[0].materialIndex, -1);
}

TEST(Ms3dTest, BadIndicesAndIdsAreRefusedAndLeaveTheModelEmpty)
{
    struct Case {
        const char *what;
        Ms3dLayout layout;
    };
    std::vector<Case> cases;
    auto add = [&](const char *what, auto change) {
        Ms3dLayout s = quadModel("t.bmp");
        change(s);
        cases.push_back({what, s});
    };
    add("vertex index out of range", [](Ms3dLayout &s) { s.triangles[1].v[2] = 4; });
    add("vertex index far out", [](Ms3dLayout &s) { s.triangles[0].v[0] = 65535; });
    add("triangle index out of range", [](Ms3dLayout &s) { s.groups[0].triangles.push_back(2); });
    add("material index at the count", [](Ms3dLayout &s) { s.groups[0].material = 1; });
    add("material index 127", [](Ms3dLayout &s) { s.groups[0].material = 127; });
    add("material refers to none when there are none", [](Ms3dLayout &s) { s.materials.clear(); });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto model = std::make_unique<Ms3dModel>();
        // A model that held data before is emptied by the refused load.
        ASSERT_TRUE(load(*model, makeMs3d(quadModel("t.bmp"))));
        EXPECT_FALSE(load(*model, makeMs3d(c.layout)));
        expectEmpty(*model);
    }

    auto model = std::make_unique<Ms3dModel>();
    Bytes wrongId = makeMs3d(quadModel(""));
    wrongId[4] = 'X';
    EXPECT_FALSE(load(*model, wrongId));
    EXPECT_FALSE(model->loadModelData("/nonexistent/cobalt/model.ms3d"));
    EXPECT_FALSE(model->loadModelData(nullptr));
    expectEmpty(*model);
}

// A count that promises more than the file holds, at each of the four counts.
TEST(Ms3dTest, CountsRunningPastTheEndAreRefused)
{
    Bytes file = makeMs3d(quadModel("t.bmp"));
    size_t vertexCount = 14;
    size_t triangleCount = vertexCount + 2 + 4 * 15;
    size_t groupCount = triangleCount + 2 + 2 * 70;
    size_t groupTriangleCount = groupCount + 2 + 1 + 32;
    size_t materialCount = groupTriangleCount + 2 + 2 * 2 + 1;
    ASSERT_EQ(materialCount + 2 + 361, file.size());
    for (size_t at : {vertexCount, triangleCount, groupCount, groupTriangleCount, materialCount}) {
        for (unsigned v : {0xFFFFu, 0x0100u}) {
            SCOPED_TRACE(testing::Message() << "count at " << at << " = " << v);
            Bytes b = file;
            b[at] = v & 0xFF;
            b[at + 1] = (v >> 8) & 0xFF;
            auto model = std::make_unique<Ms3dModel>();
            EXPECT_FALSE(load(*model, b));
            expectEmpty(*model);
        }
    }
}

TEST(Ms3dTest, EveryTruncationIsRefusedAndEveryCorruptionIsSafe)
{
    Ms3dLayout layout = quadModel("base/textures/x.tga");
    layout.groups.push_back({{1}, 0xFF});
    Bytes file = makeMs3d(layout);
    auto model = std::make_unique<Ms3dModel>();
    for (size_t n = 0; n < file.size(); n++) {
        EXPECT_FALSE(load(*model, Bytes(file.begin(), file.begin() + n))) << "first " << n << " bytes";
        expectEmpty(*model);
    }
    for (size_t at = 0; at < file.size(); at++) {
        Bytes b = file;
        b[at] ^= 0xA5;
        if (load(*model, b)) { // whatever loads must be drawable and bakeable without faults
            model->bakeTriangles();
            for (int m = 0; m < model->numMeshes; m++)
                EXPECT_LT(model->meshes[m].materialIndex, model->numMaterials);
        }
    }
}

TEST(Ms3dTest, BakingFollowsMeshOrderWithCentroidsAndFlippedT)
{
    Ms3dLayout layout = quadModel("t.bmp");
    layout.groups = {{{1}, 0xFF}, {{0, 1}, 0}};
    auto model = std::make_unique<Ms3dModel>();
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    model->bakeTriangles();
    ASSERT_EQ(model->numBakedTriangles, 3);
    const BakedTriangle &first = model->baked[0]; // triangle 1 through the first mesh
    EXPECT_EQ(first.materialIndex, -1);
    EXPECT_FLOAT_EQ(first.corners[2].position[0], -1.0f);
    EXPECT_FLOAT_EQ(first.corners[2].position[1], 1.0f);
    EXPECT_FLOAT_EQ(first.centroid[0], (-1.0f + 1.0f - 1.0f) / 3.0f);
    EXPECT_FLOAT_EQ(first.centroid[1], (-1.0f + 1.0f + 1.0f) / 3.0f);
    EXPECT_FLOAT_EQ(first.corners[1].texCoord[1], 0.0f); // file t 1
    EXPECT_FLOAT_EQ(first.corners[2].normal[0], 0.5f);
    EXPECT_EQ(model->baked[1].materialIndex, 0);
    EXPECT_FLOAT_EQ(model->baked[2].corners[1].texCoord[0], 1.0f);
}

TEST(Ms3dTest, BakingStopsAtTheTableSize)
{
    Ms3dLayout layout = quadModel("");
    layout.groups[0].triangles.assign(kMaxBakedTriangles - 1, 0);
    layout.groups.push_back({std::vector<unsigned>(3000, 1), 0});
    auto model = std::make_unique<Ms3dModel>();
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    model->bakeTriangles();
    EXPECT_EQ(model->numBakedTriangles, kMaxBakedTriangles);
    EXPECT_FLOAT_EQ(model->baked[kMaxBakedTriangles - 1].corners[2].position[0], -1.0f); // from triangle 1

    layout.groups.pop_back();
    layout.groups[0].triangles.assign(kMaxBakedTriangles, 1);
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    model->bakeTriangles();
    EXPECT_EQ(model->numBakedTriangles, kMaxBakedTriangles);
}

TEST(Ms3dTest, LoadsFromDiskAndASecondLoadReplacesTheFirst)
{
    TempDir dir;
    Ms3dLayout small = quadModel("");
    small.triangles.pop_back();
    small.groups[0].triangles = {0};
    std::string a = dir.write("a.ms3d", makeMs3d(quadModel("t.bmp")));
    std::string b = dir.write("b.ms3d", makeMs3d(small));
    auto model = std::make_unique<Ms3dModel>();
    ASSERT_TRUE(model->loadModelData(a.c_str()));
    EXPECT_EQ(model->numTriangles, 2);
    ASSERT_TRUE(model->loadModelData(b.c_str()));
    EXPECT_EQ(model->numTriangles, 1);
    EXPECT_EQ(model->numMaterials, 1);
    EXPECT_STREQ(model->materials[0].textureFileName, "");
}

} // namespace
