// Walks the chunks of a RIFF WAVE file the way ALUT's reader does: each chunk's length skipped
// (padded to an even length), until the sound data.
#include "formats/wav_check.h"
#include "formats/le_bytes.h"

#include <cstdint>
#include <cstring>

bool wavChunksFit(const unsigned char *data, size_t size)
{
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    for (size_t at = 12; size - at >= 8;) {
        uint64_t length = le32(data + at + 4);
        if (length > size - at - 8)
            return false;
        if (std::memcmp(data + at, "data", 4) == 0)
            return true;
        at += 8 + size_t(length) + (length & 1);
        if (at > size)
            return true; // the padding byte of the last chunk may be missing: ALUT allows that
    }
    return true; // no sound data: ALUT refuses the file without allocating for it
}
