// Sound effects: one source and one buffer each, decoded from WAV by ALUT.
#include "audio/audio.h"
#include "formats/wav_check.h"
#include "platform/sys.h"
#include "platform/sys_files.h"

#include <AL/alut.h>

#include <cmath>
#include <string>
#include <vector>

Sample sampleSlots[SAMPLE_COUNT];
int samplePlayCount[SAMPLE_COUNT];

const SampleFile sampleTable[SAMPLE_COUNT] = {
    {"base/sound/en1.wav", true},     {"base/sound/en2.wav", true},  {"base/sound/en3.wav", true},
    {"base/sound/en4.wav", true},     {"base/sound/cr0.wav", false}, {"base/sound/cr1.wav", false},
    {"base/sound/cr2.wav", false},    {"base/sound/cr3.wav", false}, {"base/sound/st.wav", true},
    {"base/sound/point.wav", false},  {"base/sound/en_pass.wav", true}, {"base/sound/gear.wav", false},
    {"base/sound/nitro.wav", true},   {"base/sound/wind.wav", true}, {"base/sound/menu1.wav", false},
    {"base/sound/menu2.wav", false},
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void Sample::load(const char *fileName, bool loop)
{
    ALboolean fileLoops = AL_FALSE; // the file's own loop flag; the caller's decides
    data = nullptr;
    format = AL_FORMAT_MONO16;
    size = 0;
    frequency = 22050;
    std::string path = Sys_NativePath(fileName);
    // ALUT's reader does not tell a missing file from an empty one, and allocates what a damaged
    // chunk length asks for: only a file whose chunks fit reaches it. Anything else leaves the
    // buffer empty, so playing it is silent.
    std::vector<uint8_t> bytes;
    if (Sys_ReadWholeFile(fileName, bytes) && wavChunksFit(bytes.data(), bytes.size())) {
        ALsizei alSize = 0, alFrequency = 0;
        alutLoadWAVFile(reinterpret_cast<ALbyte *>(path.data()), &format, &data, &alSize, &alFrequency, &fileLoops);
        size = data ? int(alSize) : 0;
        frequency = data && alFrequency > 0 ? int(alFrequency) : 22050;
    }
    if (!data)
        Sys_ReportUnusable(fileName);
    alGenSources(1, &source);
    alGenBuffers(1, &buffer);
    if (data && size > 0)
        alBufferData(buffer, format, data, size, frequency);
    alSourcei(source, AL_BUFFER, ALint(buffer));
    if (data)
        alutUnloadWAV(format, data, size, frequency);
    data = nullptr;
    alSourcef(source, AL_PITCH, 1.0f);
    alSourcei(source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_MAX_GAIN, 1.0f);
    alSourcef(source, AL_REFERENCE_DISTANCE, 30.0f);
    sourceId = source;
}
#pragma GCC diagnostic pop

void Sample::setPositionVelocity(float x, float y, float z, float vx, float vy, float vz)
{
    alSource3f(source, AL_POSITION, x, y, z);
    alSource3f(source, AL_VELOCITY, vx, vy, vz);
}

void Sample::play()
{
    alSourcePlay(source);
    if (this >= sampleSlots && this < sampleSlots + SAMPLE_COUNT)
        samplePlayCount[this - sampleSlots]++;
}
void Sample::stop() { alSourceStop(source); }
void Sample::setGain(float gain) { alSourcef(source, AL_GAIN, gain); }
void Sample::setPitch(float pitch) { alSourcef(source, AL_PITCH, pitch); }

bool Sample::isPlaying() const
{
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void Sample::release()
{
    alDeleteSources(1, &source);
    alDeleteBuffers(1, &buffer);
    source = buffer = sourceId = 0;
}

void loadSamples()
{
    for (int i = 0; i < SAMPLE_COUNT; i++)
        sampleSlots[i].load(sampleTable[i].file, sampleTable[i].loop);
}

void releaseSamples()
{
    for (int i = 0; i < SAMPLE_COUNT; i++)
        sampleSlots[i].release();
}

void boundDopplerVelocity(float v[3])
{
    float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len > 25.0f)
        for (int i = 0; i < 3; i++)
            v[i] *= 25.0f / len;
}

void placeSampleAtCar(Sample &s, const float p[3], const float v[3])
{
    float b[3] = {v[0], v[1], v[2]};
    boundDopplerVelocity(b);
    s.setPositionVelocity(p[0], p[1], p[2], b[0], b[1], b[2]);
}

void placeListener(const float p[3], const float forward[3], const float v[3])
{
    const float orientation[6] = {forward[0], forward[1], forward[2], 0, 1, 0};
    float b[3] = {v[0], v[1], v[2]};
    boundDopplerVelocity(b);
    alListener3f(AL_POSITION, p[0], p[1], p[2]);
    alListenerfv(AL_ORIENTATION, orientation);
    alListener3f(AL_VELOCITY, b[0], b[1], b[2]);
}

bool checkAlError()
{
    ALenum err = alGetError();
    if (err == AL_NO_ERROR)
        return true;
    std::string text = std::string("OpenAL error: ") + (alGetString(err) ? alGetString(err) : "");
    Sys_MessageBox(text.c_str(), "Error", MB_OK | MB_ICONEXCLAMATION);
    return false;
}
