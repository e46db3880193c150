// The start-up loading screen as the player sees it: the game binary with the generated
// content, one screenshot in the first seven seconds and one after, compared with the two
// loading pictures themselves.
#include "support/game_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "render/images.h"

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb; // top row first
    const unsigned char *at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

uint32_t be32(const unsigned char *p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The game's screenshots are PNGs of stored (uncompressed) deflate blocks with filter 0 rows,
// which is all this reads.
bool readScreenshot(const std::string &path, Picture *out)
{
    std::vector<unsigned char> png = readBytes(path);
    if (png.size() < 33)
        return false;
    std::vector<unsigned char> z;
    for (size_t p = 8; p + 12 <= png.size();) {
        uint32_t length = be32(&png[p]);
        std::string type(png.begin() + long(p) + 4, png.begin() + long(p) + 8);
        if (p + 12 + length > png.size())
            return false;
        if (type == "IHDR") {
            out->width = int(be32(&png[p + 8]));
            out->height = int(be32(&png[p + 12]));
            if (png[p + 16] != 8 || png[p + 17] != 2)
                return false; // 8-bit RGB only
        } else if (type == "IDAT") {
            z.insert(z.end(), png.begin() + long(p) + 8, png.begin() + long(p) + 8 + length);
        }
        p += 12 + length;
    }
    std::vector<unsigned char> raw;
    for (size_t p = 2; p + 5 <= z.size();) {
        bool last = z[p] & 1;
        if ((z[p] >> 1) & 3)
            return false; // compressed block: not what the game writes
        size_t n = z[p + 1] | z[p + 2] << 8;
        p += 5;
        if (p + n > z.size())
            return false;
        raw.insert(raw.end(), z.begin() + long(p), z.begin() + long(p + n));
        p += n;
        if (last)
            break;
    }
    size_t stride = size_t(out->width) * 3 + 1;
    if (raw.size() < stride * out->height)
        return false;
    out->rgb.resize(size_t(out->width) * out->height * 3);
    for (int y = 0; y < out->height; y++)
        std::memcpy(&out->rgb[size_t(y) * out->width * 3], &raw[y * stride + 1], stride - 1);
    return true;
}

// A loading picture stretched over the screen, sampled at screen pixel (x, y from the top).
const unsigned char *imageAt(const RgbImage &image, const Picture &screen, int x, int y)
{
    int ix = int(int64_t(x) * image.width / screen.width);
    int iyFromTop = int(int64_t(y) * image.height / screen.height);
    return image.data + (size_t(image.height - 1 - iyFromTop) * image.width + ix) * 3;
}

// Mean colour difference over an 8 x 8 grid of block averages: filtering changes single pixels,
// not the average of a block.
double blockDifference(const RgbImage &image, const Picture &screen)
{
    double total = 0;
    for (int by = 0; by < 8; by++)
        for (int bx = 0; bx < 8; bx++)
            for (int c = 0; c < 3; c++) {
                double a = 0, b = 0;
                int n = 0;
                for (int y = by * screen.height / 8; y < (by + 1) * screen.height / 8; y += 3)
                    for (int x = bx * screen.width / 8; x < (bx + 1) * screen.width / 8; x += 3, n++) {
                        a += screen.at(x, y)[c];
                        b += imageAt(image, screen, x, y)[c];
                    }
                total += std::abs(a - b) / n;
            }
    return total / (8 * 8 * 3);
}

TEST(LoadingScreenRun, FirstPictureBeforeSevenSecondsThenTheSecondWithLoadingText)
{
    TempDir dir;
    linkContent(dir);
    // 50 ms frames: the smoothed clock passes 7 s at about frame 165 and 8 s at about 185.
    GameRun r = runGame(dir, {"--windowed", "--frames", "180", "--fixed-frame-ms", "50", "--no-browser",
                              "--auto-answer", "yes", "--screenshot", "100:early.png", "--screenshot", "175:late.png"});
    ASSERT_FALSE(r.timedOut);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;

    std::unique_ptr<RgbImage, void (*)(RgbImage *)> first(loadBmpImage(COBALT_BASE_DIR "/textures/tex42.bmp"), freeRgbImage);
    std::unique_ptr<RgbImage, void (*)(RgbImage *)> second(loadBmpImage(COBALT_BASE_DIR "/textures/tex41.bmp"), freeRgbImage);
    ASSERT_TRUE(first && second);
    Picture early, late;
    ASSERT_TRUE(readScreenshot(dir.file("early.png"), &early));
    ASSERT_TRUE(readScreenshot(dir.file("late.png"), &late));

    double earlyFirst = blockDifference(*first, early), earlySecond = blockDifference(*second, early);
    double lateFirst = blockDifference(*first, late), lateSecond = blockDifference(*second, late);
    EXPECT_LT(earlyFirst, 6.0);
    EXPECT_LT(earlyFirst, earlySecond);
    EXPECT_LT(lateSecond, 6.0);
    EXPECT_LT(lateSecond, lateFirst);

    // "Loading..." at (520, 24) of the 800 x 600 screen, small font: light glyph pixels where
    // the picture has none.
    int brighter = 0;
    for (int vy = 24; vy < 40; vy++)
        for (int vx = 520; vx < 620; vx++) {
            int x = vx * late.width / 800, y = late.height - 1 - vy * late.height / 600;
            int shot = late.at(x, y)[0] + late.at(x, y)[1] + late.at(x, y)[2];
            const unsigned char *p = imageAt(*second, late, x, y);
            if (shot > p[0] + p[1] + p[2] + 150)
                brighter++;
        }
    EXPECT_GT(brighter, 40) << "the text is drawn over the second picture";
}

} // namespace
