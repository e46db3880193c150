// The sixteen sound samples. Loops are built from sources that repeat exactly over the loop
// length (firing patterns, noise tables and modulation curves indexed modulo the length) and
// are filtered over two laps, keeping the second: the filters then end the loop in the state
// they start it in, so the last sample runs into the first like any other pair.
#include "genaudio.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<float> noiseTable(int n, Rng &rng)
{
    std::vector<float> t(static_cast<size_t>(n));
    for (float &v : t)
        v = rng.bipolar();
    return t;
}

// A smooth random curve through `points` values in [lo, hi] that wraps around after n samples.
std::vector<float> periodicCurve(int n, int points, Rng &rng, float lo, float hi)
{
    std::vector<float> knots(static_cast<size_t>(points));
    for (float &k : knots)
        k = rng.range(lo, hi);
    std::vector<float> c(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        float pos = float(i) * float(points) / float(n);
        int a = int(pos);
        float f = pos - float(a);
        float w = 0.5f - 0.5f * std::cos(kPi * f);
        c[size_t(i)] = knots[size_t(a % points)] * (1 - w) + knots[size_t((a + 1) % points)] * w;
    }
    return c;
}

template <class Chain> std::vector<float> runCyclic(int n, Chain chain)
{
    std::vector<float> out(static_cast<size_t>(n));
    for (int lap = 0; lap < 2; lap++)
        for (int i = 0; i < n; i++)
            out[size_t(i)] = chain(i);
    return out;
}

// Level for loops: by RMS so the game's gain curves mean the same for all of them, with the
// peak kept below full scale.
void levelLoop(std::vector<float> &x, float rms, float maxPeak = 0.92f)
{
    float r = rmsOf(x);
    if (r > 0)
        scaleTo(x, rms / r);
    float p = peakOf(x);
    if (p > maxPeak)
        scaleTo(x, maxPeak / p);
}

// A short fade at the end of a one-shot so the last sample is silence, not a cut.
void fadeTail(std::vector<float> &x, int rate, float seconds = 0.01f)
{
    int n = std::min(int(x.size()), int(seconds * float(rate)));
    for (int i = 0; i < n; i++)
        x[x.size() - 1 - size_t(i)] *= float(i) / float(n);
}

// ---- engines ----------------------------------------------------------------------------

struct Formant { float freq, q, gainDb; };

struct EngineDesign {
    int period;            // samples between firings
    int firings;           // firings in one turn of the firing order
    float strength[8];     // pulse strength of each firing in order
    float offset[8];       // firing time offset, fraction of a period (uneven crank)
    float pulseTau;        // pulse rise time, fraction of a period
    float roar;            // combustion noise riding on each pulse
    float variation;       // random spread of pulse strength from firing to firing
    float misfire;         // share of firings that hardly burn (off-throttle burble)
    Formant pipe[3];       // exhaust and intake resonances
    float tone;            // low-pass over the whole sound, Hz
    float drive;           // soft saturation
    float crackle;         // pops per second from unburnt fuel in the exhaust
    float level;           // RMS of the finished loop
    uint64_t seed;
};

const EngineDesign engineDesigns[5] = {
    // en1: the player's four: even, punchy, a throaty pipe a little above the third harmonic.
    {kPeriodEn1, 4, {1, 0.9f, 0.96f, 0.88f}, {0, 0, 0, 0}, 0.14f, 0.35f, 0.05f, 0,
     {{330, 3.5f, 8}, {820, 3, 6}, {1900, 2, 3}}, 3600, 1.8f, 0, 0.16f, 101},
    // en2: a deep eight with uneven bank firing: burble under the note.
    {kPeriodEn2, 8, {1, 0.72f, 0.95f, 0.66f, 1, 0.78f, 0.9f, 0.7f},
     {0, 0.07f, -0.04f, 0.09f, 0, 0.06f, -0.05f, 0.08f}, 0.17f, 0.3f, 0.06f, 0,
     {{190, 3, 6}, {440, 4, 7}, {1100, 2, 2}}, 2400, 2.2f, 0, 0.16f, 202},
    // en3: a smooth six: little spread, higher and brighter resonances.
    {kPeriodEn3, 6, {1, 0.97f, 0.99f, 0.96f, 1, 0.98f}, {0, 0, 0, 0, 0, 0}, 0.12f, 0.2f, 0.02f, 0,
     {{560, 5, 8}, {1250, 4, 6}, {2600, 3, 4}}, 4600, 1.4f, 0, 0.16f, 303},
    // en4: a raspy two-pulse engine: sharp pulses, noisy, hard-driven.
    {kPeriodEn4, 2, {1, 0.92f}, {0, 0}, 0.10f, 0.55f, 0.08f, 0,
     {{740, 6, 8}, {1500, 5, 6}, {3100, 3, 4}}, 5500, 3.0f, 0, 0.15f, 404},
    // en_pass: the player's four off throttle: soft, irregular, darker, popping.
    {kPeriodEn1, 4, {1, 0.6f, 0.85f, 0.5f}, {0, 0.03f, 0, 0.04f}, 0.2f, 0.25f, 0.1f, 0.3f,
     {{260, 3, 6}, {600, 3, 3}, {1500, 2, 0}}, 1300, 1.2f, 7.0f, 0.14f, 505},
};

