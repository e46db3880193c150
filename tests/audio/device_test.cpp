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
        ALint looping = -1, bytes = -1;
        alGetSourcei(s.source, AL_LOOPING, &looping);
        EXPECT_EQ(looping, sampleTable[i].loop ? AL_TRUE : AL_FALSE) << i;
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

} // namespace
