// Audio: the OpenAL device, the sixteen samples and the streamed music.
#pragma once
#include <AL/al.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
struct OggVorbis_File;
struct vorbis_comment;
struct vorbis_info;

// Each buffer of a stream holds up to this much 16-bit PCM (about 1.5 s of 44.1 kHz stereo).
constexpr int MUSIC_BUFFER_BYTES = 0x40000;
// Decoding a whole buffer takes several milliseconds, so the next one is decoded ahead in steps
// of this size, one per update, and a frame never pays for more than a step.
constexpr int MUSIC_DECODE_STEP = 0x4000;
enum { MUSIC_BUFFERS = 2, MUSIC_STREAMS = 2 };

// PCM decoded ahead of the source: the next buffer's worth, or the first two buffers of the tune,
// which are kept so that a rewind costs no decoding.
struct MusicBlock {
    std::vector<char> pcm;
    int bytes = 0;
    bool complete = false; // full, or holding the last part of the tune
};

// A tune decoded while it plays: one source fed by two buffers that take turns, so a tune of any
// length needs a fixed, small amount of memory and loops in the decoder without a gap.
class MusicStream {
public:
    float velocity[3] = {0, 0, 0};
    float position[3] = {0, 0, 0};
    unsigned sourceId = 0; // a copy of the source name for the fade code
    bool looping = false;
    unsigned source = 0;
    OggVorbis_File *decoder = nullptr;
    vorbis_comment *comment = nullptr; // both owned by the decoder
    vorbis_info *info = nullptr;
    FILE *file = nullptr; // read only through the decoder's file callbacks
    bool streaming = false;

    unsigned buffers[MUSIC_BUFFERS] = {};
    bool idle[MUSIC_BUFFERS] = {}; // played out and taken back from the source, waiting for PCM
    bool playing = false;          // asked to play: a source found stopped has run dry
    bool ended = false;            // nothing more will be decoded (a tune that does not loop, or bad data)
    bool failed = false;           // the decoder met data it cannot go on from: it is not asked again
    int decodeErrors = 0;          // damaged stretches in a row
    int playedMark = 0;            // the source's byte offset in its queue at the last update
    MusicBlock next;
    MusicBlock head[MUSIC_BUFFERS];
    long long headResume = 0; // where the decoder goes on after the head
    bool headEnded = false;

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

// Format and rate of every stream buffer, by buffer name; a refill reads them from here.
struct MusicBufferRecord {
    unsigned buffer; // 0: a free record
    std::string fileName;
    int rate;
    ALenum format;
};
extern MusicBufferRecord musicBufferRecords[MUSIC_STREAMS * MUSIC_BUFFERS];
const MusicBufferRecord *findMusicBuffer(unsigned buffer);

