// The waypoint reader against good and damaged files.
#include "formats/waypoints.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

Waypoint waypoints[kMaxWaypoints];
int waypointCount;

// A count, then five words a record: x, y, z, the fourth value and the fifth.
std::vector<unsigned char> waypointFile(int count, int records)
{
    std::vector<unsigned char> b = words({count});
    for (int i = 0; i < records; i++) {
        std::vector<unsigned char> r = words({-100 + i, -4, 200 - 2 * i, 7, -9});
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

bool read(const TempDir &dir, const std::vector<unsigned char> &bytes)
{
    return readWaypointFile(dir.write("level.ai", bytes).c_str(), waypoints, kMaxWaypoints, &waypointCount);
}

TEST(Waypoints, ReadsRecordsAsWholeUnits)
{
    TempDir dir;
    std::vector<unsigned char> b = waypointFile(3, 3);
    b.push_back(0xAB); // a stray byte after the records is ignored
    ASSERT_TRUE(read(dir, b));
    ASSERT_EQ(waypointCount, 3);
    const Waypoint &w = waypoints[2];
    EXPECT_TRUE(w.x == -98.0f && w.y == -4.0f && w.z == 196.0f && w.fourth == 7.0f && w.fifth == -9);
    EXPECT_TRUE(read(dir, waypointFile(0, 0))); // an empty table is a table
    EXPECT_EQ(waypointCount, 0);
}

TEST(Waypoints, DamagedFilesLeaveAnEmptyTable)
{
    TempDir dir;
    struct Case {
        const char *what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"empty file", {}},
        {"count cut short", {5, 0}},
        {"records cut short", waypointFile(4, 3)},
        {"last record cut short", [] { auto b = waypointFile(2, 2); b.pop_back(); return b; }()},
        {"negative count", waypointFile(-1, 2)},
        {"count beyond the table", waypointFile(kMaxWaypoints + 1, kMaxWaypoints + 1)},
        {"huge count", waypointFile(0x7FFFFFFF, 2)},
        {"garbage", std::vector<unsigned char>(37, 0xFF)},
    };
    for (const Case &c : cases) {
        // A good table first, so a refusal visibly empties it.
        ASSERT_TRUE(read(dir, waypointFile(2, 2)));
        EXPECT_FALSE(read(dir, c.bytes)) << c.what;
        EXPECT_EQ(waypointCount, 0) << c.what;
    }
    EXPECT_FALSE(readWaypointFile(dir.file("no_such_dir/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
    EXPECT_EQ(waypointCount, 0);
}

} // namespace
