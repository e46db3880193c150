// Writes the starting corpus of the fuzz targets: one small valid file of each kind the readers
// accept, made by the same builders the reader tests use.
#include "common/controls.h"
#include "formats/data_files.h"
#include "genaudio.h"
#include "support/ms3d_write.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

static void save(const std::filesystem::path &path, const Bytes &bytes)
{
    std::filesystem::create_directories(path.parent_path());
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
}

// A RIFF WAVE file: a format chunk of `format` (1 PCM, 7 mu-law), any chunks in `extra` before the
// data, and `frames` frames of a ramp.
static Bytes makeWav(int format, int channels, int bits, int rate, int frames, const Bytes &extra = {})
{
    int blockAlign = channels * bits / 8;
    Bytes data;
    for (int i = 0; i < frames * blockAlign; i++)
        data.push_back((unsigned char)(i * 37));
    Bytes b = {'R', 'I', 'F', 'F'};
    put32(b, uint32_t(4 + 24 + extra.size() + 8 + data.size() + (data.size() & 1)));
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, unsigned(format));
    put16(b, unsigned(channels));
    put32(b, uint32_t(rate));
    put32(b, uint32_t(rate * blockAlign));
    put16(b, unsigned(blockAlign));
    put16(b, unsigned(bits));
    b.insert(b.end(), extra.begin(), extra.end());
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    if (data.size() & 1)
        b.push_back(0); // chunks are padded to even lengths
    return b;
}

