// Waypoint files on arbitrary bytes, into a table of exactly the capacity given: a count the bytes
// cannot hold, or the table cannot take, is refused without a read or write past either.
#include "formats/waypoints.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *file = new uint8_t[size];
    std::memcpy(file, data, size);
    // The game's table, and a small one so the capacity check is reached by small files too.
    for (int capacity : {kMaxWaypoints, 3}) {
        Waypoint *table = new Waypoint[size_t(capacity)];
        int count = -1;
        bool ok = parseWaypoints(file, size, table, capacity, &count);
        if (ok ? count < 0 || count > capacity || 4 + size_t(count) * 20 > size : count != 0)
            std::abort();
        delete[] table;
    }
    delete[] file;
    return 0;
}
