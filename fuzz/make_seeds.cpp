// Writes the starting corpus of the fuzz targets: one small valid file of each kind the readers
// accept, made by the same builders the render tests use.
#include "support/file_builders.h"

#include <cstdio>
#include <filesystem>
#include <string>

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
        if (bits <= 8)
            b.palette = {{0, 0, 0}, {255, 128, 0}, {20, 40, 200}};
        b.pixel = [bits](int x, int row) { return bits <= 8 ? uint32_t((x + row) % 3) : uint32_t(x * 0x102030 + row); };
        save(out / "bmp" / ("b" + std::to_string(bits) + ".bmp"), makeBmp(b));
    }
    BmpLayout core;
    core.width = 3;
    core.height = 2;
    core.bits = 8;
    core.coreHeader = true;
    core.palette = {{10, 20, 30}, {200, 100, 0}};
    save(out / "bmp" / "core8.bmp", makeBmp(core));
    for (int bits : {24, 32})
        save(out / "tga" / ("a" + std::to_string(bits) + ".tga"), makeTga(2, 2, bits, Bytes(size_t(2 * 2 * bits / 8), 90)));
    save(out / "ms3d" / "quad.ms3d", makeMs3d(quadModel("base/textures/road.bmp")));
    return 0;
}
