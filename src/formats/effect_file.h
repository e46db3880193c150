// Particle effect files, "base/effects/*.eff": 24 little-endian 32-bit values, ints and floats,
// in the order of the fields below. The second value of the file is read and ignored (an old
// copy of the blend mode, which the last value gives).
#pragma once
#include <cstddef>

struct EffectParams {
    int particleCount;
    float maxSize;          // a particle grows while its size is below this
    float gravity[3];       // added to the velocity every sub-step
    float scale[3];         // velocity to movement, per axis
    float fadeScale;        // factor on the fade speed
    int spread[3];          // modulus of the random birth velocity, per axis; at least 1
    float offset[3];        // subtracted from the random birth velocity
    int fadeSpread;         // modulus of the random fade speed; at least 1
    float fadeDivisor;      // divisor of the random fade speed; never 0
    float fadeBase;         // added to the random fade speed
    float growth;           // size added per sub-step
    float startSize;
    float energyDecay;      // taken from the energy per sub-step while it is above 0
    float startLife;        // life at birth: the emitter's intensity
    int blendMode;          // 1 adds light, anything else covers what is behind
};

constexpr size_t kEffectFileSize = 24 * 4;
// Far above any pool we make. A bigger count is a damaged file; it is cut down to this rather
// than refused, so the effect still shows without a huge allocation.
constexpr int kMaxEffectParticles = 800;

// Decodes an effect file image. False when it holds fewer than 24 values, a negative particle
// count or a value that is not a finite number; bytes after the 24 values are ignored. A larger
// count is capped at kMaxEffectParticles; spreads below 1 become 1 (no random term on that
// axis); a fade divisor of 0 drops the random term of the fade speed.
bool parseEffect(const unsigned char *bytes, size_t size, EffectParams *out);

// Reads and decodes a file; false when it is missing or damaged.
bool readEffectFile(const char *path, EffectParams *out);
