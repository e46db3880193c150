// 16-bit PCM WAV writer: whole buffers for the content tools, streamed frames for --audio-out.
#pragma once
#include <cstdint>
#include <cstdio>

bool Sys_WriteWav(const char *path, int channels, int rate, const int16_t *samples, long frames);

struct WavStream {
    FILE *file = nullptr;
    int channels = 2;
    int rate = 44100;
    long frames = 0;
};
bool wavStreamOpen(WavStream &w, const char *path, int channels, int rate);
void wavStreamWrite(WavStream &w, const int16_t *samples, long frames);
// Fills in the header sizes and closes the file.
void wavStreamClose(WavStream &w);
