// The audio device and samples on a real OpenAL Soft context. The machines we test on have no
// sound card, so this is also the check that the game falls back to a working silent device.
#include "audio/audio.h"
#include "platform/wav_write.h"
#include "support/temp_dir.h"

#include <AL/alc.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A sine burst as 16-bit mono PCM.
void writeTone(const std::string &path, int rate, double seconds, double hz)
{
    std::vector<int16_t> pcm(size_t(rate * seconds));
    for (size_t i = 0; i < pcm.size(); i++)
        pcm[i] = int16_t(12000 * std::sin(2 * M_PI * hz * double(i) / rate));
    ASSERT_TRUE(Sys_WriteWav(path.c_str(), 1, rate, pcm.data(), long(pcm.size())));
}

ALint sourceInt(unsigned source, ALenum what)
{
    ALint v = -1;
    alGetSourcei(source, what, &v);
    return v;
}

TEST(AudioDevice, SamplesLoadInTableOrderAMissingFileStaysSilentAndCarVelocityIsBounded)
{
    TempDir dir;
    dir.enter();
    std::filesystem::create_directories("base/sound");
    for (int i = 0; i < SAMPLE_COUNT; i++)
        if (i != SAMPLE_GEAR)
            writeTone(sampleTable[i].file, 22050, 0.25 + 0.01 * i, 220);
    ASSERT_TRUE(openAudioDevice(nullptr)) << "some device opens, even without a sound card";
    loadSamples();
    for (int i = 0; i < SAMPLE_COUNT; i++) {
        const Sample &s = sampleSlots[i];
        ASSERT_NE(s.source, 0u) << sampleTable[i].file;
        EXPECT_EQ(s.sourceId, s.source);
        EXPECT_EQ(sourceInt(s.source, AL_LOOPING), sampleTable[i].loop ? AL_TRUE : AL_FALSE) << i;
        ALint bytes = -1;
        alGetBufferi(s.buffer, AL_SIZE, &bytes);
        if (i == SAMPLE_GEAR) {
            EXPECT_EQ(bytes, 0) << "a missing file leaves an empty buffer";
        } else {
            EXPECT_EQ(bytes, 2 * int(22050 * (0.25 + 0.01 * i))) << sampleTable[i].file;
            ALint freq = 0;
            alGetBufferi(s.buffer, AL_FREQUENCY, &freq);
            EXPECT_EQ(freq, 22050);
        }
        EXPECT_EQ(s.data, nullptr) << "PCM is released after upload";
    }
    sampleSlots[SAMPLE_GEAR].play(); // silent, and no harm done
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
    // A car's velocity is bounded for the Doppler shift.
    const float pos[3] = {1, 2, 3}, vel[3] = {0, 0, 40}, slow[3] = {3, 4, 0};
    ALfloat v[3];
    placeSampleAtCar(sampleSlots[SAMPLE_GEAR], pos, vel);
    alGetSource3f(sampleSlots[SAMPLE_GEAR].source, AL_VELOCITY, &v[0], &v[1], &v[2]);
    EXPECT_FLOAT_EQ(v[2], 25.0f);
    placeSampleAtCar(sampleSlots[SAMPLE_GEAR], pos, slow);
    alGetSource3f(sampleSlots[SAMPLE_GEAR].source, AL_VELOCITY, &v[0], &v[1], &v[2]);
    EXPECT_FLOAT_EQ(v[0], 3.0f);
    releaseSamples();
    closeAudioDevice();
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
}

TEST(AudioDevice, LoopbackRecordingFollowsTheClockAndSourcesPlayOut)
{
    TempDir dir;
    dir.enter();
    writeTone("click.wav", 22050, 0.2, 440);
    ASSERT_TRUE(openAudioDevice("out.wav"));
    ASSERT_TRUE(audioIsLoopback());
    Sample s;
    s.load("click.wav", false);
    alListener3f(AL_POSITION, 0, 0, 0);
    s.setPositionVelocity(0, 0, -1, 0, 0, 0);
    s.play();
    EXPECT_EQ(sourceInt(s.source, AL_SOURCE_STATE), AL_PLAYING);
    for (int frame = 1; frame <= 50; frame++)
        renderAudio(frame * 10.0); // half a second of game clock
    EXPECT_EQ(sourceInt(s.source, AL_SOURCE_STATE), AL_STOPPED) << "a 0.2 s sample has finished";
    s.release();
    closeAudioDevice();

    auto wav = readBytes("out.wav");
    ASSERT_EQ(wav.size(), 44u + 22050u * 4u) << "0.5 s of 44.1 kHz 16-bit stereo";
    EXPECT_EQ(wordAt(wav, 10), 22050 * 4) << "data chunk size in the header";
    // The tone is in the first 0.2 s and silence after it.
    auto peak = [&](double from, double to) {
        int p = 0;
        for (size_t i = 44 + 4 * size_t(from * 44100); i < 44 + 4 * size_t(to * 44100); i += 2)
            p = std::max(p, std::abs(int(int16_t(wav[i] | wav[i + 1] << 8))));
        return p;
    };
    EXPECT_GT(peak(0.02, 0.18), 1000);
    EXPECT_LT(peak(0.25, 0.5), 50);
}

} // namespace
