// Race set-up, the race step and level loading on tracks the tests build.
#include "race/race_fixture.h"
#include "render/lights.h"

#include <set>

namespace {

TEST(RaceClock, HundredthsCarryIntoSecondsAndDropTheExcess)
{
    RaceClock c = {0, 59, 99.5f};
    advanceClock(c, 1.2f);
    EXPECT_EQ(c.minutes, 1);
    EXPECT_EQ(c.seconds, 0);
    EXPECT_EQ(c.hundredths, 0.0f);
    advanceClock(c, 50);
    EXPECT_FLOAT_EQ(clockSeconds(c), 60.5f);
}

using Race = FlatRace;

TEST_F(Race, NoTwoCarsShareAModelAndThePlayerDrivesTheChosenOne)
{
    Ms3dLayout m = flatGround();
    for (unsigned seed = 1; seed <= 40; seed++) {
        start(m, int(seed % 12), seed);
        std::set<int> models;
        for (const Car &c : cars) {
            EXPECT_GE(c.model, 0);
            EXPECT_LT(c.model, 12);
            models.insert(c.model);
        }
        EXPECT_EQ(models.size(), 4u) << "seed " << seed;
        EXPECT_EQ(cars[0].model, int(seed % 12));
        endRace();
    }
}

TEST_F(Race, LongFramesRunTheRaceInSlowMotionNeverFreezeIt)
{
    start(flatGround());
    countdown();
    keyDown[VK_UP] = true;
    frames(200);
    // Frames far too long for the physics are stepped as the longest step it takes: the cars
    // and the clocks move exactly as at 6.4, whatever the frame really lasted.
    for (float slow : {6.5f, 12.0f, 100.0f}) {
        SCOPED_TRACE(slow);
        float clockBefore = clockSeconds(raceClock);
        PhysVec3 before = position();
        frameTime = slow;
        frames(5);
        // (A second's carry drops what runs over the hundred, at most one step.)
        float ran = clockSeconds(raceClock) - clockBefore;
        EXPECT_LE(ran, 5 * kLongestStep * 0.01f + 1e-4f);
        EXPECT_GE(ran, 4 * kLongestStep * 0.01f - 1e-4f);
        EXPECT_GT(length(position() - before), 5 * 0.028f * kLongestStep * 5.0f) << "the car keeps driving";
        EXPECT_LT(length(position() - before), 5 * 0.028f * kLongestStep * 40.0f) << "but never jumps";
    }
}

TEST_F(Race, CircuitsBeyondTheStartTableStartBehindTheirFirstWaypoint)
{
    Ms3dLayout m;
    addGround(m, -560, -8.0f, -86, 500);
    std::filesystem::create_directories("base/maps/16/points");
    writeBytes("base/maps/16/map.ms3d", makeMs3d(m));
    writeBytes("base/maps/16/points/level.ai", words({2, -550, -4, -80, 0, 0, -530, -4, -80, 0, 0}));
    quickRace(16, 0);
    PhysVec3 p = position();
    EXPECT_FLOAT_EQ(p.x, -560.0f);
    EXPECT_FLOAT_EQ(p.y, -7.2f);
    EXPECT_FLOAT_EQ(p.z, -86.75f);
    EXPECT_FLOAT_EQ(bodyPosition(cars[3].body).z, -86.75f + 13.5f);
    frames(300);
    EXPECT_NEAR(position().y - -8.0f, 0.8f, 0.1f) << "settled on the road";
}

TEST_F(Race, ARestartAndAThousandLoadsAndUnloadsLeaveNothingBehind)
{
    Ms3dLayout m = flatGround();
    addWallAcrossX(m, startX + 50, startZ - 20, startZ + 20, groundY, groundY + 5);
    start(m);
    countdown();
    keyDown[VK_UP] = true;
    frames(100);
    keyDown[VK_UP] = false;
    quickRace(1, 3); // restart: the loader unloads first
    EXPECT_TRUE(countdownActive);
    EXPECT_EQ(clockSeconds(raceClock), 0.0f);
    EXPECT_EQ(cars[0].model, 3);
    EXPECT_NEAR(position().x, startX, 1e-3);
    EXPECT_EQ(cars[0].nitro, 100.0f);
    for (int i = 0; i < 1000; i++) {
        quickRace(1, i % 12);
        raceStep();
        endRace();
    }
    EXPECT_EQ(raceWorld, nullptr);
    EXPECT_EQ(collisionModel, nullptr);
}

TEST_F(Race, UnloadingStopsTheRaceLoopsAndGivesTheGarageLightsBack)
{
    // The garage's lamps: one marker triangle.
    Ms3dLayout lamp;
    lamp.vertices = {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}};
    lamp.triangles = {{{0, 1, 2}}};
    lamp.groups = {{{0}, 0xFF}};
    std::filesystem::create_directories("base/garage");
    writeBytes("base/garage/light.ms3d", makeMs3d(lamp));
    delete garageLampModel; // loaded once per run; this test brings its own
    garageLampModel = nullptr;
    loadGarageLights();
    ASSERT_EQ(numLevelLights, 1);
    EXPECT_NEAR(levelLights[0].position[0], 0.99999f, 1e-5);
    EXPECT_NEAR(levelLights[0].position[1], 0.99999f, 1e-5);
    EXPECT_EQ(levelLights[0].direction[1], -1.0f);
    EXPECT_EQ(levelLights[0].focus, 5);

    Ms3dLayout track = flatGround();
    std::filesystem::create_directories("base/maps/1");
    writeBytes("base/maps/1/light.ms3d", makeMs3d(track)); // two lamp triangles on the track
    start(track);
    EXPECT_EQ(numLevelLights, 2);
    EXPECT_TRUE(playing(SAMPLE_EN2));
    endRace();
    EXPECT_FALSE(playing(SAMPLE_EN2));
    EXPECT_FALSE(playing(SAMPLE_WIND));
    EXPECT_EQ(numLevelLights, 1);
    EXPECT_NEAR(levelLights[0].position[0], 0.99999f, 1e-5);
    EXPECT_TRUE(countdownActive);
}

TEST(CountdownTest, ClockAdvancesReleasesTheCarsAndEnds)
{
    countdownActive = true;
    overlayTimer = 5.95f;
    frameTime = 5.0f;
    advanceCountdown();
    EXPECT_NEAR(overlayTimer, 6.0f, 1e-5);
    EXPECT_TRUE(countdownActive) << "exactly 6 does not release the cars yet";

    // A machine slower than the longest step still counts down, in slow motion, and never
    // skips a number however long the frame.
    frameTime = 50.0f;
    advanceCountdown();
    EXPECT_NEAR(overlayTimer, 6.0f + 0.01f * kLongestStep, 1e-5);
    EXPECT_FALSE(countdownActive);

    overlayTimer = 9.995f;
    frameTime = 1.0f;
    advanceCountdown();
    EXPECT_EQ(overlayTimer, 0.0f) << "past 10 the overlay ends";
}

} // namespace
