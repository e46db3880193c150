// The circuit's buildings as solid boxes, "base/maps/<n>/buildings.dat": what the race view
// can leave undrawn behind them. Each box lies inside a building of the drawn model (its walls
// and roof enclose it), so whatever a box hides from an eye, the building hides too.
//
// Layout, little-endian: "BLDG", an int32 count, then per box eight float32s, the corners of its
// footprint (x, z) in order round it, and two more, the heights of its bottom and top.
#pragma once
#include <cstddef>
#include <vector>

struct BuildingBox {
    float corner[4][2]; // x, z, in order round a convex footprint
    float bottom, top;
};

// Far above the buildings of any circuit we make (about 480 for the largest).
constexpr int kMaxBuildings = 8192;

// Decodes a whole buildings.dat image. False, with `out` emptied, when the tag is wrong, the count
// is negative, too large or promises other than the bytes hold, or a box is not a box: a number
// that is not finite or lies beyond the city's reach, a top below its bottom, a footprint that is
// not convex (its corners must turn one way round, none of them straight).
bool parseBuildings(const unsigned char *bytes, size_t size, std::vector<BuildingBox> &out);

// Reads a file into `out`; false (and `out` empty) when it is missing or damaged.
bool readBuildingsFile(const char *path, std::vector<BuildingBox> &out);
