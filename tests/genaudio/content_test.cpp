// Reads the generated sounds with ALUT and the tunes with libvorbisfile, as the game does, and
// checks what a listener would notice: clicks at loop seams, engines that do not sit on their
// note or drop out, crashes out of order, silence, clipping and tunes of uneven loudness.
#include <AL/al.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio_tables.h"
#include "support/ogg_tune.h"

namespace {

struct Wav {
    ALenum format = 0;
    ALsizei size = 0, frequency = 0;
    std::vector<int16_t> pcm;
};

Wav loadWav(const SoundInfo &s)
{
    std::string path = std::string("base/sound/") + s.name + ".wav";
    Wav w;
    void *data = nullptr;
    ALboolean loop = AL_FALSE;
    // ALUT's file loader is the one the game uses; it is marked deprecated but still shipped.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    alutLoadWAVFile(reinterpret_cast<ALbyte *>(path.data()), &w.format, &data, &w.size, &w.frequency, &loop);
    if (data) {
        const int16_t *p = static_cast<const int16_t *>(data);
        w.pcm.assign(p, p + w.size / 2);
        alutUnloadWAV(w.format, data, w.size, w.frequency);
    }
#pragma GCC diagnostic pop
    return w;
}

// One channel of interleaved 16-bit samples as floats in [-1, 1].
std::vector<float> channel(const std::vector<int16_t> &pcm, int channels, int c)
{
    std::vector<float> x;
    x.reserve(pcm.size() / size_t(channels));
    for (size_t i = size_t(c); i < pcm.size(); i += size_t(channels))
        x.push_back(float(pcm[i]) / 32768.0f);
    return x;
}

double rms(const std::vector<float> &x)
{
    double s = 0;
    for (float v : x)
        s += double(v) * v;
    return std::sqrt(s / double(x.size()));
}

// The jump from the last sample back to the first must look like an ordinary step: within the
// 99th percentile of all neighbour steps, or within the largest step in the 32 samples either
// side of the seam (a loud tone swings that much anyway; a click stands out from both).
void expectSeamless(const std::vector<float> &x, const std::string &what)
{
    const size_t n = x.size();
    std::vector<float> steps(n - 1);
    for (size_t i = 0; i + 1 < n; i++)
        steps[i] = std::fabs(x[i + 1] - x[i]);
    float nearby = 0;
    for (size_t k = 0; k < 32; k++)
        nearby = std::max({nearby, steps[k], steps[n - 2 - k]});
    std::nth_element(steps.begin(), steps.begin() + long(steps.size() * 99 / 100), steps.end());
    float typical = steps[steps.size() * 99 / 100];
    float seam = std::fabs(x.front() - x.back());
    EXPECT_LE(seam, std::max(typical, nearby))
        << what << ": step across the loop seam " << seam << ", typical " << typical << ", nearby " << nearby;
}

// Magnitude of the DFT of a whole loop at bin k (k cycles over the loop), by Goertzel.
double binMagnitude(const std::vector<float> &x, long k)
{
    double w = 2.0 * M_PI * double(k) / double(x.size());
    double c = 2.0 * std::cos(w), s1 = 0, s2 = 0;
    for (float v : x) {
        double s0 = v + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2));
}

// Frequency of the strongest partial between lo and hi Hz. The loops repeat exactly, so the
// bins of the whole loop hold the partials without leakage.
double strongestPartial(const std::vector<float> &x, int rate, double lo, double hi)
{
    double binHz = double(rate) / double(x.size());
    long best = 0;
    double bestMag = -1;
    for (long k = long(std::ceil(lo / binHz)); k <= long(hi / binHz); k++) {
        double m = binMagnitude(x, k);
        if (m > bestMag) {
            bestMag = m;
            best = k;
        }
    }
    return double(best) * binHz;
}

int atFullScale(const std::vector<int16_t> &pcm)
{
    return int(std::count_if(pcm.begin(), pcm.end(), [](int16_t v) { return v >= 32767 || v <= -32767; }));
}

