// Waypoint files, "base/maps/<n>/points/level.ai": a 32-bit count, then five 32-bit integers per
// waypoint (x, y, z, and two values no race logic uses).
#pragma once
#include <cstddef>

struct Waypoint {
    float x, y, z;
    float fourth;
    int fifth;
};

// Far above any circuit we make (about 130 for the longest); a larger count is a damaged file.
constexpr int kMaxWaypoints = 2048;

// Decodes a whole level.ai image. False (and *count = 0) when the count is negative, larger than
// capacity, or promises more records than the bytes hold; extra bytes after the records are ignored.
bool parseWaypoints(const unsigned char *bytes, size_t size, Waypoint *out, int capacity, int *count);

// Reads a file into out; false (and *count = 0) when it is missing or damaged.
bool readWaypointFile(const char *path, Waypoint *out, int capacity, int *count);
