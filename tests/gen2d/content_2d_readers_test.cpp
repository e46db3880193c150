// Every picture of the three sets read by the game's own bitmap and TGA readers arrives with
// the size, depth and pixels the independent probe sees: what the generator meant is what the
// game gets. The effect files come through the game's reader untouched by its repairs.
#include "image_probe.h"
#include "formats/effect_file.h"
#include "platform/sys_files.h"
#include "support/file_builders.h"
#include "render/images.h"
#include "render/texture_names.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string setPath(int entry, const char *ext)
{
    char name[64];
    snprintf(name, sizeof name, COBALT_BASE_DIR "/textures/tex%02d.%s", entry, ext);
    return name;
}

} // namespace

TEST(Content2dGameReaders, BitmapSetArrivesAsWritten)
{
    static_assert(int(TEXTURE_SET_FILES) == kTextureSetFiles, "the name table and the set disagree");
    for (int i = 0; i < TEXTURE_SET_FILES; i++) {
        std::string path = setPath(i, "bmp");
        ProbeImage probe = probeBmp(path);
        ASSERT_TRUE(probe.error.empty()) << path << ": " << probe.error;
        RgbImage *img = loadBmpImage(path.c_str());
        ASSERT_NE(img, nullptr) << path;
        EXPECT_EQ(img->width, probe.width) << path;
        EXPECT_EQ(img->height, probe.height) << path;
        EXPECT_EQ(memcmp(img->data, probe.pixels.data(), probe.pixels.size()), 0) << path;
        freeRgbImage(img);
    }
}

TEST(Content2dGameReaders, TgaSetArrivesAsWritten)
{
    static_assert(int(TGA_SET_FILES) == kTgaSetSize, "the name table and the set disagree");
    for (int i = 0; i < TGA_SET_FILES; i++) {
        std::string path = setPath(i, "tga");
        ProbeImage probe = probeTga(path);
        ASSERT_TRUE(probe.error.empty()) << path << ": " << probe.error;
        TgaImage img{};
        ASSERT_TRUE(readTgaFile(path.c_str(), &img)) << path;
        EXPECT_EQ(img.width, probe.width) << path;
        EXPECT_EQ(img.height, probe.height) << path;
        EXPECT_EQ(img.bytesPerPixel, probe.channels) << path;
        EXPECT_EQ(memcmp(img.pixels, probe.pixels.data(), probe.pixels.size()), 0) << path;
        delete[] img.pixels;
    }
}

TEST(Content2dGameReaders, EffectFilesArriveAsWritten)
{
    for (const char *name : {"firepipe.eff", "smokepipe.eff", "dust.eff"}) {
        std::string path = std::string(COBALT_BASE_DIR "/effects/") + name;
        std::vector<uint8_t> raw;
        ASSERT_TRUE(Sys_ReadWholeFile(path.c_str(), raw)) << path;
        EffectParams e;
        ASSERT_TRUE(readEffectFile(path.c_str(), &e)) << path;
        EXPECT_EQ(makeEffect(e), Bytes(raw.begin(), raw.end())) << path << ": every value as the generator wrote it";
    }
}
