// The lamp glows on a real GL context: one glow for each of the nearest lamps, never more
// than thirty.
#include "render/gl_pixels.h"
#include "render/images.h"
#include "support/test_window.h"

#include <gtest/gtest.h>

#include "render/lights.h"
#include "render/render.h"
#include "render/texture_names.h"
#include "scene/scene.h"

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

} // namespace

int main(int argc, char **argv)
{
    return runInScratchWindow(argc, argv, window, kWidth, kHeight);
}
