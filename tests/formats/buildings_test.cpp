// The buildings reader against good and damaged files.
#include "formats/buildings.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <utility>

namespace {

std::vector<BuildingBox> table;

// A square, a trapezoid wound the other way round (either way is a footprint), and a skewed box
// standing below the ground.
const std::vector<BuildingBox> kBoxes = {
    {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0, 12},
    {{{-40, 5}, {-36, 25}, {-24, 25}, {-20, 5}}, 0.5f, 30},
    {{{100.25f, -300}, {130, -290}, {125.5f, -260}, {98, -270}}, -6, -1},
};

// "BLDG", the count (the number of boxes unless told otherwise), then the boxes.
Bytes buildingsFile(const std::vector<BuildingBox> &boxes, uint32_t count)
{
    Bytes b = {'B', 'L', 'D', 'G'};
    put32(b, count);
    for (const BuildingBox &box : boxes) {
        for (const float *c : box.corner)
            for (int k = 0; k < 2; k++)
                putFloat(b, c[k]);
        putFloat(b, box.bottom);
        putFloat(b, box.top);
    }
    return b;
}
Bytes buildingsFile(const std::vector<BuildingBox> &boxes) { return buildingsFile(boxes, uint32_t(boxes.size())); }

// The good file with its second box spoiled: the others stay good, so only that box is wrong.
Bytes withBox(const std::function<void(BuildingBox &)> &spoil)
{
    std::vector<BuildingBox> boxes = kBoxes;
    spoil(boxes[1]);
    return buildingsFile(boxes);
}
Bytes resized(Bytes b, size_t size)
{
    b.resize(size, 0);
    return b;
}

bool read(const TempDir &dir, const Bytes &bytes)
{
    return readBuildingsFile(dir.write("base/maps/1/buildings.dat", bytes).c_str(), table);
}

} // namespace

TEST(Buildings, ReadsBoxesEitherWayRound)
{
    TempDir dir;
    ASSERT_TRUE(read(dir, buildingsFile(kBoxes)));
    ASSERT_EQ(table.size(), kBoxes.size());
    for (size_t i = 0; i < kBoxes.size(); i++)
        EXPECT_EQ(std::memcmp(&table[i], &kBoxes[i], sizeof(BuildingBox)), 0) << "box " << i;
    // The largest file the reader takes, so the file reader's buffer holds all of it; and a
    // circuit with no buildings at all.
    EXPECT_TRUE(read(dir, buildingsFile(std::vector<BuildingBox>(kMaxBuildings, kBoxes[2]))));
    EXPECT_EQ(table.size(), size_t(kMaxBuildings));
    EXPECT_TRUE(read(dir, buildingsFile({})));
    EXPECT_TRUE(table.empty());
}

TEST(Buildings, DamagedFilesLeaveNoBoxes)
{
    TempDir dir;
    const Bytes good = buildingsFile(kBoxes);
    const Bytes crowded = buildingsFile(std::vector<BuildingBox>(kMaxBuildings + 1, kBoxes[0]));
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"wrong tag", [&] { Bytes b = good; b[3] = 'g'; return b; }()},
        {"header cut short", resized(good, 7)},
        {"count past the limit", crowded},
        {"huge count", buildingsFile(kBoxes, 0xFFFFFFFF)},
        {"boxes one byte short", resized(good, good.size() - 1)},
        {"one byte too many", resized(good, good.size() + 1)},
        // Numbers no city has: the comparisons must not let a NaN through.
        {"NaN corner", withBox([&](BuildingBox &b) { b.corner[2][1] = nan; })},
        {"infinite top", withBox([&](BuildingBox &b) { b.top = inf; })},
        {"far corner", withBox([](BuildingBox &b) { b.corner[0][0] = -1e6f; })},
        {"top below bottom", withBox([](BuildingBox &b) { b.top = b.bottom - 0.25f; })},
        // Footprints that are not convex: crossed, dented, and one corner straight.
        {"bow-tie footprint", withBox([](BuildingBox &b) { std::swap(b.corner[1], b.corner[2]); })},
        {"dented footprint", withBox([](BuildingBox &b) { b.corner[2][0] = -30, b.corner[2][1] = 10; })},
        {"three corners in a line", withBox([](BuildingBox &b) { b.corner[1][0] = -32, b.corner[1][1] = 15; })},
        {"a straight corner float rounding would bend",
         buildingsFile({{{{-30000, -90000}, {0x1p-9f, 3 * 0x1p-9f}, {30000, 90000}, {30000, -90000}}, 0, 10}})},
        {"garbage", Bytes(good.size(), 0xA5)},
        {"garbage after a good header", [&] { Bytes b = good; std::fill(b.begin() + 8, b.end(), 0xA5); return b; }()},
    };
    for (const Case &c : cases) {
        // Good boxes first, so a refusal visibly empties the table.
        ASSERT_TRUE(read(dir, good));
        EXPECT_FALSE(read(dir, c.bytes)) << c.what;
        EXPECT_TRUE(table.empty()) << c.what;
    }
    // The file reader stops a byte past the largest good file, which alone refuses that one;
    // given whole, the count's own limit must.
    EXPECT_FALSE(parseBuildings(crowded.data(), crowded.size(), table));
    ASSERT_TRUE(read(dir, good));
    EXPECT_FALSE(readBuildingsFile(dir.file("no_such_dir/buildings.dat").c_str(), table));
    EXPECT_TRUE(table.empty());
}
