// Effect file reader on arbitrary bytes: whatever it accepts must be safe for an emitter to
// allocate from and divide by.
#include "formats/effect_file.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    EffectParams p;
    if (parseEffect(data, size, &p)) {
        if (p.particleCount < 0 || p.particleCount > kMaxEffectParticles || p.fadeSpread < 1 || p.fadeDivisor == 0)
            std::abort();
        for (int s : p.spread)
            if (s < 1)
                std::abort();
    }
    return 0;
}
