// Small signal-processing kit for the sound generator. Everything is plain float maths with a
// seeded generator of our own, so the same build writes the same bytes on every run.
#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

constexpr float kPi = 3.14159265358979f;
constexpr float kTwoPi = 6.28318530717959f;

// PCG32: small, fast and identical everywhere (the standard library's distributions are not).
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 6364136223846793005ull + 1442695040888963407ull) { next(); }
    uint32_t next()
    {
        uint64_t old = state;
        state = old * 6364136223846793005ull + 1442695040888963407ull;
        uint32_t x = uint32_t(((old >> 18) ^ old) >> 27);
        uint32_t r = uint32_t(old >> 59);
        return (x >> r) | (x << ((32 - r) & 31));
    }
    float uniform() { return float(next() >> 8) * (1.0f / 16777216.0f); }  // [0, 1)
    float bipolar() { return uniform() * 2.0f - 1.0f; }                    // [-1, 1)
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    int below(int n) { return int(next() % uint32_t(n)); }
};

// Transposed direct form II biquad; coefficients from the usual audio-EQ formulas.
struct Biquad {
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float z1 = 0, z2 = 0;
    float run(float x)
    {
        float y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
};
enum class BiquadKind { LowPass, HighPass, BandPass, Peak };
Biquad makeBiquad(BiquadKind kind, float rate, float freq, float q, float gainDb = 0.0f);

// One-pole smoother used for cheap tone shaping and envelopes.
struct OnePole {
    float a = 0, y = 0;
    void setCutoff(float rate, float freq) { a = 1.0f - std::exp(-kTwoPi * freq / rate); }
    float lowpass(float x) { return y += a * (x - y); }
    float highpass(float x) { return x - lowpass(x); }
};

// Chamberlin-style state variable filter with a cutoff that may move every sample.
struct Svf {
    float low = 0, band = 0;
    // Returns the low-pass output; band-pass is left in `band`.
    float run(float x, float rate, float cutoff, float resonance)
    {
        // 2 sin(pi fc / rate) by its series: the cutoff moves every sample and sin is costly.
        float w = kPi * std::fmin(cutoff, rate * 0.2f) / rate;
        float f = 2.0f * w * (1.0f - w * w * (1.0f / 6.0f));
        float q = 1.0f / resonance;
        low += f * band;
        float high = x - low - q * band;
        band += f * high;
        return low;
    }
};

// Exponential decay from 1 with time constant `seconds`, one multiply per sample.
struct Decay {
    float v = 1.0f, m = 0.0f;
    Decay(float seconds, float rate) : m(std::exp(-1.0f / (seconds * rate))) {}
    float next()
    {
        float r = v;
        v *= m;
        return r;
    }
};

// Band-limited step correction for the sawtooth and pulse oscillators.
inline float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float peakOf(const std::vector<float> &x);
float rmsOf(const std::vector<float> &x);
void scaleTo(std::vector<float> &x, float gain);
// Scales so that the peak is `peak` (linear).
void normalisePeak(std::vector<float> &x, float peak);
// Removes DC and sub-audible rumble with a gentle high-pass.
void dcBlock(std::vector<float> &x, float rate, float freq = 18.0f);
// Rounds to 16 bits with clamping (the callers keep their peaks below full scale).
std::vector<int16_t> toPcm16(const std::vector<float> &x);
