// Reads the generated sounds with ALUT and the tunes with libvorbisfile, as the game does, and
// checks what a listener would notice: clicks at loop seams, engines that do not sit on their
// note, crashes out of order, silence, clipping and tunes of uneven loudness.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/alut.h>
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio_tables.h"
#include "platform/sys_files.h"

namespace {

struct Wav {
    bool loaded = false;
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
        w.loaded = true;
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

double energy(const std::vector<float> &x)
{
    double s = 0;
    for (float v : x)
        s += double(v) * v;
    return s;
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

class Sounds : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (int i = 0; i < kSoundCount; i++)
            wavs[i] = loadWav(soundTable[i]);
    }
    static Wav wavs[kSoundCount];
};
Wav Sounds::wavs[kSoundCount];

TEST_F(Sounds, LoadThroughAlutWithTheDesignedFormatRateAndLength)
{
    for (int i = 0; i < kSoundCount; i++) {
        const SoundInfo &s = soundTable[i];
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(wavs[i].loaded);
        EXPECT_EQ(wavs[i].format, AL_FORMAT_MONO16);
        EXPECT_EQ(wavs[i].frequency, s.rate);
        EXPECT_EQ(wavs[i].size, s.frames * 2);
    }
}

TEST_F(Sounds, NoneSilentNoneClippedOneShotsEndInSilence)
{
    for (int i = 0; i < kSoundCount; i++) {
        const SoundInfo &s = soundTable[i];
        SCOPED_TRACE(s.name);
        std::vector<float> x = channel(wavs[i].pcm, 1, 0);
        ASSERT_FALSE(x.empty());
        EXPECT_GT(20 * std::log10(rms(x)), -30.0);
        int atFullScale = 0;
        for (int16_t v : wavs[i].pcm)
            atFullScale += v >= 32767 || v <= -32767;
        EXPECT_EQ(atFullScale, 0);
        if (!s.loop) {
            EXPECT_LT(std::fabs(x.back()), 0.01f) << "a one-shot should fade out, not stop dead";
        }
    }
}

TEST_F(Sounds, LoopsJoinWithoutAJump)
{
    for (int i = 0; i < kSoundCount; i++)
        if (soundTable[i].loop)
            expectSeamless(channel(wavs[i].pcm, 1, 0), soundTable[i].name);
}

TEST_F(Sounds, EnginesSitOnTheirDesignedFundamental)
{
    // The firing rate must be the strongest low partial, or the pitch the game sets would not
    // be the pitch heard. The squeal is checked the same way around its whine.
    for (int i = 0; i < kSoundCount; i++) {
        const SoundInfo &s = soundTable[i];
        if (s.fundamental <= 0)
            continue;
        SCOPED_TRACE(s.name);
        std::vector<float> x = channel(wavs[i].pcm, 1, 0);
        double f = strongestPartial(x, s.rate, 0.4 * s.fundamental, 4.0 * s.fundamental);
        double binHz = double(s.rate) / double(x.size());
        double tolerance = s.name[0] == 'e' ? 0.5 * binHz : 60.0;
        EXPECT_NEAR(f, s.fundamental, tolerance);
    }
}

TEST_F(Sounds, CrashesRiseInEnergy)
{
    double e[4];
    for (int c = 0; c < 4; c++) {
        std::string name = "cr" + std::to_string(c);
        for (int i = 0; i < kSoundCount; i++)
            if (name == soundTable[i].name)
                e[c] = energy(channel(wavs[i].pcm, 1, 0));
    }
    EXPECT_LT(e[0], e[1]);
    EXPECT_LT(e[1], e[2]);
    EXPECT_LT(e[2], e[3]);
}

// ---- tunes ---------------------------------------------------------------------------------

// The game hands libvorbisfile its own callbacks over a stdio stream.
size_t readCb(void *ptr, size_t size, size_t count, void *f)
{
    return std::fread(ptr, 1, size * count, static_cast<FILE *>(f));
}
int seekCb(void *f, ogg_int64_t offset, int whence)
{
    FILE *file = static_cast<FILE *>(f);
    std::clearerr(file);
    int mode = whence == 0 ? SEEK_SET : whence == 1 ? SEEK_CUR : whence == 2 ? SEEK_END : -1;
    if (mode < 0)
        return -1;
    std::fseek(file, long(offset), mode);
    return std::ferror(file) ? -1 : 0;
}
int closeCb(void *) { return 0; }
long tellCb(void *f) { return std::ftell(static_cast<FILE *>(f)); }

struct Tune {
    bool opened = false;
    int channels = 0;
    long rate = 0;
    ogg_int64_t total = 0;
    std::vector<int16_t> pcm;
    std::vector<int16_t> afterRewind;  // the first samples read after seeking back to 0
};

Tune decodeTune(const TuneInfo &t)
{
    Tune tune;
    std::string path = std::string(".\\base\\music\\") + t.name + ".ogg";
    FILE *f = Sys_FOpen(path.c_str(), "rb");
    if (!f)
        return tune;
    OggVorbis_File vf;
    ov_callbacks cb = {readCb, seekCb, closeCb, tellCb};
    if (ov_open_callbacks(f, &vf, nullptr, 0, cb) < 0) {
        std::fclose(f);
        return tune;
    }
    tune.opened = true;
    vorbis_info *vi = ov_info(&vf, -1);
    tune.channels = vi->channels;
    tune.rate = vi->rate;
    tune.total = ov_pcm_total(&vf, -1);
    char buf[65536];
    int section = 0;
    int errors = 0;
    for (;;) {
        long r = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section);
        if (r == 0)
            break;
        if (r < 0) {
            if (++errors > 8)
                break;
            continue;
        }
        const int16_t *p = reinterpret_cast<const int16_t *>(buf);
        tune.pcm.insert(tune.pcm.end(), p, p + r / 2);
    }
    // Looping in the game is a seek back to the first sample.
    if (ov_pcm_seek(&vf, 0) == 0) {
        long r = ov_read(&vf, buf, 4096, 0, 2, 1, &section);
        if (r > 0)
            tune.afterRewind.assign(reinterpret_cast<int16_t *>(buf), reinterpret_cast<int16_t *>(buf) + r / 2);
    }
    ov_clear(&vf);
    std::fclose(f);
    return tune;
}

