// Audio: the OpenAL device, the sixteen samples and the streamed music.
#pragma once
#include <AL/al.h>

// One sound effect: its own OpenAL source and buffer, loaded once and kept for the whole run.
class Sample {
public:
    unsigned sourceId = 0; // a copy of the source name for callers that set source properties
    void *data = nullptr;  // decoded PCM while loading
    ALenum format = 0;
    int frequency = 0;
    int size = 0;
    unsigned source = 0;
    unsigned buffer = 0;

    void load(const char *fileName, bool loop);
    void setPositionVelocity(float x, float y, float z, float vx, float vy, float vz);
    void play();
    void stop();
    void setGain(float gain);
    void setPitch(float pitch);
    bool isPlaying() const;
    void release();
};

enum {
    SAMPLE_EN1, SAMPLE_EN2, SAMPLE_EN3, SAMPLE_EN4, SAMPLE_CR0, SAMPLE_CR1, SAMPLE_CR2, SAMPLE_CR3,
    SAMPLE_ST, SAMPLE_POINT, SAMPLE_EN_PASS, SAMPLE_GEAR, SAMPLE_NITRO, SAMPLE_WIND, SAMPLE_MENU1,
    SAMPLE_MENU2, SAMPLE_COUNT
};
extern Sample sampleSlots[SAMPLE_COUNT];
// How often each sample was started, for the trace: tests hear which sounds an event set off.
extern int samplePlayCount[SAMPLE_COUNT];
struct SampleFile {
    const char *file;
    bool loop;
};
extern const SampleFile sampleTable[SAMPLE_COUNT];
void loadSamples();
void releaseSamples();

// Sets a sample's position and velocity from a car's body, bounding the velocity to 25 so the
// Doppler shift stays tame.
void placeSampleAtCar(Sample &s, const float position[3], const float velocity[3]);
// The same bound for any velocity handed to OpenAL (the listener's too).
void boundDopplerVelocity(float velocity[3]);
// The listener at position, facing forward with y up, moving at velocity (bounded as above).
void placeListener(const float position[3], const float forward[3], const float velocity[3]);

// Shows "OpenAL error: ..." when OpenAL reports an error; false then.
bool checkAlError();

// ---- device ----
// Opens "DirectSound3D", then the default device, then a silent loopback device rendered into
// nothing (or into --audio-out). With `silent` (a run nobody listens to) only the loopback
// device is tried. False only when not even the loopback device can be had.
bool openAudioDevice(const char *audioOutPath, bool silent = false);
void closeAudioDevice();
// Renders the loopback device up to the game clock (milliseconds since start).
void renderAudio(double clockMs);
bool audioIsLoopback();

// ---- music streams ----
class MusicStream {
public:
    bool open(const char *path, bool loop, bool streaming);
    void play();
    void stop();
    void rewind();
    bool update();
    void setGain(float gain);
    void close();
};
extern MusicStream menuMusic, raceMusic;
// The gain ramp of the tune playing: starts below 0 so a tune begins silent, rises by the frame,
// and counts as 0..1.
extern float musicFade;
