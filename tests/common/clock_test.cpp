#include "common/common.h"
#include "platform/sys.h"

#include <gtest/gtest.h>

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

TEST_F(FrameClock, ClimbsByATenthPerFrameAndHoldsASteadyTenMilliseconds)
{
    updateFrameClock(); // first frame: no time has passed
    for (int i = 1; i <= 10; i++) {
        frame(10);
        EXPECT_NEAR(frameTime, 0.1 * i, 1e-4) << "frame " << i;
    }
    settleAt(10, 200);
    EXPECT_NEAR(frameTime, 1.0, 1e-4);
}

TEST_F(FrameClock, SlowFrameRaisesOnlyATenthPerFrame)
{
    settleAt(10);
    frame(50);
    EXPECT_NEAR(frameTime, 1.1, 1e-4);
    frame(50);
    EXPECT_NEAR(frameTime, 1.2, 1e-4);
}

TEST_F(FrameClock, ShortFramesLowerByATenthOrSnapBelowOneMillisecond)
{
    settleAt(10);
    frame(1.04);
    EXPECT_NEAR(frameTime, 0.9, 1e-4);
    settleAt(10);
    frame(0.5);
    EXPECT_NEAR(frameTime, 0.05, 1e-4);
}

TEST_F(FrameClock, FpsSpansNineIntervalsOfTenFrames)
{
    for (int i = 0; i < 10; i++)
        frame(10);
    EXPECT_NEAR(fps, 10.0 / 0.09, 0.05);
}

} // namespace
