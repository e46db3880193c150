// The waypoint reader against good and damaged files, and the model writer read back by the game's
// model loader.
#include "mesh.h"
#include "game_model.h"
#include "formats/waypoints.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

Waypoint waypoints[kMaxWaypoints];
int waypointCount;


std::vector<unsigned char> waypointFile(int count, int records)
{
    std::vector<unsigned char> b;
    auto put = [&](int32_t v) {
        for (int i = 0; i < 4; i++)
            b.push_back((unsigned char)(uint32_t(v) >> (8 * i)));
    };
    put(count);
    for (int i = 0; i < records; i++) {
        put(-100 + i);
        put(-4);
        put(200 - 2 * i);
        put(7);
        put(-9);
    }
    return b;
}

std::string writeTemp(const std::vector<unsigned char> &bytes)
{
    std::string path = testing::TempDir() + "/level_test.ai";
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

} // namespace

TEST(Waypoints, ReadsRecordsAsWholeUnits)
{
    std::vector<unsigned char> b = waypointFile(3, 3);
    b.push_back(0xAB); // a stray byte after the records is ignored
    ASSERT_TRUE(readWaypointFile(writeTemp(b).c_str(), waypoints, kMaxWaypoints, &waypointCount));
    ASSERT_EQ(waypointCount, 3);
    EXPECT_EQ(waypoints[2].x, -98.0f);
    EXPECT_EQ(waypoints[2].y, -4.0f);
    EXPECT_EQ(waypoints[2].z, 196.0f);
    EXPECT_EQ(waypoints[2].fourth, 7.0f);
    EXPECT_EQ(waypoints[2].fifth, -9);
}

TEST(Waypoints, DamagedFilesLeaveAnEmptyTable)
{
    struct Case {
        const char *what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"empty file", {}},
        {"count cut short", {5, 0}},
        {"records cut short", waypointFile(4, 3)},
        {"last record cut short", [] { auto b = waypointFile(2, 2); b.pop_back(); return b; }()},
        {"negative count", waypointFile(-1, 2)},
        {"count beyond the table", waypointFile(kMaxWaypoints + 1, 2)},
        {"huge count", waypointFile(0x7FFFFFFF, 2)},
        {"garbage", std::vector<unsigned char>(37, 0xFF)},
    };
    for (const Case &c : cases) {
        // A good table first, so a refusal visibly empties it.
        ASSERT_TRUE(readWaypointFile(writeTemp(waypointFile(2, 2)).c_str(), waypoints, kMaxWaypoints, &waypointCount));
        EXPECT_FALSE(readWaypointFile(writeTemp(c.bytes).c_str(), waypoints, kMaxWaypoints, &waypointCount)) << c.what;
        EXPECT_EQ(waypointCount, 0) << c.what;
    }
    EXPECT_FALSE(readWaypointFile((testing::TempDir() + "/no_such_dir/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
    EXPECT_EQ(waypointCount, 0);
    EXPECT_TRUE(readWaypointFile(writeTemp(waypointFile(0, 0)).c_str(), waypoints, kMaxWaypoints, &waypointCount)); // an empty table is a table
    EXPECT_EQ(waypointCount, 0);
}

TEST(Waypoints, ParseStopsAtTheCallersCapacity)
{
    std::vector<unsigned char> b = waypointFile(5, 5);
    Waypoint out[4];
    int n = -1;
    EXPECT_FALSE(parseWaypoints(b.data(), b.size(), out, 4, &n));
    EXPECT_EQ(n, 0);
    Waypoint big[5];
    EXPECT_TRUE(parseWaypoints(b.data(), b.size(), big, 5, &n));
    EXPECT_EQ(n, 5);
    EXPECT_FALSE(parseWaypoints(nullptr, 0, big, 5, &n));
}

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
    TestModel t;
    ASSERT_TRUE(parseGameModel(bytes, t));
    EXPECT_EQ(t.vertices.size(), 7u); // the quad's corners are shared by its two triangles
    ASSERT_EQ(t.triangles.size(), 3u);
    ASSERT_EQ(t.groups.size(), 2u);
    EXPECT_EQ(t.groups[0].triangles.size(), 2u);
    EXPECT_EQ(t.materials[1].emissive[1], 0.6f);
    EXPECT_EQ(t.materials[0].texture, "base/textures/world/road.bmp");
    // Texture t is written from the image's top and flipped by the loader.
    EXPECT_FLOAT_EQ(t.triangles[0].t[2], 0.75f);
    // The lamp triangle's centroid is where the light goes.
    const auto &lt = t.triangles[size_t(t.groups[1].triangles[0])];
    float cx = 0;
    for (int k = 0; k < 3; k++)
        cx += t.vertices[size_t(lt.v[k])].p[0] / 3;
    EXPECT_FLOAT_EQ(cx, 1.0f);
    // Every truncation of a good file is refused.
    for (size_t cut = 0; cut + 14 < bytes.size(); cut += 7) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + long(cut));
        EXPECT_FALSE(parseGameModel(part, t)) << cut;
    }
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
