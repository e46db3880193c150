// The scene's drawing on a real GL context: one lamp glow for each of the nearest lamps, never
// more than thirty; the reflection picture kept while it is young and drawn anew when due.
#include "render/gl_pixels.h"
#include "render/images.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include "render/lights.h"
#include "render/render.h"
#include "render/texture_names.h"
#include "common/common.h"
#include "scene/scene.h"

#include <vector>

namespace {

constexpr int kWidth = 800, kHeight = 600;

ScratchWindow *window;

// Seen from straight above: world x to the right, world z downwards, 240 x 180 units.
int pixelRed(float x, float z) { return pixelAt(int((x + 120) / 240 * kWidth), int((90 - z) / 180 * kHeight)).r; }

TEST(LightGlowsTest, OnlyTheThirtyNearestLampsGlow)
{
    ASSERT_TRUE(window->opened);
    GLuint white = solidTexture(255, 255, 255);
    textureSet[TEX_LAMP_GLOW] = white;

    // 31 lamps on a grid 30 units apart, in the order the light selection sorted them.
    for (int i = 0; i < 31; i++)
        levelLights[i] = {{-90.0f + 30.0f * float(i % 7), 0, -60.0f + 30.0f * float(i / 7)}, {1, 1, 1}, {}, 0, 0, 0, 0};
    const float above[3] = {0, 2000, 0};
    for (int count : {5, 31}) {
        numLevelLights = count;
        flatView(120, 90, -120, -90, 1000);
        glRotatef(90, 1, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_FOG);
        drawLightGlows(above);
        glEnable(GL_FOG);
        for (int i = 0; i < count; i++) {
            int red = pixelRed(levelLights[i].position[0], levelLights[i].position[2]);
            if (i < kMaxGlows)
                EXPECT_NEAR(red, 102, 2) << "lamp " << i << " of " << count << " glows at alpha 0.4";
            else
                EXPECT_EQ(red, 0) << "lamp " << i << " is past the thirty nearest";
        }
        EXPECT_EQ(pixelRed(-90 + 30 * 6, 60), 0) << "no lamp, no glow";
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glDeleteTextures(1, &white);
    numLevelLights = 0;
}

// The middle of the reflection picture: the clear colour it was last drawn with (no car is in
// the race, so nothing else is drawn into it).
int reflectionRed()
{
    std::vector<unsigned char> rgba;
    int w = 0, h = 0;
    readTexture(reflectionTexture, &rgba, &w, &h);
    return w == kReflectionSize && h == kReflectionSize ? rgba[size_t(h / 2 * w + w / 2) * 4] : -1;
}

TEST(ReflectionTest, KeptWhileYoungDrawnWhenDueAndNotCarriedIntoTheNextRace)
{
    ASSERT_TRUE(window->opened);
    const float savedFrameTime = frameTime;
    // Draws the race's picture after a frame of `step`, with the clear colour's red at `red`.
    auto raceFrame = [](float step, int red) {
        frameTime = step;
        glClearColor(float(red) / 255, 0, 0, 1);
        renderReflection(true);
        glClearColor(0, 0, 0, 1);
        return reflectionRed();
    };
    forgetReflection();
    EXPECT_EQ(raceFrame(3, 40), 40) << "a race's first frame draws the picture";
    EXPECT_EQ(raceFrame(3, 80), 40) << "at 30 ms it is 3 hundredths old: kept";
    EXPECT_EQ(raceFrame(3, 120), 120) << "6 hundredths would be too old: drawn";
    EXPECT_EQ(raceFrame(6, 160), 160) << "at 15 frames a second every frame draws it";
    EXPECT_EQ(raceFrame(1.7f, 200), 160);
    EXPECT_EQ(raceFrame(1.7f, 220), 160);
    EXPECT_EQ(raceFrame(1.7f, 240), 240) << "at 60 frames a second every third frame";
    forgetReflection(); // the race is left
    EXPECT_EQ(raceFrame(1.5f, 30), 30) << "the next race does not start on the last one's picture";
    frameTime = 1.5f;
    glClearColor(0.4f, 0, 0, 1);
    renderReflection(false);
    glClearColor(0, 0, 0, 1);
    EXPECT_EQ(reflectionRed(), 102) << "the garage draws its own every frame";
    EXPECT_EQ(raceFrame(1.5f, 10), 10) << "and a race after it its own";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    frameTime = savedFrameTime;
}

} // namespace

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kWidth, kHeight);
}
