// Particles and the checkpoint marker on a real GL context (Xvfb + Mesa), judged by the pixels
// they leave: fire adds light, smoke covers, neither hides what is drawn after it, and the
// marker pulses blue over the scene.
#include "common/common.h"
#include "effects/effects.h"
#include "render/billboards.h"
#include "render/gl_pixels.h"
#include "render/images.h"
#include "support/temp_dir.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 200;
const float kEye[3] = {0, 0, 3}, kTarget[3] = {0, 0, 0}, kOrigin[3] = {0, 0, 0};

Rgb centrePixel() { return pixelAt(kSize / 2, kSize / 2); }

// A grey frame seen from kEye towards the origin.
void greyFrame(float grey)
{
    glClearColor(grey, grey, grey, 1);
    resizeScene(kSize, kSize, 60, 500);
    clearFrame();
    applyCamera(kEye, kTarget);
}

// An opaque square across the view at depth z.
void opaqueSquare(float z, float r, float g, float b)
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glColor3f(r, g, b);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, z);
    glVertex3f(1, -1, z);
    glVertex3f(1, 1, z);
    glVertex3f(-1, 1, z);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// One red particle at the origin, half alive, seen side on.
ParticleEmitter redParticle(int blendMode, float life)
{
    EffectParams e{};
    e.particleCount = 1;
    e.spread[0] = e.spread[1] = e.spread[2] = e.fadeSpread = 1;
    e.fadeDivisor = 1;
    e.blendMode = blendMode;
    ParticleEmitter em;
    em.setUp(e);
    em.particles[0].life = life;
    em.particles[0].size = 0.5f;
    em.colourR = 1, em.colourG = 0, em.colourB = 0;
    return em;
}

ScratchWindow *window;

class EffectsGl : public ::testing::Test {
protected:
    static inline GLuint white;
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(window->opened);
        white = solidTexture(255, 255, 255);
    }
};

} // namespace

TEST_F(EffectsGl, FireAddsLightSmokeCoversAndTheDeadDrawNothing)
{
    greyFrame(0.4f); // 102 of 255
    redParticle(1, 0.5f).draw(kOrigin, kEye, white);
    Rgb fire = centrePixel();
    EXPECT_NEAR(fire.r, 102 + 128, 4) << "additive: half of the red on top of the grey";
    EXPECT_NEAR(fire.g, 102, 4);

    greyFrame(0.4f);
    redParticle(0, 0.5f).draw(kOrigin, kEye, white);
    Rgb smoke = centrePixel();
    EXPECT_NEAR(smoke.r, 128 + 51, 4) << "alpha: half red, half the grey behind";
    EXPECT_NEAR(smoke.g, 51, 4);

    greyFrame(0.4f);
    redParticle(1, 0.0f).draw(kOrigin, kEye, white);
    EXPECT_NEAR(centrePixel().r, 102, 2) << "a dead particle";

    greyFrame(0.4f);
    const float above[3] = {0, 3, 0};
    redParticle(1, 1.0f).draw(kOrigin, above, white);
    EXPECT_NEAR(centrePixel().r, 102, 2) << "seen from straight above a particle has no size";
}

TEST_F(EffectsGl, ParticlesKeepToTheDepthOfTheSceneWithoutHidingIt)
{
    // Something nearer hides the particle.
    greyFrame(0.4f);
    opaqueSquare(1, 0, 0, 1);
    redParticle(0, 1.0f).draw(kOrigin, kEye, white);
    EXPECT_LT(centrePixel().r, 10);

    // Smoke leaves no hole: a square behind it drawn afterwards still shows through...
    greyFrame(0.4f);
    redParticle(0, 0.5f).draw(kOrigin, kEye, white);
    opaqueSquare(-1, 0, 1, 0);
    EXPECT_GT(centrePixel().g, 240);
    // ...and that square, drawn after the particles, hides what is behind it again.
    opaqueSquare(-2, 0, 0, 1);
    EXPECT_LT(centrePixel().b, 10);
}

// The particles' fog is worked out a sprite at a time, not by GL: far off, a white puff must
// come out as GL fogs a white square in its place, channel by channel.
TEST_F(EffectsGl, AFarParticleTakesTheFogAsTheSceneDoes)
{
    glPushAttrib(GL_FOG_BIT);
    const float fogColour[4] = {0.2f, 0.4f, 0.6f, 1};
    glFogi(GL_FOG_MODE, GL_EXP2);
    glFogf(GL_FOG_DENSITY, 0.012f);
    glFogfv(GL_FOG_COLOR, fogColour);
    const float farEye[3] = {0, 0, 60};
    Rgb seen[2];
    for (int particle = 0; particle < 2; particle++) {
        greyFrame(0);
        glLoadIdentity();
        applyCamera(farEye, kTarget);
        glEnable(GL_FOG);
        if (particle) {
            ParticleEmitter puff = redParticle(0, 1.0f);
            puff.colourG = puff.colourB = 1;
            puff.particles[0].size = 3;
            puff.draw(kOrigin, farEye, white);
        } else {
            opaqueSquare(0, 1, 1, 1);
        }
        seen[particle] = centrePixel();
    }
    glPopAttrib();
    // 60 units out, 0.6 of the white is left: (153, 153, 153) plus the fog's 0.4 of its colour.
    EXPECT_NEAR(seen[0].r, 173, 3);
    EXPECT_NEAR(seen[0].b, 214, 3);
    EXPECT_NEAR(seen[1].r, seen[0].r, 2);
    EXPECT_NEAR(seen[1].g, seen[0].g, 2);
    EXPECT_NEAR(seen[1].b, seen[0].b, 2);
}

