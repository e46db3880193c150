// What the renderer's Model adds to the parser (tests/formats): baking, loading from disk.
#include <gtest/gtest.h>

#include <memory>

#include "render/ms3d.h"
#include "support/ms3d_write.h"

namespace {

bool load(Ms3dModel &model, const Bytes &bytes) { return model.loadFromMemory(bytes.data(), bytes.size()); }

// Whatever the parser accepts of a damaged file, the renderer must bake without faults.
TEST(Ms3dTest, EveryAcceptedCorruptionBakes)
{
    Ms3dLayout layout = quadModel("base/textures/x.tga");
    layout.groups.push_back({{1}, 0xFF});
    Bytes file = makeMs3d(layout);
    auto model = std::make_unique<Ms3dModel>();
    for (size_t at = 0; at < file.size(); at++) {
        Bytes b = file;
        b[at] ^= 0xA5;
        if (load(*model, b)) {
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
    ASSERT_EQ(model->baked.size(), 3u);
    const BakedTriangle &first = model->baked[0]; // triangle 1 through the first mesh
    EXPECT_EQ(first.materialIndex, -1);
    EXPECT_FLOAT_EQ(first.corners[2].position[1], 1.0f);
    EXPECT_FLOAT_EQ(first.centroid[0], (-1.0f + 1.0f - 1.0f) / 3.0f);
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
    EXPECT_EQ(model->baked.size(), size_t(kMaxBakedTriangles));
    EXPECT_FLOAT_EQ(model->baked[kMaxBakedTriangles - 1].corners[2].position[0], -1.0f); // from triangle 1

    layout.groups.pop_back();
    layout.groups[0].triangles.assign(kMaxBakedTriangles, 1);
    ASSERT_TRUE(load(*model, makeMs3d(layout)));
    model->bakeTriangles();
    EXPECT_EQ(model->baked.size(), size_t(kMaxBakedTriangles));
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
    EXPECT_FALSE(model->loadModelData(dir.file("none.ms3d").c_str()));
    EXPECT_EQ(model->numTriangles, 0) << "a refused load leaves nothing of the one before";
    EXPECT_FALSE(model->loadModelData(nullptr));
}

} // namespace
