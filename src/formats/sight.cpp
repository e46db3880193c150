// The sight-list reader: every count and every number is checked before it is used.
#include "formats/sight.h"
#include "formats/waypoints.h"
#include "platform/sys_files.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t readWord(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t readInt(const unsigned char *p)
{
    uint32_t v = readWord(p);
    int32_t s;
    std::memcpy(&s, &v, 4);
    return s;
}

float readFloat(const unsigned char *p)
{
    uint32_t v = readWord(p);
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

// A cover distance: finite, not negative, and no larger than a city.
bool plausibleDistance(float d) { return std::isfinite(d) && d >= 0 && d <= 10000; }

// Squares farther out than this would put a cell millions of units from the city.
constexpr int32_t kFarthestSquare = 1 << 16;

constexpr size_t kHeaderBytes = 4 * 7;

bool parse(const unsigned char *bytes, size_t size, SightLists &out)
{
    if (!bytes || size < kHeaderBytes || std::memcmp(bytes, "SGHT", 4) != 0)
        return false;
    if (readInt(bytes + 4) != int32_t(kModelCellSize))
        return false;
    out.reach = readFloat(bytes + 8);
    out.below = readFloat(bytes + 12);
    out.above = readFloat(bytes + 16);
    if (!plausibleDistance(out.reach) || !plausibleDistance(out.below) || !plausibleDistance(out.above))
        return false;
    int32_t stretches = readInt(bytes + 20), cells = readInt(bytes + 24);
    if (stretches <= 0 || stretches > kMaxWaypoints || cells < 0 || cells > kMaxSightCells)
        return false;
    size_t row = (size_t(cells) + 7) / 8;
    if (size != kHeaderBytes + size_t(cells) * 12 + size_t(stretches) * row)
        return false;
    out.stretches = stretches;
    out.cells.resize(size_t(cells));
    const unsigned char *p = bytes + kHeaderBytes;
    for (SightCell &c : out.cells) {
        c.mesh = readInt(p);
        c.square[0] = readInt(p + 4);
        c.square[1] = readInt(p + 8);
        p += 12;
        if (c.mesh < 0 || c.mesh > 0xFFFF)
            return false;
        for (int s : c.square)
            if (s < -kFarthestSquare || s > kFarthestSquare)
                return false;
    }
    out.bits.assign(p, p + size_t(stretches) * row);
    return true;
}

} // namespace

bool parseSight(const unsigned char *bytes, size_t size, SightLists &out)
{
    if (parse(bytes, size, out))
        return true;
    out = SightLists{};
    return false;
}

bool readSightFile(const char *path, SightLists &out)
{
    out = SightLists{};
    FILE *f = Sys_FOpen(path, "rb");
    if (!f)
        return false;
    // The largest file the reader accepts, and one byte more to see that a file is larger.
    const size_t limit = kHeaderBytes + size_t(kMaxSightCells) * 12 +
                         size_t(kMaxWaypoints) * (size_t(kMaxSightCells) / 8) + 1;
    std::vector<unsigned char> bytes;
    unsigned char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && bytes.size() < limit)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(f);
    return parseSight(bytes.data(), bytes.size(), out);
}
