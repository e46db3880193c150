#include "dsp.h"

#include <algorithm>

Biquad makeBiquad(BiquadKind kind, float rate, float freq, float q, float gainDb)
{
    float w = kTwoPi * freq / rate;
    float cw = std::cos(w), sw = std::sin(w);
    float alpha = sw / (2.0f * q);
    float a0 = 1, a1 = 0, a2 = 0, b0 = 1, b1 = 0, b2 = 0;
    switch (kind) {
    case BiquadKind::LowPass:
        b0 = (1 - cw) / 2; b1 = 1 - cw; b2 = b0;
        a0 = 1 + alpha; a1 = -2 * cw; a2 = 1 - alpha;
        break;
    case BiquadKind::HighPass:
        b0 = (1 + cw) / 2; b1 = -(1 + cw); b2 = b0;
        a0 = 1 + alpha; a1 = -2 * cw; a2 = 1 - alpha;
        break;
    case BiquadKind::BandPass:  // peak gain 1 at the centre
        b0 = alpha; b1 = 0; b2 = -alpha;
        a0 = 1 + alpha; a1 = -2 * cw; a2 = 1 - alpha;
        break;
    case BiquadKind::Peak: {
        float A = std::pow(10.0f, gainDb / 40.0f);
        b0 = 1 + alpha * A; b1 = -2 * cw; b2 = 1 - alpha * A;
        a0 = 1 + alpha / A; a1 = -2 * cw; a2 = 1 - alpha / A;
        break;
    }
    }
    Biquad f;
    f.b0 = b0 / a0; f.b1 = b1 / a0; f.b2 = b2 / a0;
    f.a1 = a1 / a0; f.a2 = a2 / a0;
    return f;
}

float peakOf(const std::vector<float> &x)
{
    float p = 0;
    for (float v : x)
        p = std::max(p, std::fabs(v));
    return p;
}

float rmsOf(const std::vector<float> &x)
{
    double s = 0;
    for (float v : x)
        s += double(v) * v;
    return x.empty() ? 0.0f : float(std::sqrt(s / double(x.size())));
}

void scaleTo(std::vector<float> &x, float gain)
{
    for (float &v : x)
        v *= gain;
}

void normalisePeak(std::vector<float> &x, float peak)
{
    float p = peakOf(x);
    if (p > 0)
        scaleTo(x, peak / p);
}

void dcBlock(std::vector<float> &x, float rate, float freq)
{
    Biquad hp = makeBiquad(BiquadKind::HighPass, rate, freq, 0.7071f);
    for (float &v : x)
        v = hp.run(v);
}

std::vector<int16_t> toPcm16(const std::vector<float> &x)
{
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); i++) {
        long v = std::lround(x[i] * 32767.0f);
        out[i] = int16_t(std::clamp(v, -32767L, 32767L));
    }
    return out;
}
