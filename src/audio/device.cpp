// The OpenAL device and context. Machines without a sound card still run the game: a loopback
// device mixes every frame into a buffer that is thrown away, or written to --audio-out, so
// sources play out and stop exactly as they would through speakers.
#include "audio/audio.h"
#include "platform/wav_write.h"

#include <AL/alc.h>
#include <AL/alext.h>

#include <cmath>
#include <vector>

// A recorded mix has the quality of the game's sound; a mix that is thrown away only has to
// play the sources out on time, which the lowest rate does at a fraction of the work.
static const int LOOPBACK_RATE = 44100;
static const int DISCARDED_MIX_RATE = 8000;

static struct {
    ALCdevice *device;
    ALCcontext *context;
    bool loopback;
    int rate;
    LPALCRENDERSAMPLESSOFT renderSamples;
    long framesRendered;
    WavStream out;
} audio;

static bool openLoopback(int rate)
{
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback"))
        return false;
    auto openLoop = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    audio.renderSamples = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoop || !audio.renderSamples)
        return false;
    audio.device = openLoop(nullptr);
    if (!audio.device)
        return false;
    // A loopback device has no format of its own: the context states it. A mix nobody hears
    // needs no limiter either.
    const ALCint limiter = rate == DISCARDED_MIX_RATE ? ALC_FALSE : ALC_DONT_CARE_SOFT;
    const ALCint attrs[] = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT, ALC_SHORT_SOFT,
                            ALC_FREQUENCY, rate, ALC_OUTPUT_LIMITER_SOFT, limiter, 0};
    audio.context = alcCreateContext(audio.device, attrs);
    if (!audio.context) {
        alcCloseDevice(audio.device);
        audio.device = nullptr;
        return false;
    }
    audio.loopback = true;
    audio.rate = rate;
    return true;
}

bool openAudioDevice(const char *audioOutPath, bool silent)
{
    audio = {};
    if (!audioOutPath && !silent) {
        audio.device = alcOpenDevice("DirectSound3D");
        if (!audio.device)
            audio.device = alcOpenDevice(nullptr);
        if (audio.device) {
            audio.context = alcCreateContext(audio.device, nullptr);
            if (!audio.context) {
                alcCloseDevice(audio.device);
                audio.device = nullptr;
            }
        }
    }
    if (!audio.device && !openLoopback(audioOutPath ? LOOPBACK_RATE : DISCARDED_MIX_RATE))
        return false;
    alcMakeContextCurrent(audio.context);
    alGetError();
    // Every sound of the game fades with distance the same way.
    alDistanceModel(AL_INVERSE_DISTANCE);
    if (audio.loopback && audioOutPath)
        wavStreamOpen(audio.out, audioOutPath, 2, LOOPBACK_RATE);
    return true;
}

bool audioIsLoopback()
{
    return audio.loopback;
}

void renderAudio(double clockMs)
{
    if (!audio.loopback)
        return;
    long due = long(std::floor(clockMs * audio.rate / 1000.0)) - audio.framesRendered;
    // A mix nobody hears is rendered in steps of 50 ms: the sources' changes of a few frames are
    // taken up at once, and a sound still ends within a step of when it would.
    if (!audio.out.file && due < audio.rate / 20)
        return;
    static std::vector<int16_t> block;
    while (due > 0) {
        long n = due < 4096 ? due : 4096;
        block.resize(size_t(n) * 2);
        audio.renderSamples(audio.device, block.data(), ALCsizei(n));
        wavStreamWrite(audio.out, block.data(), n);
        audio.framesRendered += n;
        due -= n;
    }
}

void closeAudioDevice()
{
    ALCcontext *context = alcGetCurrentContext();
    ALCdevice *device = context ? alcGetContextsDevice(context) : nullptr;
    alcMakeContextCurrent(nullptr);
    if (context)
        alcDestroyContext(context);
    if (device)
        alcCloseDevice(device);
    wavStreamClose(audio.out);
    audio = {};
}
