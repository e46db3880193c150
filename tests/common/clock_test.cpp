#include "common/common.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Drives the frame clock with exact frame lengths through the fixed clock of the platform.
struct FrameClock : ::testing::Test {
    void SetUp() override
    {
        Sys_SetFixedFrameMs(10);
        timerInit();
        frameTime = 0;
        fps = 0;
    }
    void TearDown() override { Sys_SetFixedFrameMs(0); }
    void frame(double ms)
    {
        Sys_SetFixedFrameMs(ms);
        Sys_AdvanceFrameClock();
        updateFrameClock();
    }
    void settleAt(double ms, int frames = 40)
    {
        for (int i = 0; i < frames; i++)
            frame(ms);
    }
};

TEST_F(FrameClock, ClimbsByATenthPerFrameToASteadyTenMillisecondsAndCountsFps)
{
    updateFrameClock(); // first frame: no time has passed
    for (int i = 1; i <= 10; i++) {
        frame(10);
        EXPECT_NEAR(frameTime, 0.1 * i, 1e-4) << "frame " << i;
    }
    EXPECT_NEAR(fps, 10.0 / 0.09, 0.05) << "ten frames span nine intervals";
    settleAt(10, 200);
    EXPECT_NEAR(frameTime, 1.0, 1e-4);
}

// From a steady 10 ms, a frame off it moves the clock a tenth towards it, or to the frame's own
// length below a millisecond.
TEST_F(FrameClock, AFrameOffTheSteadyTenMovesATenthOrSnapsBelowOneMillisecond)
{
    struct Case {
        std::vector<double> frames;
        double expect;
    } cases[] = {{{50}, 1.1}, {{50, 50}, 1.2}, {{1.04}, 0.9}, {{0.5}, 0.05}};
    for (const Case &c : cases) {
        settleAt(10);
        for (double ms : c.frames)
            frame(ms);
        EXPECT_NEAR(frameTime, c.expect, 1e-4) << c.frames.size() << " frames of " << c.frames[0] << " ms";
    }
}

} // namespace