static Bytes makeTune(long frames, int channels, int rate)
{
    std::vector<float> pcm(size_t(frames * channels));
    for (long i = 0; i < frames; i++)
        for (int c = 0; c < channels; c++)
            pcm[size_t(i * channels + c)] = float(0.3 * std::sin(0.05 * double(i) * (c + 1)));
    std::vector<uint8_t> ogg;
    encodeOggVorbis(pcm.data(), frames, channels, rate, 0.1f, 3, "seed", ogg);
    return Bytes(ogg.begin(), ogg.end());
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTPUT_DIR\n");
        return 2;
    }
    std::filesystem::path out = argv[1];
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        BmpLayout b;
        b.width = 5;
        b.height = bits == 32 ? -3 : 3; // one top-down file
        b.bits = bits;
        if (bits <= 8) { // no used-colours count: the table is full length
            b.palette = {{0, 0, 0}, {255, 128, 0}, {20, 40, 200}};
            b.palette.resize(size_t(1) << bits);
        }
        b.pixel = [bits](int x, int row) { return bits <= 8 ? uint32_t((x + row) % 3) : uint32_t(x * 0x102030 + row); };
        save(out / "bmp" / ("b" + std::to_string(bits) + ".bmp"), makeBmp(b));
    }
    BmpLayout core;
    core.width = 3;
    core.height = 2;
    core.bits = 8;
    core.headerSize = 12;
    core.palette = {{10, 20, 30}, {200, 100, 0}};
    core.palette.resize(256);
    save(out / "bmp" / "core8.bmp", makeBmp(core));
    // Every other header version, each with a depth or layout of its own.
    struct Variant {
        const char *name;
        int headerSize, bits;
        uint32_t compression;
        std::vector<uint32_t> masks;
    } variants[] = {
        {"os2short4", 16, 4, 0, {}},
        {"os2long8", 64, 8, 0, {}},
        {"v2_565", 52, 16, 3, {0xF800, 0x07E0, 0x001F}},
        {"v3_4444", 56, 16, 3, {0x0F00, 0x00F0, 0x000F, 0xF000}},
        {"info565", 40, 16, 3, {0xF800, 0x07E0, 0x001F}},
        {"info1555", 40, 16, 6, {0x7C00, 0x03E0, 0x001F, 0x8000}},
        {"v4_1010102", 108, 32, 3, {0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000}},
        {"v5_8888", 124, 32, 3, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
    };
    for (const Variant &v : variants) {
        BmpLayout b;
        b.width = 5;
        b.height = 3;
        b.headerSize = v.headerSize;
        b.bits = v.bits;
        b.compression = v.compression;
        b.masks = v.masks;
        if (v.bits <= 8) {
            b.palette = {{0, 0, 0}, {255, 128, 0}, {20, 40, 200}};
            b.palette.resize(size_t(1) << v.bits);
        }
        b.pixel = [](int x, int row) { return uint32_t(x * 0x9E3779B1u + row); };
        save(out / "bmp" / (std::string(v.name) + ".bmp"), makeBmp(b));
    }
    // Run-length streams with every code: runs, end of line, delta, absolute runs, end.
    BmpLayout rle;
    rle.width = 7;
    rle.height = 3;
    rle.palette = {{0, 0, 0}, {255, 128, 0}, {20, 40, 200}};
    rle.colorsUsed = 3;
    rle.bits = 8;
    rle.compression = 1;
    rle.rle = {3, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 1, 4, 2, 0, 1};
    save(out / "bmp" / "rle8.bmp", makeBmp(rle));
    rle.bits = 4;
    rle.compression = 2;
    rle.rle = {4, 0x12, 0, 3, 0x21, 0x00, 0, 0, 0, 2, 1, 1, 5, 0x20, 0, 0, 0, 1};
    save(out / "bmp" / "rle4.bmp", makeBmp(rle));
    for (int bits : {24, 32})
        save(out / "tga" / ("a" + std::to_string(bits) + ".tga"), makeTga(2, 2, bits, Bytes(size_t(2 * 2 * bits / 8), 90)));
    save(out / "ms3d" / "quad.ms3d", makeMs3d(quadModel("base/textures/road.bmp")));
    EffectParams smoke = {60, 1.1f, {0, 0.5f, 0}, {0.0004f, 0.0004f, 0.0004f}, 1.0f, {24, 20, 24}, {12, 4, 12}, 40,
                          4000.0f, 0.008f, 0.01f, 0.14f, 0.008f, 1.0f, 0};
    save(out / "eff" / "smoke.eff", makeEffect(smoke));

    // Waypoints: a small loop, and an empty table.
    Bytes loop;
    put32(loop, 4);
    for (int i = 0; i < 4; i++)
        for (int v : {i * 40, 0, (i % 2) * 60, 7, i})
            put32(loop, uint32_t(v));
    save(out / "waypoints" / "loop.ai", loop);
    save(out / "waypoints" / "empty.ai", Bytes(4, 0));

    // Buildings: a square and a trapezoid wound the other way round, and the same with the
    // trapezoid's middle corners swapped, crossing its footprint into a bow-tie to be refused.
    Bytes town = {'B', 'L', 'D', 'G'};
    put32(town, 2);
    for (float f : {0.0f, 0.0f, 10.0f, 0.0f, 10.0f, 10.0f, 0.0f, 10.0f, 0.0f, 12.0f,
                    -40.0f, 5.0f, -36.0f, 25.0f, -24.0f, 25.0f, -20.0f, 5.0f, 0.5f, 30.0f})
        putFloat(town, f);
    save(out / "buildings" / "town.dat", town);
    std::swap_ranges(town.begin() + 56, town.begin() + 64, town.begin() + 64);
    save(out / "buildings" / "crossed.dat", town);

    // The data files as the game writes them: defaults and a changed record.
    unsigned char settings[kSettingsFileSize];
    encodeSettingsFile(SettingsRecord(), settings);
    save(out / "settings" / "default.inf", Bytes(settings, settings + sizeof settings));
    SettingsRecord changed;
    changed.resolutionIndex = 4;
    changed.colorBits = changed.depthBits = 16;
    changed.musicOn = false;
    changed.mouseSensitivity = -3;
    encodeSettingsFile(changed, settings);
    save(out / "settings" / "changed.inf", Bytes(settings, settings + sizeof settings));
    Career career = {};
    career.carOpen[0] = career.carOpen[1] = career.carOpen[2] = true;
    career.racesOpen = 1;
    career.cash = 350;
    career.careerStarted = 1;
    unsigned char careerFile[kCareerFileSize];
    encodeCareerFile(career, careerFile);
    save(out / "career" / "new.inf", Bytes(careerFile, careerFile + sizeof careerFile));
    career.carOpen[5] = true;
    career.tuningBought[1][0] = career.tuningBought[1][1] = 1;
    career.raceSlot[0] = {true, 1};
    career.raceSlot[1] = {false, 3};
    career.racesOpen = 3;
    career.careerPoints = 150;
    career.cash = 1200;
    encodeCareerFile(career, careerFile);
    save(out / "career" / "played.inf", Bytes(careerFile, careerFile + sizeof careerFile));

    // Sounds of every kind ALUT's reader takes, one with a chunk it must skip.
    Bytes list = {'L', 'I', 'S', 'T'};
    put32(list, 5);
    list.insert(list.end(), {'I', 'N', 'F', 'O', 0, 0});
    save(out / "wav" / "mono8.wav", makeWav(1, 1, 8, 11025, 33));
    save(out / "wav" / "stereo16.wav", makeWav(1, 2, 16, 22050, 40, list));
    save(out / "wav" / "mulaw.wav", makeWav(7, 1, 8, 8000, 25));

    // Tunes: mono, stereo, and one a few frames long.
    save(out / "ogg" / "mono.ogg", makeTune(4000, 1, 11025));
    save(out / "ogg" / "stereo.ogg", makeTune(6000, 2, 22050));
    save(out / "ogg" / "short.ogg", makeTune(50, 2, 8000));

    Bytes controlsFile(kControlsFileSize);
    encodeControls(defaultControls(), controlsFile.data());
    save(out / "controls" / "defaults.inf", controlsFile);
    return 0;
}
