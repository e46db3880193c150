// Controls file reader on arbitrary bytes: whatever it accepts holds only bindings the game can
// act on, and writes back to the very same bytes.
#include "formats/controls_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ControlBindings c;
    if (parseControls(data, size, &c)) {
        for (int a = 0; a < ACTION_COUNT; a++)
            for (int s = 0; s < kBindingSlots; s++)
                if (!validBinding(c.slot[a][s], s))
                    std::abort();
        unsigned char again[kControlsFileSize];
        encodeControls(c, again);
        if (size != kControlsFileSize || std::memcmp(again, data, size) != 0)
            std::abort();
    }
    return 0;
}
