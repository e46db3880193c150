// The generator's model writer refuses a model the format cannot hold rather than write a broken
// file. (What it writes is read back by the game's parser for every model in the 3D content test.)
#include "mesh.h"

#include <gtest/gtest.h>

TEST(ModelWriter, RefusesMoreThanTheFormatHolds)
{
    ModelMesh m;
    int mat = m.material("x", "");
    for (int i = 0; i < 22000; i++)
        m.tri(mat, v3(float(i), 0, 0), v3(float(i), 1, 0), v3(float(i), 0, 1), {}, {}, {});
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(encodeMs3d(m, bytes)); // 66000 vertices
}