// A round picture is drawn only as far as it shows: the reach measured from its file takes in
// every texel more than faint, and a sprite cut there differs from the whole square by its faint
// rim at most.
TEST_F(EffectsGl, RoundPicturesAreCutOnlyWhereTheyAreFaint)
{
    // 64 x 64: white, opaque within 20 texels of the middle, faint out to 28, clear beyond.
    Bytes rgba;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
            rgba.insert(rgba.end(), {255, 255, 255, (unsigned char)(r < 20 ? 255 : r < 28 ? kFaintAlpha : 0)});
        }
    TempDir dir;
    std::string file = dir.write("round.tga", makeTga(64, 64, 32, rgba));
    TgaTexture round{}, whole{}, rgb{};
    ASSERT_TRUE(round.load(file.c_str(), TGA_FILTER_LINEAR, true));
    ASSERT_TRUE(whole.load(file.c_str(), TGA_FILTER_LINEAR));
    EXPECT_GE(round.reach, 21.0f / 32) << "the opaque disc and the filter's texel";
    EXPECT_LT(round.reach, 24.0f / 32) << "the faint ring left out";
    EXPECT_EQ(whole.reach, 1.0f);
    Bytes opaque(64 * 64 * 3, 255);
    ASSERT_TRUE(rgb.load(dir.write("rgb.tga", makeTga(64, 64, 24, opaque)).c_str(), TGA_FILTER_LINEAR, true));
    EXPECT_EQ(rgb.reach, 1.0f) << "a picture without alpha shows to its edges";

    std::vector<unsigned char> seen[2];
    for (int cut = 0; cut < 2; cut++) {
        greyFrame(0.4f);
        ParticleEmitter puff = redParticle(0, 1.0f);
        puff.particles[0].size = 1.5f;
        puff.draw(kOrigin, kEye, round.texture, cut ? round.reach : 1.0f);
        seen[cut].resize(kSize * kSize * 3);
        glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, seen[cut].data());
    }
    int most = 0, changed = 0;
    for (size_t i = 0; i < seen[0].size(); i++) {
        most = std::max(most, std::abs(seen[0][i] - seen[1][i]));
        changed += seen[0][i] != 102;
    }
    EXPECT_GT(changed, 3000) << "the sprite is drawn";
    EXPECT_LE(most, kFaintAlpha) << "and what is left out was faint";
    for (TgaTexture *t : {&round, &whole, &rgb})
        t->release(true);
}

