// The generator's drawing kit and file encoders, checked on tiny pictures. (Their headers are
// proved by the game's readers taking every generated file, in the 2D content test.)
#include "canvas.h"

#include <gtest/gtest.h>

TEST(Gen2dKit, BmpRowsArePaddedAndStoredBottomUp)
{
    Image img = makeImage(3, 2, rgb(0, 0, 0));
    img.at(0, 0) = rgb(1, 0, 0);   // top left red
    img.at(2, 1) = rgb(0, 0, 1);   // bottom right blue
    std::vector<uint8_t> v = encodeBmp(img);
    ASSERT_EQ(v.size(), 54u + 2 * 12); // 9 bytes of pixels padded to 12 per row
    // First stored row is the bottom one: its third pixel is blue, in B, G, R order.
    EXPECT_EQ(v[54 + 6], 255);
    EXPECT_EQ(v[54 + 8], 0);
    EXPECT_EQ(v[54 + 9], 0); // padding
    // Second stored row is the top: red first.
    EXPECT_EQ(v[54 + 12 + 2], 255);
}

TEST(Gen2dKit, TgaRowsAreStoredBottomUpAsBgra)
{
    Image img = makeImage(2, 2, rgb(0, 0, 0, 0));
    img.at(0, 0) = rgb(1, 0.5f, 0, 1);
    std::vector<uint8_t> v = encodeTga(img, true);
    ASSERT_EQ(v.size(), 18u + 16);
    // Top-left pixel is the first of the second stored row, as B, G, R, A.
    EXPECT_EQ(v[18 + 8 + 0], 0);
    EXPECT_EQ(v[18 + 8 + 1], 128);
    EXPECT_EQ(v[18 + 8 + 2], 255);
    EXPECT_EQ(v[18 + 8 + 3], 255);
    EXPECT_EQ(encodeTga(img, false).size(), 18u + 12);
}

TEST(Gen2dKit, ShapesAreAntialiasedAndClipped)
{
    Image img = makeImage(16, 16, rgb(0, 0, 0, 0));
    // A circle partly outside the picture: no write out of bounds, a soft edge inside.
    fillShape(img, -10, -10, 30, 30, [](float x, float y) { return sdCircle(x, y, 14, 14, 6); },
              [](float, float) { return rgb(1, 1, 1); });
    EXPECT_FLOAT_EQ(img.at(14, 14).a, 1.0f);
    EXPECT_FLOAT_EQ(img.at(0, 0).a, 0.0f);
    bool soft = false;
    for (const Color &c : img.px)
        soft |= c.a > 0.05f && c.a < 0.95f;
    EXPECT_TRUE(soft);
}
