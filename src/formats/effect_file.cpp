// The effect file reader: fixed layout, every value checked before an emitter divides by it or
// allocates from it.
#include "formats/effect_file.h"
#include "formats/le_bytes.h"
#include "platform/sys_files.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

struct Words {
    const unsigned char *at;
    bool finite = true;

    int32_t word()
    {
        int32_t s = leInt32(at);
        at += 4;
        return s;
    }
    float real()
    {
        float f = leFloat(at);
        at += 4;
        finite = finite && std::isfinite(f);
        return f;
    }
};

} // namespace

bool parseEffect(const unsigned char *bytes, size_t size, EffectParams *out)
{
    if (!bytes || size < kEffectFileSize)
        return false;
    Words in{bytes};
    EffectParams p;
    p.particleCount = in.word();
    in.word(); // an older copy of the blend mode; the last value is the one that counts
    p.maxSize = in.real();
    for (float &g : p.gravity)
        g = in.real();
    for (float &s : p.scale)
        s = in.real();
    p.fadeScale = in.real();
    for (int &s : p.spread)
        s = in.word();
    for (float &o : p.offset)
        o = in.real();
    p.fadeSpread = in.word();
    p.fadeDivisor = in.real();
    p.fadeBase = in.real();
    p.growth = in.real();
    p.startSize = in.real();
    p.energyDecay = in.real();
    p.startLife = in.real();
    p.blendMode = in.word();
    if (p.particleCount < 0 || !in.finite)
        return false;
    if (p.particleCount > kMaxEffectParticles)
        p.particleCount = kMaxEffectParticles;
    // The spreads are moduli of a random number: below 1 that axis simply gets no random part.
    for (int &s : p.spread)
        if (s < 1)
            s = 1;
    if (p.fadeSpread < 1)
        p.fadeSpread = 1;
    // No divisor: no random part in the fade speed, only its base.
    if (p.fadeDivisor == 0) {
        p.fadeSpread = 1;
        p.fadeDivisor = 1;
    }
    *out = p;
    return true;
}

bool readEffectFile(const char *path, EffectParams *out)
{
    FILE *f = Sys_FOpen(path, "rb");
    if (!f)
        return false;
    unsigned char bytes[kEffectFileSize];
    size_t got = std::fread(bytes, 1, sizeof bytes, f);
    std::fclose(f);
    return parseEffect(bytes, got, out);
}
