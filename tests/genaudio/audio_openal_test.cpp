// The engine loops played as the game plays them: loaded into an OpenAL buffer, looped on a
// source and pitched with AL_PITCH, rendered through OpenAL Soft's loopback device. What comes
// out at idle and at 8000 rpm must have its fundamental where an engine's would be.
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <AL/alut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio_tables.h"

namespace {

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

    // Loads base/sound/<name>.wav the way the game's sample loader does and plays it looping
    // at `pitch`; returns `seconds` of the mixed output (after a short settling time).
    std::vector<float> play(const char *name, float pitch, float seconds)
    {
        std::string path = std::string("base/sound/") + name + ".wav";
        ALenum format = 0;
        ALsizei size = 0, freq = 0;
        ALboolean loop = AL_FALSE;
        void *data = nullptr;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        alutLoadWAVFile(reinterpret_cast<ALbyte *>(path.data()), &format, &data, &size, &freq, &loop);
        if (!data)
            return {};
        ALuint source = 0, buffer = 0;
        alGenSources(1, &source);
        alGenBuffers(1, &buffer);
        alBufferData(buffer, format, data, size, freq);
        alSourcei(source, AL_BUFFER, ALint(buffer));
        alutUnloadWAV(format, data, size, freq);
#pragma GCC diagnostic pop
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
double strongestPartial(const std::vector<float> &x, double lo, double hi)
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
            EXPECT_NEAR(strongestPartial(out, 0.4 * f, 4.0 * f), f, 1.0);
            if (pitch < 1.0f)
                EXPECT_LT(f, 60.0) << "idle should be a low throb";
            else
                EXPECT_GT(f, 150.0) << "the redline should be a high howl";
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