// Loaded through ALUT as designed; none silent or clipped; one-shots fade out, loops join without
// a jump and carry sound all the way round; engines sit on their note and crashes rise in energy.
TEST(Sounds, EverySoundIsAsDesignedAndSoundsRight)
{
    double crash[4] = {};
    for (int i = 0; i < kSoundCount; i++) {
        const SoundInfo &s = soundTable[i];
        SCOPED_TRACE(s.name);
        const Wav w = loadWav(s);
        ASSERT_FALSE(w.pcm.empty()) << "ALUT loads it";
        EXPECT_EQ(w.format, AL_FORMAT_MONO16);
        EXPECT_EQ(w.frequency, s.rate);
        EXPECT_EQ(w.size, s.frames * 2);
        std::vector<float> x = channel(w.pcm, 1, 0);
        EXPECT_GT(20 * std::log10(rms(x)), -30.0);
        EXPECT_EQ(atFullScale(w.pcm), 0);
        if (s.loop)
            expectSeamless(x, s.name);
        else
            EXPECT_LT(std::fabs(x.back()), 0.01f) << "a one-shot should fade out, not stop dead";
        if (std::string(s.name).rfind("cr", 0) == 0)
            crash[s.name[2] - '0'] = rms(x) * rms(x) * double(x.size());
        if (s.fundamental <= 0)
            continue;
        // The firing rate must be the strongest low partial, or the pitch the game sets would not
        // be the pitch heard. The squeal is checked the same way around its whine.
        double f = strongestPartial(x, s.rate, 0.4 * s.fundamental, 4.0 * s.fundamental);
        double binHz = double(s.rate) / double(x.size());
        EXPECT_NEAR(f, s.fundamental, s.name[0] == 'e' ? 0.5 * binHz : 60.0);
        if (s.name[0] != 'e')
            continue;
        // Looped, no 50 ms stretch falls silent: every window carries a quarter of the loudest's level.
        const size_t win = size_t(s.rate / 20);
        double quietest = 1e9, loudest = 0;
        for (size_t at = 0; at < x.size(); at += win) {
            std::vector<float> w;
            for (size_t k = 0; k < win; k++)
                w.push_back(x[(at + k) % x.size()]);
            quietest = std::min(quietest, rms(w));
            loudest = std::max(loudest, rms(w));
        }
        EXPECT_GT(quietest, loudest * 0.25);
    }
    for (int k = 1; k < 4; k++)
        EXPECT_LT(crash[k - 1], crash[k]) << "cr" << k;
}

// ---- tunes ---------------------------------------------------------------------------------

// Every tune decodes to its end, loops back without a click, never clips, and all are about as
// loud as each other. (Rewinding, channel counts the stream refuses, and tunes that end on a
// refill's boundary are the music stream's tests.)
TEST(Tunes, DecodeWholeLoopAndMatchInLoudness)
{
    double lo = 0, hi = -200;
    for (int i = 0; i < kTuneCount; i++) {
        const TuneInfo &t = tuneTable[i];
        SCOPED_TRACE(t.name);
        const std::vector<int16_t> pcm = decodeTune(std::string("base/music/") + t.name + ".ogg");
        ASSERT_EQ(long(pcm.size()), tuneFrames(t) * 2) << "decoding stopped early or ran on";
        for (int c = 0; c < 2; c++)
            expectSeamless(channel(pcm, 2, c), "channel " + std::to_string(c));

        double db = 20 * std::log10(rms(channel(pcm, 1, 0)));
        lo = std::min(lo, db);
        hi = std::max(hi, db);
        EXPECT_GT(db, -24.0);
        EXPECT_EQ(atFullScale(pcm), 0);
    }
    EXPECT_LE(hi - lo, 3.0) << "loudest and quietest tune differ by " << hi - lo << " dB";
}

} // namespace
