// Sight lists on arbitrary bytes: a file is taken only when its counts account for every byte of
// it, and a refused one leaves no lists behind, whatever the lists held before.
#include "formats/sight.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *file = new uint8_t[size];
    std::memcpy(file, data, size);
    SightLists lists;
    lists.reach = 1;
    lists.stretches = 2;
    lists.cells.resize(3);
    lists.bits.resize(2);
    if (parseSight(file, size, lists)) {
        size_t rows = size_t(lists.stretches) * lists.rowBytes();
        if (lists.stretches <= 0 || size != 28 + lists.cells.size() * 12 + rows || lists.bits.size() != rows)
            std::abort();
        // The last cell of every row, so a row laid out wrongly reads past the bits.
        int seen = 0;
        for (int s = 0; s < lists.stretches && !lists.cells.empty(); s++)
            seen += lists.sees(s, lists.cells.size() - 1);
        if (seen > lists.stretches)
            std::abort();
    } else if (lists.stretches != 0 || lists.reach != 0 || !lists.cells.empty() || !lists.bits.empty()) {
        std::abort();
    }
    delete[] file;
    return 0;
}
