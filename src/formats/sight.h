// Sight lists, "base/maps/<n>/sight.dat": for each stretch of a circuit (from one waypoint to the
// next), the cells of the track's drawn model that can be seen from where the race camera can be
// on that stretch. A city hides most of itself behind the facades along the road; the lists let
// the race leave out the cells the facades hide without drawing them first.
//
// Layout, little-endian:
//   "SGHT"
//   int32   cell size (kModelCellSize when written; another size is refused)
//   float32 reach, below, above: the lists hold for an eye within `reach` of the stretch's line
//           (waypoint to waypoint, in the ground plan), from `below` under it to `above` over
//           it (heights along the line from one waypoint's height to the next's)
//   int32   stretch count, equal to the circuit's waypoint count (stretch i runs from waypoint
//           i to waypoint i + 1, the last back to the first)
//   int32   cell count
//   cells:  int32 mesh, int32 square x, int32 square z, each
//   for each stretch: one bit per cell (cell k in byte k / 8, bit k % 8), set where it is seen
// A cell of the model that the file does not name is always drawn.
#pragma once
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

// The side of the ground-plan squares a large model is cut into for drawing (see Model). Smaller
// cells leave out more that the view cannot see and bring fewer lamps into each, but every cell
// is a draw of its own, with its material and lamps to set, and the software renderer pays for
// each: squares of one and a half street blocks draw the race fastest (measured against 32, 64,
// 128, 256 and 512).
constexpr float kModelCellSize = 96.0f;

// The square a triangle belongs to: the one its corners' mean lies in, in x and z. The generator
// and the game both use this, so both put every triangle in the same cell.
inline void cellSquareOf(const float *a, const float *b, const float *c, int square[2])
{
    float x = 0, z = 0;
    for (const float *p : {a, b, c}) {
        x += p[0] / 3.0f;
        z += p[2] / 3.0f;
    }
    square[0] = int(std::floor(x / kModelCellSize));
    square[1] = int(std::floor(z / kModelCellSize));
}

struct SightCell {
    int mesh;
    int square[2];
};

// Far above any circuit's cells (a few hundred); a larger count is a damaged file.
constexpr int kMaxSightCells = 1 << 16;

struct SightLists {
    float reach = 0, below = 0, above = 0;
    int stretches = 0;
    std::vector<SightCell> cells;
    std::vector<uint8_t> bits; // stretches rows of (cells + 7) / 8 bytes

    size_t rowBytes() const { return (cells.size() + 7) / 8; }
    bool sees(int stretch, size_t cell) const
    {
        return bits[size_t(stretch) * rowBytes() + cell / 8] >> (cell % 8) & 1;
    }
};

// Decodes a whole sight.dat image. False, with `out` emptied, when the tag or the cell size is
// wrong, a count is negative or too large, the cover is not a finite distance, a cell's numbers
// are out of range, or the bytes are fewer or more than the counts promise.
bool parseSight(const unsigned char *bytes, size_t size, SightLists &out);

// Reads a file into `out`; false (and `out` empty) when it is missing or damaged.
bool readSightFile(const char *path, SightLists &out);