std::vector<float> synthEngine(const SoundInfo &info, const EngineDesign &d)
{
    const int n = info.frames;
    const float rate = float(info.rate);
    Rng rng(d.seed);
    std::vector<float> pulse(size_t(n), 0.0f), burn(size_t(n), 0.0f);

    const int firingsInLoop = n / d.period;
    const float tau = d.pulseTau * float(d.period);
    const int len = int(tau * 10.0f);
    for (int j = 0; j < firingsInLoop; j++) {
        float s = d.strength[j % d.firings] * (1.0f + d.variation * rng.bipolar());
        if (d.misfire > 0)
            s *= rng.uniform() < d.misfire ? rng.range(0.1f, 0.35f) : rng.range(0.75f, 1.0f);
        float start = (float(j) + d.offset[j % d.firings]) * float(d.period);
        int first = int(std::floor(start));
        for (int k = 0; k < len; k++) {
            float t = float(first + k) - start;
            if (t < 0)
                continue;
            float u = t / tau;
            size_t at = size_t(((first + k) % n + n) % n);
            pulse[at] += s * u * std::exp(1.0f - u);
            burn[at] += s * std::exp(-u * 0.5f);
        }
    }

    std::vector<float> noise = noiseTable(n, rng);
    std::vector<float> pops(size_t(n), 0.0f);
    int popCount = int(d.crackle * float(n) / rate);
    for (int p = 0; p < popCount; p++) {
        int at = rng.below(n);
        float amp = rng.range(0.3f, 1.0f);
        float decay = rng.range(0.0015f, 0.005f) * rate;
        for (int k = 0; k < int(decay * 6); k++)
            pops[size_t((at + k) % n)] += amp * rng.bipolar() * std::exp(-float(k) / decay);
    }

    Biquad tone = makeBiquad(BiquadKind::LowPass, rate, d.tone, 0.8f);
    Biquad pipes[3];
    for (int i = 0; i < 3; i++)
        pipes[i] = makeBiquad(BiquadKind::Peak, rate, d.pipe[i].freq, d.pipe[i].q, d.pipe[i].gainDb);
    Biquad popShape = makeBiquad(BiquadKind::HighPass, rate, 1800, 0.7f);
    Biquad dc = makeBiquad(BiquadKind::HighPass, rate, 25, 0.7071f);
    Biquad noiseShape = makeBiquad(BiquadKind::BandPass, rate, 900, 0.6f);

    std::vector<float> out = runCyclic(n, [&](int i) {
        float x = pulse[size_t(i)] + d.roar * noiseShape.run(noise[size_t(i)]) * burn[size_t(i)];
        x = tone.run(x);
        for (Biquad &p : pipes)
            x = p.run(x);
        x = std::tanh(d.drive * x) / d.drive;
        x += 0.35f * popShape.run(pops[size_t(i)]);
        return dc.run(x);
    });
    levelLoop(out, d.level);
    return out;
}

// ---- impacts ----------------------------------------------------------------------------

// A body blow: a sine whose pitch falls quickly, as a panel or tyre wall gives.
void addThud(std::vector<float> &x, float rate, float at, float fHigh, float fLow, float decay, float amp)
{
    double phase = 0;
    int start = int(at * rate);
    int len = int(decay * 7 * rate);
    for (int i = 0; i < len && start + i < int(x.size()); i++) {
        float t = float(i) / rate;
        float f = fLow + (fHigh - fLow) * std::exp(-t / (decay * 0.4f));
        phase += double(f / rate);
        float attack = std::min(1.0f, t / 0.002f);
        x[size_t(start + i)] += amp * attack * std::exp(-t / decay) * float(std::sin(kTwoPi * phase));
    }
}

