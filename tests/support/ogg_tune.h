// Small Ogg Vorbis tunes the tests write themselves (encoded as the content generator encodes the
// game's tunes), an independent decode of a tune for reference, and the recorded mix read back.
#pragma once
#include "genaudio.h"
#include "platform/sys_files.h"
#include "support/temp_dir.h"

#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A tune of `frames` frames whose sample i of channel c is wave(i, c), in -1..1.
inline bool writeTune(const std::string &path, long frames, int channels, int rate,
                      const std::function<double(long, int)> &wave)
{
    std::vector<float> pcm(size_t(frames * channels));
    for (long i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            pcm[size_t(i * channels + c)] = float(wave(i, c));
    std::vector<uint8_t> ogg;
    return encodeOggVorbis(pcm.data(), frames, channels, rate, 0.4f, 7, "test tune", ogg) &&
           Sys_WriteFileAtomic(path.c_str(), ogg.data(), ogg.size());
}

// A steady tone: with a whole number of periods in the tune it loops without a seam of its own.
inline bool writeToneTune(const std::string &path, long frames, int rate, double hz, double amplitude)
{
    return writeTune(path, frames, 2, rate, [&](long i, int) { return amplitude * std::sin(2 * M_PI * hz * double(i) / rate); });
}

// The whole tune as interleaved 16-bit PCM, decoded with libvorbisfile on its own, damaged
// stretches skipped as a player skips them. Empty when the file does not open.
inline std::vector<int16_t> decodeTune(const std::string &path)
{
    std::vector<int16_t> out;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) < 0)
        return out;
    char buf[4096];
    int errors = 0, bitstream = 0;
    for (;;) {
        long r = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &bitstream);
        if (r == 0 || (r < 0 && ++errors > 8))
            break;
        if (r > 0) {
            const int16_t *p = reinterpret_cast<const int16_t *>(buf);
            out.insert(out.end(), p, p + r / 2);
        }
    }
    ov_clear(&vf);
    return out;
}

// The 16-bit stereo samples of a recorded mix (--audio-out), interleaved.
inline std::vector<int16_t> readMix(const std::string &path)
{
    std::vector<unsigned char> bytes = readBytes(path);
    std::vector<int16_t> s;
    for (size_t i = 44; i + 1 < bytes.size(); i += 2)
        s.push_back(int16_t(bytes[i] | bytes[i + 1] << 8));
    return s;
}

// Peak of channel 0 of a stereo mix over frames [from, to).
inline int mixPeak(const std::vector<int16_t> &mix, long from, long to)
{
    int p = 0;
    for (long f = std::max(0L, from); f < to && size_t(2 * f) < mix.size(); f++)
        p = std::max(p, std::abs(int(mix[size_t(2 * f)])));
    return p;
}
