#include "platform/wav_write.h"
#include "platform/sys_files.h"

namespace {

void put16(uint8_t *p, uint32_t v) { p[0] = uint8_t(v); p[1] = uint8_t(v >> 8); }
void put32(uint8_t *p, uint32_t v) { put16(p, v); put16(p + 2, v >> 16); }

void header(uint8_t h[44], int channels, int rate, long frames)
{
    uint32_t dataBytes = uint32_t(frames) * uint32_t(channels) * 2;
    const char *tags[] = {"RIFF", "WAVE", "fmt ", "data"};
    const int at[] = {0, 8, 12, 36};
    for (int i = 0; i < 4; i++)
        for (int k = 0; k < 4; k++)
            h[at[i] + k] = uint8_t(tags[i][k]);
    put32(h + 4, 36 + dataBytes);
    put32(h + 16, 16);
    put16(h + 20, 1);
    put16(h + 22, uint32_t(channels));
    put32(h + 24, uint32_t(rate));
    put32(h + 28, uint32_t(rate * channels * 2));
    put16(h + 32, uint32_t(channels * 2));
    put16(h + 34, 16);
    put32(h + 40, dataBytes);
}

} // namespace

bool Sys_WriteWav(const char *path, int channels, int rate, const int16_t *samples, long frames)
{
    WavStream w;
    if (!wavStreamOpen(w, path, channels, rate))
        return false;
    wavStreamWrite(w, samples, frames);
    wavStreamClose(w);
    return true;
}

bool wavStreamOpen(WavStream &w, const char *path, int channels, int rate)
{
    w.file = Sys_FOpen(path, "wb");
    w.channels = channels;
    w.rate = rate;
    w.frames = 0;
    if (!w.file)
        return false;
    uint8_t h[44];
    header(h, channels, rate, 0);
    std::fwrite(h, 1, sizeof h, w.file);
    return true;
}

void wavStreamWrite(WavStream &w, const int16_t *samples, long frames)
{
    if (!w.file || frames <= 0)
        return;
    // WAV is little-endian, as is every machine we build for.
    std::fwrite(samples, sizeof(int16_t) * size_t(w.channels), size_t(frames), w.file);
    w.frames += frames;
}

void wavStreamClose(WavStream &w)
{
    if (!w.file)
        return;
    uint8_t h[44];
    header(h, w.channels, w.rate, w.frames);
    std::fseek(w.file, 0, SEEK_SET);
    std::fwrite(h, 1, sizeof h, w.file);
    std::fclose(w.file);
    w.file = nullptr;
}