// Large puffs are drawn at half size and laid over the frame: the picture must be the one the
// frame would show with every puff drawn in it, the scene in front must still hide them, every
// sprite must be drawn once (in one run or the other), and the small ones stay as they were.
TEST_F(EffectsGl, LargePuffsAtHalfSizeLookAsInFullAndStayBehindTheScene)
{
    // A soft warm puff, as the game's are: clear at the rim, thickest in the middle.
    Bytes rgba;
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++) {
            double fall = std::max(0.0, 1 - std::hypot(x + 0.5 - 32, y + 0.5 - 32) / 30);
            rgba.insert(rgba.end(), {230, 200, 170, (unsigned char)(255 * fall * fall)});
        }
    TempDir dir;
    TgaTexture puff{};
    ASSERT_TRUE(puff.load(dir.write("puff.tga", makeTga(64, 64, 32, rgba)).c_str(), TGA_FILTER_MIPMAP_NEAREST, true));
    std::vector<RoundSprite> covering = {
        {{0.1f, -0.3f, 0}, 0.8f, {1, 1, 1, 0.8f}}, // large, partly behind the square below
        {{1.4f, -1.4f, 0}, 0.04f, {0.2f, 1, 0.2f, 1}}, // small
        {{0.2f, 0.2f, -0.2f}, 0.7f, {1, 0.6f, 0.6f, 0.6f}},
    };
    std::vector<RoundSprite> adding = {
        {{-0.1f, 0.4f, -0.5f}, 0.9f, {0.6f, 0.3f, 0.1f, 0.7f}}, // large
        {{1.4f, 1.4f, 0}, 0.04f, {0.2f, 0.2f, 1, 1}},           // small
    };
    // The frame, plain or with the puffs, every one in the frame or sorted by size; a square
    // stands in front of the puffs over the left of the picture.
    auto frame = [&](bool puffs, bool sized) {
        greyFrame(0.3f);
        glDisable(GL_TEXTURE_2D);
        glColor3f(0.1f, 0.2f, 0.6f);
        glBegin(GL_QUADS);
        glVertex3f(-2, -2, 0.5f);
        glVertex3f(-0.1f, -2, 0.5f);
        glVertex3f(-0.1f, 2, 0.5f);
        glVertex3f(-2, 2, 0.5f);
        glEnd();
        glEnable(GL_TEXTURE_2D);
        if (puffs) {
            if (sized)
                beginSizedRounds();
            beginBillboards(puff.texture, BILLBOARD_ALPHA, false);
            drawFacingRounds(covering.data(), int(covering.size()), kEye, puff.reach);
            endBillboards();
            beginBillboards(puff.texture, BILLBOARD_ADD, false);
            drawFacingRounds(adding.data(), int(adding.size()), kEye, puff.reach);
            endBillboards();
            if (sized)
                endSizedRounds();
        }
        std::vector<unsigned char> pixels(kSize * kSize * 3);
        glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    };
    const std::vector<unsigned char> plain = frame(false, false), full = frame(true, false), halved = frame(true, true);
    // The square's edge on the picture: x = -0.1 at depth 0.5, seen from 3 away at 60 degrees.
    const int edge = int(kSize / 2 + (-0.1 / (2.5 * std::tan(M_PI / 6))) * kSize / 2);
    long changedFull = 0, changedHalved = 0;
    int worst = 0, worstBehind = 0;
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++)
            for (int c = 0; c < 3; c++) {
                const size_t i = (size_t(y) * kSize + size_t(x)) * 3 + size_t(c);
                changedFull += std::abs(full[i] - plain[i]);
                changedHalved += std::abs(halved[i] - plain[i]);
                const int d = std::abs(full[i] - halved[i]);
                if (x < edge - 2)
                    worstBehind = std::max(worstBehind, d);
                else if (x > edge + 2)
                    worst = std::max(worst, d);
            }
    EXPECT_GT(changedFull, 100000) << "the puffs are drawn";
    EXPECT_NEAR(double(changedHalved), double(changedFull), 0.02 * double(changedFull))
        << "each puff drawn once, at the size it is sorted to";
    EXPECT_LE(worst, 12) << "at half size, the same picture to the eye";
    EXPECT_EQ(worstBehind, 0) << "the square in front hides the layer's puffs as it hides the frame's";
    // The small sprites, drawn in the frame as before: 1.4 out of the 1.73 the view spans at
    // their depth.
    for (int y : {19, 180})
        for (int c = 0; c < 3; c++) {
            const size_t i = (size_t(y) * kSize + 180) * 3 + size_t(c);
            EXPECT_NE(full[i], plain[i]);
            EXPECT_EQ(halved[i], full[i]);
        }

    // A puff the eye is in, two of its corners behind the eye: GL draws its part in front, and
    // the layer is laid over as far as that reaches (the box of its corners in front alone would
    // leave out the lower right).
    covering = {{{0.35f, -0.1f, 2.85f}, 0.8f, {0.6f, 0.6f, 1, 0.8f}}};
    adding.clear();
    const std::vector<unsigned char> nearFull = frame(true, false), nearHalved = frame(true, true);
    long nearChangedFull = 0, nearChangedHalved = 0;
    for (size_t i = 0; i < plain.size(); i++) {
        nearChangedFull += std::abs(nearFull[i] - plain[i]);
        nearChangedHalved += std::abs(nearHalved[i] - plain[i]);
    }
    EXPECT_GT(nearChangedFull, 50000) << "the puff's part in front is drawn";
    EXPECT_NEAR(double(nearChangedHalved), double(nearChangedFull), 0.05 * double(nearChangedFull))
        << "about 0.03 apart laid over in full; 0.6 with the corners in front alone";
    puff.release(true);
}

TEST_F(EffectsGl, TheMarkerPulsesBlueOnlyWhileShown)
{
    frameTime = 1.0f;
    markerPhase = 0;
    const float checkpoint[3] = {0, 4, -30}; // the marker stands 4 below it
    greyFrame(0.1f);                         // 26 of 255
    drawMarker(checkpoint, kEye, false, white);
    EXPECT_EQ(markerPhase, 1.5f) << "the pulse runs on while the marker is hidden";
    EXPECT_NEAR(centrePixel().b, 26, 2);

    drawMarker(checkpoint, kEye, true, white);
    float s = std::sin(0.05f * 3.0f);
    Rgb p = centrePixel();
    EXPECT_NEAR(p.r, 26, 2);
    EXPECT_NEAR(p.g, 26 + 255 * (0.35f + 0.15f * s), 3);
    EXPECT_NEAR(p.b, 26 + 255 * (0.7f + 0.3f * s), 3) << "added in full, not dimmed by the fog";
}

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kSize, kSize);
}
