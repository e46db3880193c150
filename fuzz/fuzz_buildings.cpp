// Buildings files on arbitrary bytes: a file is taken only when its count accounts for every byte
// of it and each box stands the right way up, and a refused one leaves no boxes behind, whatever
// the table held before.
#include "formats/buildings.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *file = new uint8_t[size];
    std::memcpy(file, data, size);
    std::vector<BuildingBox> boxes(2, BuildingBox{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}, 0, 1});
    if (parseBuildings(file, size, boxes)) {
        if (boxes.size() > size_t(kMaxBuildings) || size != 8 + 40 * boxes.size())
            std::abort();
        for (const BuildingBox &b : boxes)
            if (!(std::isfinite(b.bottom) && std::isfinite(b.top) && b.bottom <= b.top))
                std::abort();
    } else if (!boxes.empty()) {
        std::abort();
    }
    delete[] file;
    return 0;
}