// Ringing sheet metal: inharmonic partials with their own decays.
void addMetal(std::vector<float> &x, float rate, Rng &rng, float at, int count, float fLo, float fHi,
              float decayLo, float decayHi, float amp)
{
    int start = int(at * rate);
    for (int m = 0; m < count; m++) {
        float f = fLo * std::pow(fHi / fLo, rng.uniform());
        float decay = rng.range(decayLo, decayHi);
        float a = amp * rng.range(0.4f, 1.0f) / std::sqrt(float(count));
        float ph = rng.uniform() * kTwoPi;
        int len = int(decay * 6 * rate);
        for (int i = 0; i < len && start + i < int(x.size()); i++) {
            float t = float(i) / rate;
            x[size_t(start + i)] += a * std::exp(-t / decay) * std::sin(ph + kTwoPi * f * t);
        }
    }
}

// A burst of filtered noise with an exponential decay.
void addBurst(std::vector<float> &x, float rate, Rng &rng, float at, float decay, float lo, float hi, float amp)
{
    Biquad h = makeBiquad(BiquadKind::HighPass, rate, lo, 0.7071f);
    Biquad l = makeBiquad(BiquadKind::LowPass, rate, hi, 0.7071f);
    int start = int(at * rate);
    int len = int(decay * 7 * rate);
    for (int i = 0; i < len && start + i < int(x.size()); i++) {
        float t = float(i) / rate;
        float attack = std::min(1.0f, t / 0.001f);
        x[size_t(start + i)] += amp * attack * std::exp(-t / decay) * l.run(h.run(rng.bipolar()));
    }
}

// Crumpling: many short grains of band-limited noise, denser at the start.
void addCrunch(std::vector<float> &x, float rate, Rng &rng, float at, float spread, int grains, float amp)
{
    for (int g = 0; g < grains; g++) {
        // Drawn one by one: the order of function arguments is up to the compiler.
        float u = rng.uniform();
        float decay = rng.range(0.004f, 0.02f);
        float lo = rng.range(250, 700);
        float hi = rng.range(2000, 6000);
        float a = amp * rng.range(0.4f, 1.0f) * (1.0f - 0.6f * u);
        addBurst(x, rate, rng, at + spread * u * u, decay, lo, hi, a);
    }
}

// Breaking glass: many tiny, high, quickly dying rings scattered after the hit.
void addGlass(std::vector<float> &x, float rate, Rng &rng, float at, float spread, int shards, float amp)
{
    for (int s = 0; s < shards; s++) {
        float u = rng.uniform();
        addMetal(x, rate, rng, at + spread * u * u, 2, 2500, 10000, 0.008f, 0.05f, amp * (1.0f - 0.7f * u));
    }
    addBurst(x, rate, rng, at, 0.25f, 4000, 11000, amp * 0.5f);
}

std::vector<float> synthCrash(const SoundInfo &info, int violence)
{
    const float rate = float(info.rate);
    std::vector<float> x(size_t(info.frames), 0.0f);
    Rng rng(600 + uint64_t(violence));
    switch (violence) {
    case 0:  // a dull knock against a barrier
        addThud(x, rate, 0, 85, 48, 0.09f, 1.0f);
        addBurst(x, rate, rng, 0, 0.025f, 40, 600, 0.4f);
        break;
    case 1:  // a solid bump with the panels rattling
        addThud(x, rate, 0, 100, 55, 0.12f, 1.0f);
        addMetal(x, rate, rng, 0.002f, 6, 250, 1400, 0.05f, 0.2f, 0.35f);
        addBurst(x, rate, rng, 0, 0.05f, 200, 2500, 0.5f);
        for (int r = 0; r < 3; r++)
            addBurst(x, rate, rng, 0.06f + 0.05f * float(r), 0.012f, 600, 3000, 0.25f);
        break;
    case 2:  // metal giving way: several hits and a crumple
        addThud(x, rate, 0, 75, 45, 0.15f, 1.1f);
        for (float at : {0.0f, 0.045f, 0.12f})
            addMetal(x, rate, rng, at, 10, 300, 5000, 0.04f, 0.22f, 0.5f);
        addBurst(x, rate, rng, 0, 0.08f, 150, 4000, 0.6f);
        addCrunch(x, rate, rng, 0.01f, 0.35f, 30, 0.45f);
        for (float &v : x)
            v = std::tanh(1.6f * v) / 1.6f;
        break;
    default:  // the big one: a heavy boom, crushed metal and the glass going
        addThud(x, rate, 0, 60, 38, 0.25f, 1.3f);
        for (float at : {0.0f, 0.03f, 0.09f, 0.2f})
            addMetal(x, rate, rng, at, 12, 250, 6000, 0.05f, 0.25f, 0.6f);
        addBurst(x, rate, rng, 0, 0.12f, 100, 5000, 0.8f);
        addCrunch(x, rate, rng, 0.005f, 0.6f, 60, 0.55f);
        addGlass(x, rate, rng, 0.02f, 0.9f, 80, 0.45f);
        for (float &v : x)
            v = std::tanh(2.0f * v) / 2.0f;
        break;
    }
    // Rumble from the saturated boom is taken out before the level is set.
    dcBlock(x, rate);
    normalisePeak(x, 0.45f + 0.5f * float(violence) / 3.0f);
    fadeTail(x, info.rate, 0.05f);
    return x;
}

