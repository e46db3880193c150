// Career files on arbitrary bytes: whatever the decoder takes must be a career the menus can show
// and the booking can add to without overflowing, and must come back unchanged through a save and
// a load.
#include "formats/data_files.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

static bool playable(const Career &c)
{
    bool ok = c.racesOpen >= 1 && c.racesOpen <= 15 && c.careerPoints >= 0 && c.careerPoints <= kCareerValueLimit &&
              c.cash >= 0 && c.cash <= kCareerValueLimit;
    for (const auto &slot : c.raceSlot)
        ok = ok && slot.bestPlace >= 0 && slot.bestPlace <= 4;
    for (const auto &car : c.tuningBought)
        for (int k : car)
            ok = ok && (k == 0 || k == 1);
    return ok;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    uint8_t *file = new uint8_t[size]; // exactly the file's bytes, so a read past them is caught
    std::memcpy(file, data, size);
    Career c;
    std::memset(&c, 0, sizeof c);
    unsigned found = decodeCareerFile(file, size, &c);
    delete[] file;
    bool ok = ((found & DATA_FILE_SHORT) != 0) == (size < kCareerFileSize);
    if (!(found & DATA_FILE_SHORT)) {
        unsigned char saved[kCareerFileSize];
        encodeCareerFile(c, saved);
        Career again;
        std::memset(&again, 0, sizeof again);
        ok = ok && playable(c) && decodeCareerFile(saved, sizeof saved, &again) == 0 &&
             std::memcmp(&again, &c, sizeof c) == 0;
    }
    if (!ok)
        std::abort();
    return 0;
}
