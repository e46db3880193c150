// Which street lights light a frame: plain logic, no display.
#include <gtest/gtest.h>

#include "render/lights.h"
#include "render/render.h"

namespace {

// A street lamp 8 over the road, pointing down, told apart by its red.
LevelLight lampAt(float x, float z, float red = 1) { return {{x, 8, z}, {red, 0, 0}, {0, -1, 0}, 5, 0, 0, 0}; }

const float kEye[3] = {0, 2, 0};
const float kAlongX[3] = {1, 0, 0};

TEST(LightSelectionTest, NearestLightsFirstAndThoseBehindOnlyWhenClose)
{
    // Looking along +x: two lamps ahead, one straight behind at 30 units (inside the 40-unit
    // circle), one straight behind at 50 and one off to the side far ahead.
    LevelLight lights[5] = {lampAt(90, 0, 0.1f), lampAt(-50, 0, 0.2f), lampAt(20, 5, 0.3f), lampAt(-30, 0, 0.4f),
                            lampAt(100, 100, 0.5f)};
    LightSlots slots{};
    chooseLights(lights, 5, kEye, kAlongX, false, &slots);

    for (int i = 1; i < 5; i++)
        EXPECT_LE(lights[i - 1].distanceSq, lights[i].distanceSq) << "sorted nearest first";

    // The lamp behind at 30 is chosen; the one behind at 50 is not.
    const float want[4][2] = {{20, 5}, {-30, 0}, {90, 0}, {100, 100}};
    for (int i = 0; i < 4; i++) {
        EXPECT_FLOAT_EQ(slots.position[i][0], want[i][0]) << i;
        EXPECT_FLOAT_EQ(slots.position[i][2], want[i][1]) << i;
        EXPECT_FLOAT_EQ(slots.position[i][3], 1) << i;
    }
    EXPECT_FLOAT_EQ(slots.color[1][0], 0.4f) << "a lamp's colour moves with it";
    EXPECT_FLOAT_EQ(slots.position[4][0], 600) << "the fixed far light";
    EXPECT_FLOAT_EQ(slots.color[4][2], 0.25f);

    chooseLights(lights, 5, kEye, kAlongX, true, &slots);
    EXPECT_FLOAT_EQ(slots.position[4][1], 10) << "paused: low and blue";
    EXPECT_FLOAT_EQ(slots.color[4][2], 1);
    EXPECT_FLOAT_EQ(slots.color[4][0], 0);
}

TEST(LightSelectionTest, SlotsWithoutALightAreParkedBelowTheWorld)
{
    // One lamp ahead, one far behind: only the first qualifies.
    LevelLight lights[2] = {lampAt(-200, 0), lampAt(10, 0, 0.7f)};
    LightSlots slots{};
    for (auto &c : slots.color)
        c[0] = 0.9f;
    chooseLights(lights, 2, kEye, kAlongX, false, &slots);
    EXPECT_FLOAT_EQ(slots.position[0][0], 10);
    EXPECT_FLOAT_EQ(slots.color[0][0], 0.7f);
    for (int i = 1; i < 4; i++) {
        EXPECT_FLOAT_EQ(slots.position[i][1], -10000) << i;
        EXPECT_FLOAT_EQ(slots.color[i][0], 0.9f) << "a parked slot keeps its colour";
    }
    // No lights at all: every slot parked, nothing read.
    chooseLights(nullptr, 0, kEye, kAlongX, false, &slots);
    EXPECT_FLOAT_EQ(slots.position[0][1], -10000);
}

} // namespace
