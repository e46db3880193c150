// Writes the starting corpus of the fuzz targets: one small valid file of each kind the readers
// accept, made by the same builders the reader tests use.
#include "support/ms3d_write.h"

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
    return 0;
}