// ---- the other loops --------------------------------------------------------------------

// Phase of a tone whose frequency curve has a whole number of cycles over the loop; the small
// remainder left by rounding is spread over the loop so the wave meets itself at the seam.
std::vector<double> loopPhase(const std::vector<float> &freq, float rate)
{
    size_t n = freq.size();
    std::vector<double> ph(n);
    double p = 0;
    for (size_t i = 0; i < n; i++) {
        ph[i] = p;
        p += double(freq[i]) / double(rate);
    }
    double err = p - std::round(p);
    for (size_t i = 0; i < n; i++)
        ph[i] -= err * double(i) / double(n);
    return ph;
}

std::vector<float> synthSqueal(const SoundInfo &info)
{
    const int n = info.frames;
    const float rate = float(info.rate);
    Rng rng(707);
    // Stick-slip of the rubber: a strong whine around the design pitch, wandering a little.
    std::vector<float> freq = periodicCurve(n, 9, rng, -60, 60);
    for (float &f : freq)
        f += info.fundamental;
    std::vector<double> ph = loopPhase(freq, rate);
    std::vector<float> amp = periodicCurve(n, 23, rng, 0.55f, 1.0f);
    std::vector<float> noise = noiseTable(n, rng);
    Biquad hiss = makeBiquad(BiquadKind::BandPass, rate, 3200, 0.8f);
    Biquad dc = makeBiquad(BiquadKind::HighPass, rate, 200, 0.7071f);
    std::vector<float> out = runCyclic(n, [&](int i) {
        float w = kTwoPi * float(ph[size_t(i)] - std::floor(ph[size_t(i)]));
        float tone = std::sin(w) + 0.45f * std::sin(2 * w) + 0.22f * std::sin(3 * w) + 0.08f * std::sin(5 * w);
        return dc.run(amp[size_t(i)] * tone + 0.35f * hiss.run(noise[size_t(i)]));
    });
    levelLoop(out, 0.16f);
    return out;
}

std::vector<float> synthNitro(const SoundInfo &info)
{
    const int n = info.frames;
    const float rate = float(info.rate);
    Rng rng(1313);
    std::vector<float> noise = noiseTable(n, rng);
    std::vector<float> swell = periodicCurve(n, 6, rng, 0.8f, 1.0f);
    Biquad hiss = makeBiquad(BiquadKind::BandPass, rate, 3800, 0.7f);
    Biquad rush = makeBiquad(BiquadKind::BandPass, rate, 700, 1.0f);
    Biquad jet = makeBiquad(BiquadKind::BandPass, rate, 2205, 12.0f);
    std::vector<float> out = runCyclic(n, [&](int i) {
        float t = float(i) / float(n);
        // A fast flutter of the valve: 63 cycles per two-second lap, so it repeats with the loop.
        float flutter = 1.0f + 0.08f * std::sin(kTwoPi * 63.0f * t);
        float s = noise[size_t(i)];
        return swell[size_t(i)] * flutter * (hiss.run(s) + 0.6f * rush.run(s) + 1.5f * jet.run(s));
    });
    levelLoop(out, 0.15f);
    return out;
}

std::vector<float> synthWind(const SoundInfo &info)
{
    const int n = info.frames;
    const float rate = float(info.rate);
    Rng rng(1414);
    std::vector<float> noise = noiseTable(n, rng);
    std::vector<float> gust = periodicCurve(n, 7, rng, 0.0f, 1.0f);
    Svf body;
    Biquad whistle = makeBiquad(BiquadKind::BandPass, rate, 1700, 9.0f);
    Biquad dc = makeBiquad(BiquadKind::HighPass, rate, 40, 0.7071f);
    std::vector<float> out = runCyclic(n, [&](int i) {
        float g = gust[size_t(i)];
        float s = noise[size_t(i)];
        float air = body.run(s, rate, 250.0f + 900.0f * g, 1.3f);
        return dc.run((0.6f + 0.4f * g) * air + 0.15f * g * whistle.run(s));
    });
    levelLoop(out, 0.13f);
    return out;
}

// ---- short cues ---------------------------------------------------------------------------

