// The night sky and the bloom chain on a real GL context (Xvfb + Mesa): the dome leaves the
// matrices as it found them, the blur passes run in the direction their number gives, the glow
// history raises the HDR threshold, and the composite adds glow round bright light only.
#include "render/gl_pixels.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/overlay.h"
#include "render/render.h"

namespace {

constexpr int kWidth = 800, kHeight = 600, kSmall = 256;

ScratchWindow *window;

class BloomSkyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window->opened) << "the game window with its GL set-up must open";
        glViewport(0, 0, kWidth, kHeight);
    }
};

// The red channel of a texture, bottom row first.
std::vector<unsigned char> textureRed(GLuint texture, int width, int height)
{
    std::vector<unsigned char> rgba(size_t(width * height * 4));
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<unsigned char> red(size_t(width * height));
    for (size_t i = 0; i < red.size(); i++)
        red[i] = rgba[i * 4];
    return red;
}

unsigned char redAt(int x, int y) { return pixelAt(x, y).r; }

// A frame of one flat grey with a white square of `side` pixels centred at (x, y).
void drawFrame(float grey, int x, int y, int side)
{
    glClearColor(grey, grey, grey, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    flatView(kWidth, kHeight);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glColor4f(1, 1, 1, 1);
    if (side > 0)
        glRecti(x - side / 2, y - side / 2, x + side / 2, y + side / 2);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_FOG);
}

void postProcessAndComposite()
{
    postProcessFrame();
    beginOverlay();
    drawComposite();
    endOverlay();
}

TEST_F(BloomSkyTest, SkyDomeLeavesEveryMatrixAsItFoundIt)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70, double(kWidth) / kHeight, 0.1, 15000);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.25f, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(-370, 2, 550, -380, 3, 560, 0, 1, 0);
    const GLenum matrices[3] = {GL_MODELVIEW_MATRIX, GL_PROJECTION_MATRIX, GL_TEXTURE_MATRIX};
    float before[3][16], after[3][16];
    for (int m = 0; m < 3; m++)
        glGetFloatv(matrices[m], before[m]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_FOG);
    float scroll = skyScroll;
    drawSkyDome(1.0f);
    for (int m = 0; m < 3; m++)
        glGetFloatv(matrices[m], after[m]);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0) << "matrices restored bit for bit";
    EXPECT_GT(skyScroll, scroll) << "the clouds drift";
    EXPECT_GT(redAt(kWidth / 2, kHeight - 20), 0) << "the dome fills the sky";
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_FOG);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BloomSkyTest, BlurRunsDownOnOddPassesAndAcrossOnEvenOnes)
{
    // One bright texel in the middle of the small picture.
    std::vector<unsigned char> dot(size_t(kSmall * kSmall * 4), 0);
    for (int k = 0; k < 3; k++)
        dot[size_t((128 * kSmall + 128) * 4 + k)] = 255;
    glBindTexture(GL_TEXTURE_2D, blurTextureA);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSmall, kSmall, GL_RGBA, GL_UNSIGNED_BYTE, dot.data());

    auto at = [](const std::vector<unsigned char> &red, int x, int y) { return red[size_t(y * kSmall + x)]; };
    postProcessPass(kPassBlur, 1);
    std::vector<unsigned char> down = textureRed(blurTextureA, kSmall, kSmall);
    EXPECT_GT(at(down, 128, 130), 0) << "pass 1 spreads the dot up and down";
    EXPECT_GT(at(down, 128, 126), 0);
    EXPECT_EQ(at(down, 130, 128), 0) << "but not sideways";
    EXPECT_EQ(at(down, 126, 128), 0);

    postProcessPass(kPassBlur, 2);
    std::vector<unsigned char> across = textureRed(blurTextureA, kSmall, kSmall);
    EXPECT_GT(at(across, 130, 128), 0) << "pass 2 spreads it sideways";
    EXPECT_GT(at(across, 130, 130), 0);
    EXPECT_LT(at(across, 128, 128), at(down, 128, 128));
    // The last blur of a frame is kept as the next frame's glow history.
    EXPECT_EQ(textureRed(blurTextureB, kSmall, kSmall), across);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The HDR pass keeps nearly white light, and less of it after a frame whose glow round it was
// bright. (What it keeps of bright and dim frames shows in the composite below.)
TEST_F(BloomSkyTest, HdrThresholdRisesAfterABrightFrame)
{
    drawFrame(0.9f, 400, 300, 0);
    copySceneTexture();
    int kept[2];
    for (unsigned char history : {255, 0}) { // black last: the next test starts without a glow history
        std::vector<unsigned char> glow(size_t(kSmall * kSmall * 4), history);
        glBindTexture(GL_TEXTURE_2D, blurTextureB);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, kSmall, kSmall, GL_RGBA, GL_UNSIGNED_BYTE, glow.data());
        postProcessPass(kPassHdr, 0);
        kept[history != 0] = textureRed(blurTextureA, kSmall, kSmall)[size_t(kSmall * kSmall / 2 + kSmall / 2)];
    }
    EXPECT_GT(kept[0], 0);
    EXPECT_LT(kept[1], kept[0]);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BloomSkyTest, CompositeSpreadsBrightLightAndLeavesDimFramesAlone)
{
    // A white lamp of 6 x 6 pixels on black: after the chain its light reaches the pixels round
    // it, which were black, and the corner the passes drew in shows the picture again.
    drawFrame(0, 400, 300, 6);
    postProcessAndComposite();
    EXPECT_EQ(redAt(400, 300), 255);
    EXPECT_GT(redAt(400 + 8, 300), 0) << "glow to the side";
    EXPECT_GT(redAt(400, 300 - 8), 0) << "glow below";
    EXPECT_EQ(redAt(700, 100), 0) << "far away stays black";
    EXPECT_EQ(redAt(20, 20), 0) << "the passes' corner is covered by the picture";

    // A dim grey frame has nothing bright enough to glow: the composite is the picture itself,
    // even with last frame's glow in the history.
    for (int frame = 0; frame < 2; frame++) {
        drawFrame(0.3f, 400, 300, 0);
        postProcessAndComposite();
    }
    std::vector<unsigned char> px(size_t(kWidth * kHeight * 4));
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    int grey = px[0], off = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        off += px[i] != grey;
    EXPECT_NEAR(grey, 77, 1);
    EXPECT_EQ(off, 0) << "pixels changed by the bloom of a dim frame";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kWidth, kHeight);
}
