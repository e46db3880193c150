// Every picture of the three sets read by the game's own bitmap and TGA readers arrives with
// the size, depth and pixels the independent probe sees: what the generator meant is what the
// game gets. (The effect loader joins here once the effects subsystem reads .eff files.)
#include "image_probe.h"
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
