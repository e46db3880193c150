// The waypoint reader: every count is checked against the bytes actually read.
#include "formats/waypoints.h"
#include "formats/le_bytes.h"
#include "platform/sys_files.h"

#include <cstdint>
#include <vector>

bool parseWaypoints(const unsigned char *bytes, size_t size, Waypoint *out, int capacity, int *count)
{
    *count = 0;
    if (!bytes || size < 4)
        return false;
    int32_t n = leInt32(bytes);
    if (n < 0 || n > capacity)
        return false;
    if ((size - 4) / 20 < size_t(n))
        return false;
    for (int32_t i = 0; i < n; i++) {
        const unsigned char *r = bytes + 4 + size_t(i) * 20;
        // Coordinates are whole world units stored as integers.
        out[i].x = float(leInt32(r));
        out[i].y = float(leInt32(r + 4));
        out[i].z = float(leInt32(r + 8));
        out[i].fourth = float(leInt32(r + 12));
        out[i].fifth = leInt32(r + 16);
    }
    *count = n;
    return true;
}

bool readWaypointFile(const char *path, Waypoint *out, int capacity, int *count)
{
    *count = 0;
    if (capacity < 0)
        return false;
    // Read at most one record more than the table holds: enough to see a file is too big.
    std::vector<unsigned char> bytes(4 + size_t(capacity + 1) * 20);
    long got = Sys_ReadFile(path, bytes.data(), bytes.size());
    return got >= 0 && parseWaypoints(bytes.data(), size_t(got), out, capacity, count);
}