std::vector<float> synthChime(const SoundInfo &info)
{
    const float rate = float(info.rate);
    std::vector<float> x(size_t(info.frames), 0.0f);
    // Two bell strikes a fifth apart, the second a moment later: a bright rising "ding-ding".
    struct Partial { float ratio, amp, decay; };
    const Partial bell[4] = {{1, 1, 0.25f}, {2, 0.35f, 0.16f}, {3, 0.12f, 0.1f}, {4.16f, 0.08f, 0.05f}};
    const float notes[2][2] = {{1318.51f, 0.0f}, {1975.53f, 0.09f}};
    for (const auto &note : notes) {
        int start = int(note[1] * rate);
        for (const Partial &p : bell)
            for (int i = start; i < info.frames; i++) {
                float t = float(i - start) / rate;
                float attack = std::min(1.0f, t / 0.0015f);
                x[size_t(i)] += p.amp * attack * std::exp(-t / p.decay) * std::sin(kTwoPi * note[0] * p.ratio * t);
            }
    }
    normalisePeak(x, 0.7f);
    fadeTail(x, info.rate, 0.12f);
    return x;
}

std::vector<float> synthGear(const SoundInfo &info)
{
    const float rate = float(info.rate);
    std::vector<float> x(size_t(info.frames), 0.0f);
    Rng rng(1212);
    // The lever leaving one gate, then the dogs engaging a moment later.
    addBurst(x, rate, rng, 0, 0.004f, 1500, 4000, 0.6f);
    addThud(x, rate, 0, 140, 90, 0.03f, 0.8f);
    addThud(x, rate, 0.055f, 120, 80, 0.04f, 0.6f);
    addMetal(x, rate, rng, 0.055f, 3, 900, 2300, 0.03f, 0.06f, 0.35f);
    addBurst(x, rate, rng, 0.055f, 0.006f, 1200, 5000, 0.4f);
    dcBlock(x, rate);
    normalisePeak(x, 0.7f);
    fadeTail(x, info.rate, 0.05f);
    return x;
}

std::vector<float> synthClick(const SoundInfo &info)
{
    const float rate = float(info.rate);
    std::vector<float> x(size_t(info.frames), 0.0f);
    Rng rng(1515);
    x[0] = 1.0f;
    x[1] = -0.6f;
    addBurst(x, rate, rng, 0, 0.0015f, 3000, 12000, 0.8f);
    for (size_t i = 0; i < x.size(); i++) {
        float t = float(i) / rate;
        x[i] += 0.4f * std::exp(-t / 0.006f) * std::sin(kTwoPi * 3200.0f * t);
    }
    normalisePeak(x, 0.6f);
    fadeTail(x, info.rate, 0.005f);
    return x;
}

std::vector<float> synthBlip(const SoundInfo &info)
{
    const float rate = float(info.rate);
    std::vector<float> x(size_t(info.frames), 0.0f);
    double phase = 0;
    for (size_t i = 0; i < x.size(); i++) {
        float u = float(i) / float(x.size());
        float f = 620.0f * std::pow(1.5f, std::min(1.0f, u * 1.5f));
        phase += double(f / rate);
        float w = kTwoPi * float(phase - std::floor(phase));
        float env = std::sin(kPi * u);
        x[i] = env * env * (std::sin(w) + 0.15f * std::sin(2 * w));
    }
    normalisePeak(x, 0.35f);
    return x;
}

} // namespace

std::vector<float> synthSound(int index)
{
    const SoundInfo &s = soundTable[index];
    const char *n = s.name;
    if (std::strncmp(n, "en", 2) == 0) {
        int e = std::strcmp(n, "en_pass") == 0 ? 4 : n[2] - '1';
        return synthEngine(s, engineDesigns[e]);
    }
    if (n[0] == 'c' && n[1] == 'r')
        return synthCrash(s, n[2] - '0');
    if (!std::strcmp(n, "st"))
        return synthSqueal(s);
    if (!std::strcmp(n, "point"))
        return synthChime(s);
    if (!std::strcmp(n, "gear"))
        return synthGear(s);
    if (!std::strcmp(n, "nitro"))
        return synthNitro(s);
    if (!std::strcmp(n, "wind"))
        return synthWind(s);
    if (!std::strcmp(n, "menu1"))
        return synthClick(s);
    return synthBlip(s);
}

bool writeSound(const char *baseDir, int index)
{
    const SoundInfo &s = soundTable[index];
    std::vector<int16_t> pcm = toPcm16(synthSound(index));
    std::string path = std::string(baseDir) + "/sound/" + s.name + ".wav";
    return Sys_WriteWav(path.c_str(), 1, s.rate, pcm.data(), long(pcm.size()));
}
