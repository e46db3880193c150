// The buildings reader: the count against the bytes, and every box checked to be a box.
#include "formats/buildings.h"
#include "formats/le_bytes.h"
#include "platform/sys_files.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace {

constexpr size_t kHeaderBytes = 8, kBoxBytes = 40;
// Farther out than any city we make by far; beyond it a number is a damaged one.
constexpr float kFarthest = 100000.0f;

bool isBox(const BuildingBox &b)
{
    for (const float *c : {b.corner[0], b.corner[1], b.corner[2], b.corner[3]})
        for (int k = 0; k < 2; k++)
            if (!(std::fabs(c[k]) <= kFarthest))
                return false;
    if (!(std::fabs(b.bottom) <= kFarthest && std::fabs(b.top) <= kFarthest && b.bottom <= b.top))
        return false;
    // Convex: every corner turns the same way, and none is straight (a box hides what lies
    // behind its outline, which for another footprint would be more than the building).
    int turns = 0;
    for (int i = 0; i < 4; i++) {
        const float *a = b.corner[i], *m = b.corner[(i + 1) % 4], *c = b.corner[(i + 2) % 4];
        // (In double from the start: a difference rounded to float can turn a straight corner.)
        double turn = (double(m[0]) - a[0]) * (double(c[1]) - m[1]) - (double(m[1]) - a[1]) * (double(c[0]) - m[0]);
        if (turn == 0)
            return false;
        turns += turn > 0 ? 1 : -1;
    }
    return turns == 4 || turns == -4;
}

bool parse(const unsigned char *bytes, size_t size, std::vector<BuildingBox> &out)
{
    if (!bytes || size < kHeaderBytes || std::memcmp(bytes, "BLDG", 4) != 0)
        return false;
    uint32_t count = le32(bytes + 4);
    if (count > uint32_t(kMaxBuildings) || size != kHeaderBytes + size_t(count) * kBoxBytes)
        return false;
    out.resize(count);
    const unsigned char *p = bytes + kHeaderBytes;
    for (BuildingBox &b : out) {
        for (int i = 0; i < 4; i++)
            for (int k = 0; k < 2; k++)
                b.corner[i][k] = leFloat(p + 4 * size_t(i * 2 + k));
        b.bottom = leFloat(p + 32);
        b.top = leFloat(p + 36);
        p += kBoxBytes;
        if (!isBox(b))
            return false;
    }
    return true;
}

} // namespace

bool parseBuildings(const unsigned char *bytes, size_t size, std::vector<BuildingBox> &out)
{
    if (parse(bytes, size, out))
        return true;
    out.clear();
    return false;
}

bool readBuildingsFile(const char *path, std::vector<BuildingBox> &out)
{
    out.clear();
    // The largest file the reader takes, and one byte more to see that a file is larger.
    std::vector<unsigned char> bytes(kHeaderBytes + size_t(kMaxBuildings) * kBoxBytes + 1);
    long got = Sys_ReadFile(path, bytes.data(), bytes.size());
    return got >= 0 && parseBuildings(bytes.data(), size_t(got), out);
}
