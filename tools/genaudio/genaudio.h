// The sound and music generator: synthesis of the game's samples and tunes into base/.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "audio_tables.h"
#include "dsp.h"
#include "platform/wav_write.h"

// Sample `index` of soundTable, as floats at the table's rate and length.
std::vector<float> synthSound(int index);
// Writes <baseDir>/sound/<name>.wav.
bool writeSound(const char *baseDir, int index);

// Tune `index` of tuneTable as interleaved stereo floats, tuneFrames() frames long.
std::vector<float> synthTune(int index);
// Writes <baseDir>/music/<name>.ogg.
bool writeTune(const char *baseDir, int index);

// Encodes interleaved floats (one or two channels) as Ogg Vorbis into `out`. The stream serial
// number is fixed by the caller so the same music always gives the same bytes.
bool encodeOggVorbis(const float *interleaved, long frames, int channels, int rate, float quality, int serial,
                     const char *title, std::vector<uint8_t> &out);
