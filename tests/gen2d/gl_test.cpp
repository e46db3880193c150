// The generated glyph sheet and loading pictures drawn by the game's own printers on a real GL
// context (Xvfb + Mesa), from the build's base/: text must sit on the line it is printed at and step
// inside its advance, and the loading caption must stay readable. The frames are also saved for
// people (build/screens_2d/game_text.png and game_loading.png).
#include "support/test_window.h"
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "content/content.h"
#include "frontend/frontend.h"
#include "platform/sys.h"
#include "render/font.h"
#include "render/render.h"
#include "common/common.h"
#include "shell/shell.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;


// The frame as RGB, bottom row first (GL order), so (x, y) are the printers' coordinates.
struct Frame {
    std::vector<unsigned char> px = std::vector<unsigned char>(kWidth * kHeight * 3);
    void grab()
    {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, px.data());
    }
    int lum(int x, int y) const
    {
        const unsigned char *p = &px[(size_t(y) * kWidth + x) * 3];
        return std::max({p[0], p[1], p[2]});
    }
    // Ink bounds (lum above a threshold) inside a box.
    bool bounds(int x0, int y0, int x1, int y1, int *minX, int *maxX, int *minY, int *maxY, int threshold = 128) const
    {
        *minX = *minY = 1 << 30;
        *maxX = *maxY = -1;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++)
                if (lum(x, y) > threshold) {
                    *minX = std::min(*minX, x), *maxX = std::max(*maxX, x);
                    *minY = std::min(*minY, y), *maxY = std::max(*maxY, y);
                }
        return *maxX >= 0;
    }
    void save(const char *name) const
    {
        std::filesystem::create_directories("screens_2d");
        EXPECT_TRUE(saveScreenshot((std::string("screens_2d/") + name).c_str()));
    }
};

void clearBlack()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace

// The game's window over the build's own base/.
TEST(Content2dGl, TextSitsOnItsLineInsideItsAdvanceAndTheLoadingCaptionStaysReadable)
{
    ASSERT_TRUE(openTestWindow("2d content test", kWidth, kHeight))
        << "the game window must open (run under a display, with base/ built)";
    textColorMode = 0;
    textAlpha = 1.0f;
    clearBlack();
    printSmall(100, 300, 1, "H");
    printSmall(200, 300, 1, "g");
    printLarge(100, 200, 1, "H");
    printLarge(200, 200, 1, "g");
    printSmall(300, 300, 0, "7");
    printLarge(300, 200, 0, "7");
    Frame f;
    f.grab();
    int x0, x1, y0, y1;
    // Small: the capital stands on y (within two pixels) and stays inside its 10-unit step.
    ASSERT_TRUE(f.bounds(95, 280, 130, 330, &x0, &x1, &y0, &y1));
    EXPECT_GE(y0, 299);
    EXPECT_LE(y0, 303);
    EXPECT_GE(x0, 100);
    EXPECT_LE(x1, 110);
    EXPECT_GE(y1 - y0, 10) << "small capitals should be about 12 units tall";
    int baseline = y0;
    ASSERT_TRUE(f.bounds(195, 280, 230, 330, &x0, &x1, &y0, &y1));
    EXPECT_LT(y0, baseline - 2) << "descenders go below the line";
    // Large: the same on a 13-unit step.
    ASSERT_TRUE(f.bounds(95, 185, 130, 240, &x0, &x1, &y0, &y1));
    EXPECT_GE(y0, 200);
    EXPECT_LE(y0, 208);
    EXPECT_GE(x0, 100);
    EXPECT_LE(x1, 113);
    EXPECT_GE(y1 - y0, 14);
    // Racing set: the digit is there and also keeps to its step (its shadow may lean right).
    ASSERT_TRUE(f.bounds(295, 280, 330, 330, &x0, &x1, &y0, &y1));
    EXPECT_LE(x1, 312);
    ASSERT_TRUE(f.bounds(295, 185, 330, 240, &x0, &x1, &y0, &y1));
    EXPECT_LE(x1, 316);

    // A frame for people: both sets at both sizes over the backdrop. That the two sets differ is
    // checked on the glyph sheet itself, and which set the printers pick by the render tests.
    clearBlack();
    drawLoadingScreen(0);
    glEnable(GL_BLEND);
    const char *lines[2] = {"The quick brown fox jumps over", "the lazy dog. 0123456789 !?%&()"};
    for (int set = 1, top = 540; set >= 0; set--, top -= 250) {
        printSmall(20, top, set, "small font, set %d:", set);
        printSmall(20, top - 22, set, "%s", lines[0]);
        printSmall(20, top - 44, set, "%s", lines[1]);
        printLarge(20, top - 80, set, "large, set %d:", set);
        printLarge(20, top - 112, set, "%s", lines[0]);
        printLarge(20, top - 144, set, "%s", lines[1]);
    }
    f.grab();
    f.save("game_text.png");

    clearBlack();
    drawLoadingScreen(1);
    f.grab();
    f.save("game_loading.png");
    // "Loading..." at (520, 24): the caption is light on a dark patch.
    ASSERT_TRUE(f.bounds(515, 18, 640, 50, &x0, &x1, &y0, &y1, 180)) << "the caption should be bright";
    int dark = 0, total = 0;
    for (int y = 10; y < 60; y++)
        for (int x = 515; x < 660; x++, total++)
            dark += f.lum(x, y) < 60;
    EXPECT_GT(dark, total / 2) << "the picture should keep the caption's corner dark";
    closeGameWindow();
}