class Tunes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (int i = 0; i < kTuneCount; i++)
            tunes[i] = decodeTune(tuneTable[i]);
    }
    static Tune tunes[kTuneCount];
};
Tune Tunes::tunes[kTuneCount];

TEST_F(Tunes, OpenAndDecodeToTheEndAsStereo44k)
{
    for (int i = 0; i < kTuneCount; i++) {
        const TuneInfo &t = tuneTable[i];
        const Tune &tune = tunes[i];
        SCOPED_TRACE(t.name);
        ASSERT_TRUE(tune.opened);
        EXPECT_EQ(tune.channels, 2);
        EXPECT_EQ(tune.rate, kMusicRate);
        EXPECT_EQ(tune.total, tuneFrames(t));
        EXPECT_EQ(long(tune.pcm.size()), tuneFrames(t) * 2) << "decoding stopped early or ran on";
        // The game refills 262144-byte buffers; a tune that ends exactly on a buffer boundary
        // gives a refill with no data, which would replay the previous buffer once.
        EXPECT_NE(tuneFrames(t) * 4 % 262144, 0);
        double seconds = double(tune.pcm.size() / 2) / kMusicRate;
        EXPECT_GE(seconds, 60.0);
        EXPECT_LE(seconds, 120.0);
    }
}

TEST_F(Tunes, RewindGivesTheFirstSamplesAgain)
{
    for (int i = 0; i < kTuneCount; i++) {
        const Tune &tune = tunes[i];
        SCOPED_TRACE(tuneTable[i].name);
        ASSERT_FALSE(tune.afterRewind.empty());
        ASSERT_GE(tune.pcm.size(), tune.afterRewind.size());
        EXPECT_TRUE(std::equal(tune.afterRewind.begin(), tune.afterRewind.end(), tune.pcm.begin()));
    }
}

TEST_F(Tunes, LoopBackWithoutAClick)
{
    for (int i = 0; i < kTuneCount; i++)
        for (int c = 0; c < 2; c++) {
            ASSERT_FALSE(tunes[i].pcm.empty());
            expectSeamless(channel(tunes[i].pcm, 2, c), std::string(tuneTable[i].name) + " channel " + std::to_string(c));
        }
}

TEST_F(Tunes, EvenLoudnessNoClipping)
{
    double lo = 0, hi = -200;
    for (int i = 0; i < kTuneCount; i++) {
        const Tune &tune = tunes[i];
        SCOPED_TRACE(tuneTable[i].name);
        ASSERT_FALSE(tune.pcm.empty());
        std::vector<float> both = channel(tune.pcm, 1, 0);
        double db = 20 * std::log10(rms(both));
        lo = std::min(lo, db);
        hi = std::max(hi, db);
        EXPECT_GT(db, -24.0);
        int atFullScale = 0;
        for (int16_t v : tune.pcm)
            atFullScale += v >= 32767 || v <= -32767;
        EXPECT_EQ(atFullScale, 0);
    }
    EXPECT_LE(hi - lo, 3.0) << "loudest and quietest tune differ by " << hi - lo << " dB";
}

// ---- the engines through OpenAL ------------------------------------------------------------
// Looped on a source and pitched with AL_PITCH as the game plays them, rendered through OpenAL
// Soft's loopback device: at idle and at 8000 rpm the fundamental must be where an engine's is.

constexpr int kOutRate = 44100;

class Loopback : public ::testing::Test {
protected:
    ALCdevice *device = nullptr;
    ALCcontext *context = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;

