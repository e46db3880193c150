// The sight-list reader against good and damaged files.
#include "formats/sight.h"
#include "formats/waypoints.h"
#include "support/file_builders.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

SightLists lists;

// Cell k is in mesh k % 3, square (k % 7 - 3, k / 7); stretch s sees cell k when (k + s) % 3 == 0.
// Squares stay small for any count, so a count past the limit is the only thing wrong with it.
Bytes sightFile(int stretches, int cells)
{
    Bytes b = {'S', 'G', 'H', 'T'};
    put32(b, uint32_t(kModelCellSize));
    for (float f : {60.0f, 4.5f, 25.0f})
        putFloat(b, f);
    put32(b, uint32_t(stretches));
    put32(b, uint32_t(cells));
    for (int k = 0; k < cells; k++)
        for (int v : {k % 3, k % 7 - 3, k / 7})
            put32(b, uint32_t(v));
    for (int s = 0; s < stretches; s++) {
        Bytes row(size_t(cells + 7) / 8);
        for (int k = 0; k < cells; k++)
            if ((k + s) % 3 == 0)
                row[size_t(k) / 8] |= uint8_t(1 << k % 8);
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

// The file with its `index`th 32-bit word (header and cells) replaced.
Bytes withWord(Bytes b, size_t index, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[4 * index + size_t(i)] = uint8_t(v >> 8 * i);
    return b;
}
Bytes withInt(const Bytes &b, size_t index, int v) { return withWord(b, index, uint32_t(v)); }
Bytes withFloat(const Bytes &b, size_t index, float f)
{
    uint32_t v;
    std::memcpy(&v, &f, 4);
    return withWord(b, index, v);
}
Bytes resized(Bytes b, size_t size)
{
    b.resize(size, 0);
    return b;
}

bool read(const TempDir &dir, const Bytes &bytes)
{
    return readSightFile(dir.write("base/maps/1/sight.dat", bytes).c_str(), lists);
}

bool empty() { return lists.stretches == 0 && lists.reach == 0 && lists.cells.empty() && lists.bits.empty(); }

} // namespace

TEST(Sight, ReadsCellsAndRows)
{
    TempDir dir;
    ASSERT_TRUE(read(dir, sightFile(3, 11))); // two bytes a row: cells 8 to 10 in the second
    EXPECT_TRUE(lists.reach == 60.0f && lists.below == 4.5f && lists.above == 25.0f);
    ASSERT_EQ(lists.stretches, 3);
    ASSERT_EQ(lists.cells.size(), 11u);
    ASSERT_EQ(lists.bits.size(), 6u);
    const SightCell &c = lists.cells[10];
    EXPECT_TRUE(c.mesh == 1 && c.square[0] == 0 && c.square[1] == 1);
    const SightCell &d = lists.cells[8];
    EXPECT_TRUE(d.mesh == 2 && d.square[0] == -2 && d.square[1] == 1);
    for (int s = 0; s < 3; s++)
        for (size_t k = 0; k < 11; k++)
            EXPECT_EQ(lists.sees(s, k), (k + size_t(s)) % 3 == 0) << "stretch " << s << ", cell " << k;
    // The limits themselves are good counts, and a circuit may name no cells at all.
    EXPECT_TRUE(read(dir, sightFile(kMaxWaypoints, 1)));
    EXPECT_TRUE(read(dir, sightFile(1, kMaxSightCells)));
    EXPECT_TRUE(read(dir, sightFile(2, 0)));
    EXPECT_TRUE(lists.cells.empty() && lists.bits.empty());
}

TEST(Sight, DamagedFilesLeaveNoLists)
{
    TempDir dir;
    const Bytes good = sightFile(2, 9);
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char *what;
        Bytes bytes;
    } cases[] = {
        {"empty file", {}},
        {"wrong tag", [&] { Bytes b = good; b[3] = 't'; return b; }()},
        {"wrong cell size", withInt(good, 1, 64)},
        {"header cut short", resized(good, 27)},
        {"NaN reach", withFloat(good, 2, std::nanf(""))},
        {"negative below", withFloat(good, 3, -1.0f)},
        {"infinite above", withFloat(good, 4, inf)},
        {"no stretches", sightFile(0, 9)},
        {"negative stretches", withInt(good, 5, -2)},
        {"negative cells", withInt(good, 6, -1)},
        {"stretches past the waypoint table", sightFile(kMaxWaypoints + 1, 9)},
        {"cells past the limit", sightFile(1, kMaxSightCells + 1)},
        {"huge stretches", withInt(good, 5, 0x7FFFFFFF)},
        {"huge cells", withInt(good, 6, 0x7FFFFFFF)},
        {"cells cut short", resized(good, 28 + 5 * 12 + 4)},
        {"rows one byte short", resized(good, good.size() - 1)},
        {"one byte too many", resized(good, good.size() + 1)},
        {"negative mesh", withInt(good, 7 + 3 * 4, -1)},
        {"square far east", withInt(good, 7 + 3 * 2 + 1, (1 << 16) + 1)},
        {"square far south", withInt(good, 7 + 3 * 8 + 2, -(1 << 16) - 1)},
        {"garbage", Bytes(good.size(), 0xA5)},
    };
    for (const Case &c : cases) {
        // Good lists first, so a refusal visibly empties them.
        ASSERT_TRUE(read(dir, good));
        EXPECT_FALSE(read(dir, c.bytes)) << c.what;
        EXPECT_TRUE(empty()) << c.what;
    }
    ASSERT_TRUE(read(dir, good));
    EXPECT_FALSE(readSightFile(dir.file("no_such_dir/sight.dat").c_str(), lists));
    EXPECT_TRUE(empty());
}
