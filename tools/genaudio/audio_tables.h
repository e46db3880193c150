// What the sound generator writes: the sixteen samples in the game's load order and the five
// tunes. The tests read the same tables, so a change of design is a change in one place.
#pragma once

// Engine loops are whole numbers of firing periods so that they repeat without a seam; the
// periods are in samples at 22050 Hz. The game plays them at pitch 0.35 at idle (1000 rpm) and
// about 1.75 at 8000 rpm, so a fundamental near 100 Hz idles around 35 Hz and screams near 180.
constexpr int kEngineRate = 22050;
constexpr int kPeriodEn1 = 210;  // 105 Hz, four cylinders
constexpr int kPeriodEn2 = 245;  // 90 Hz, uneven-firing eight
constexpr int kPeriodEn3 = 180;  // 122.5 Hz, straight six
constexpr int kPeriodEn4 = 150;  // 147 Hz, two-pulse rasp

struct SoundInfo {
    const char *name;      // file is base/sound/<name>.wav
    int rate;              // samples per second (mono, 16-bit)
    bool loop;             // the game loops it; the generator makes the seam continuous
    int frames;            // length in samples
    float fundamental;     // designed strongest low partial in Hz, 0 for untuned sounds
};

constexpr int kSoundCount = 16;
inline constexpr SoundInfo soundTable[kSoundCount] = {
    {"en1", kEngineRate, true, kPeriodEn1 * 4 * 26, float(kEngineRate) / kPeriodEn1},
    {"en2", kEngineRate, true, kPeriodEn2 * 8 * 11, float(kEngineRate) / kPeriodEn2},
    {"en3", kEngineRate, true, kPeriodEn3 * 6 * 20, float(kEngineRate) / kPeriodEn3},
    {"en4", kEngineRate, true, kPeriodEn4 * 2 * 72, float(kEngineRate) / kPeriodEn4},
    {"cr0", 44100, false, 22050, 0},
    {"cr1", 44100, false, 35280, 0},
    {"cr2", 44100, false, 52920, 0},
    {"cr3", 44100, false, 79380, 0},
    {"st", 22050, true, 33075, 1050.0f},
    {"point", 44100, false, 35280, 0},
    // Shares the player's engine pitch, so it is built on the same firing period as en1.
    {"en_pass", kEngineRate, true, kPeriodEn1 * 4 * 52, float(kEngineRate) / kPeriodEn1},
    {"gear", 22050, false, 5512, 0},
    {"nitro", 22050, true, 44100, 0},
    {"wind", 22050, true, 66150, 0},
    {"menu1", 44100, false, 1544, 0},
    {"menu2", 44100, false, 3969, 0},
};

struct TuneInfo {
    const char *name;   // file is base/music/<name>.ogg
    unsigned seed;      // drives the progression, patterns and melody
    float bpm;
    int bars;           // of four beats; a multiple of four (phrases of four bars)
    int root;           // MIDI note of the key's tonic (minor keys)
    bool calm;          // the menu's night-drive mood instead of a race groove
};

constexpr int kMusicRate = 44100;
constexpr int kTuneCount = 5;
inline constexpr TuneInfo tuneTable[kTuneCount] = {
    {"menu", 0x51a7e, 84.0f, 28, 57, true},   // A minor, 80 s
    {"1", 0x1d0c5, 120.0f, 36, 52, false},    // E minor, 72 s
    {"2", 0x2b7e1, 128.0f, 40, 55, false},    // G minor, 75 s
    {"3", 0x3f4a9, 136.0f, 44, 50, false},    // D minor, 77.6 s
    {"4", 0x49c33, 144.0f, 48, 49, false},    // C# minor, 80 s
};

constexpr long tuneFrames(const TuneInfo &t)
{
    return long(double(t.bars) * 4.0 * 60.0 / double(t.bpm) * kMusicRate + 0.5);
}