    void SetUp() override
    {
        auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
        renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
        ASSERT_NE(open, nullptr);
        ASSERT_NE(renderSamples, nullptr);
        device = open(nullptr);
        ASSERT_NE(device, nullptr);
        const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_MONO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
                                ALC_FREQUENCY, kOutRate, 0};
        context = alcCreateContext(device, attrs);
        ASSERT_NE(context, nullptr);
        alcMakeContextCurrent(context);
    }

    void TearDown() override
    {
        alcMakeContextCurrent(nullptr);
        if (context)
            alcDestroyContext(context);
        if (device)
            alcCloseDevice(device);
    }

    // Plays base/sound/<name>.wav looping at `pitch`, as the game's samples play; returns
    // `seconds` of the mixed output (after a short settling time).
    std::vector<float> play(const char *name, float pitch, float seconds)
    {
        Wav w;
        for (const SoundInfo &s : soundTable)
            if (std::string(s.name) == name)
                w = loadWav(s);
        if (!w.loaded)
            return {};
        ALuint source = 0, buffer = 0;
        alGenSources(1, &source);
        alGenBuffers(1, &buffer);
        alBufferData(buffer, w.format, w.pcm.data(), w.size, w.frequency);
        alSourcei(source, AL_BUFFER, ALint(buffer));
        alSourcef(source, AL_PITCH, pitch);
        alSourcei(source, AL_LOOPING, AL_TRUE);
        alSourcef(source, AL_REFERENCE_DISTANCE, 30.0f);
        alSourcePlay(source);
        std::vector<float> out(size_t(kOutRate / 10));
        renderSamples(device, out.data(), ALCsizei(out.size()));
        out.assign(size_t(seconds * kOutRate), 0.0f);
        renderSamples(device, out.data(), ALCsizei(out.size()));
        alSourceStop(source);
        alDeleteSources(1, &source);
        alDeleteBuffers(1, &buffer);
        return out;
    }
};

constexpr int kDecimate = 8;
constexpr double kLowRate = double(kOutRate) / kDecimate;

double powerAt(const std::vector<double> &w, double f)
{
    double c = 2.0 * std::cos(2.0 * M_PI * f / kLowRate), s1 = 0, s2 = 0;
    for (double v : w) {
        double s0 = v + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return s1 * s1 + s2 * s2 - c * s1 * s2;
}

// Strongest partial between lo and hi Hz (well below 1 kHz). The output is averaged down to
// 5.5 kHz (the averaging's nulls fall where aliases would land), Hann-windowed and scanned in
// steps of a quarter of a bin, so no partial falls between two probes.
double mixedPartial(const std::vector<float> &x, double lo, double hi)
{
    const size_t n = x.size() / kDecimate;
    std::vector<double> w(n);
    for (size_t i = 0; i < n; i++) {
        double sum = 0;
        for (int k = 0; k < kDecimate; k++)
            sum += x[i * kDecimate + size_t(k)];
        w[i] = sum / kDecimate * (0.5 - 0.5 * std::cos(2.0 * M_PI * double(i) / double(n)));
    }
    const double step = kLowRate / double(n) / 4.0;
    double best = -1, bestF = lo;
    for (double f = lo; f <= hi; f += step)
        if (double p = powerAt(w, f); p > best) {
            best = p;
            bestF = f;
        }
    return bestF;
}

TEST_F(Loopback, EnginesIdleLowAndScreamAtTheRedline)
{
    // The vehicle code's pitch: 0.35 at 1000 rpm, 0.35 + 7000 x 0.0002 = 1.75 at 8000 rpm.
    for (const char *name : {"en1", "en2", "en3", "en4", "en_pass"}) {
        const SoundInfo *s = nullptr;
        for (const SoundInfo &info : soundTable)
            if (std::string(info.name) == name)
                s = &info;
        ASSERT_NE(s, nullptr);
        for (float pitch : {0.35f, 1.75f}) {
            SCOPED_TRACE(std::string(name) + " at pitch " + std::to_string(pitch));
            std::vector<float> out = play(name, pitch, 2.0f);
            ASSERT_FALSE(out.empty());
            double f = s->fundamental * pitch;
            EXPECT_NEAR(mixedPartial(out, 0.4 * f, 4.0 * f), f, 1.0);
            if (pitch < 1.0f)
                EXPECT_TRUE(f >= 25 && f < 60.0) << "idle should be a low throb, not " << f;
            else
                EXPECT_TRUE(f > 150.0 && f <= 300) << "the redline should be a high howl, not " << f;
        }
    }
}

TEST_F(Loopback, LoopedEngineRunsOnWithoutDropouts)
{
    // Three seconds of a one-second loop: every 50 ms window carries sound, none falls silent
    // at a wrap-around.
    std::vector<float> out = play("en1", 1.0f, 3.0f);
    ASSERT_FALSE(out.empty());
    const size_t win = kOutRate / 20;
    double quietest = 1e9, loudest = 0;
    for (size_t at = 0; at + win <= out.size(); at += win) {
        double e = 0;
        for (size_t i = at; i < at + win; i++)
            e += double(out[i]) * out[i];
        double rms = std::sqrt(e / double(win));
        quietest = std::min(quietest, rms);
        loudest = std::max(loudest, rms);
    }
    EXPECT_GT(quietest, loudest * 0.5);
}

} // namespace
