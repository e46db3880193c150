// The vehicle model on a real physics world: the player's keys, and what the force step makes
// of them.
#include "race/race_fixture.h"

namespace {

using Vehicle = FlatRace;

TEST_F(Vehicle, HoldingUpShiftsToATopSpeedAboveTwentyFiveBeyondWhichTheDriveBrakes)
{
    start(flatGround());
    keyDown[VK_UP] = true; // held from the grid: the countdown holds the car all the same
    frames(300);
    PhysVec3 settled = position();
    countdown(300);
    EXPECT_LT(length(position() - settled), 1e-3f);
    // (That the gears only go up on the way is the keyed race's check.)
    frames(2500);
    EXPECT_EQ(player().gear, 5);
    float top = speed();
    // Where the drive of fifth gear meets the fall-off above 25 (and the drag).
    EXPECT_GT(top, 24.0f);
    EXPECT_LT(top, 26.5f);
    frames(200);
    EXPECT_NEAR(speed(), top, 0.2f) << "the speed has levelled off";
    EXPECT_GT(dot(bodyLinearVelocity(player().body), forward()), 0) << "forwards along +x";
    setBodyLinearVelocity(player().body, forward() * 40.0f);
    frames(1);
    float before = speed();
    frames(20);
    EXPECT_LT(speed(), before - 1.0f) << "at 40 the fall-off (15 x 50) outweighs any drive";
}

TEST_F(Vehicle, DownBrakesToAStopThenAfterReleasingReversesInGearMinusOne)
{
    start(flatGround());
    countdown();
    keyDown[VK_UP] = true;
    frames(500);
    ASSERT_GT(speed(), 8.0f);
    keyDown[VK_UP] = false;
    keyDown[VK_DOWN] = true;
    int f = 0;
    while (speed() > 0.2f && f < 2000) {
        frames(1);
        f++;
        EXPECT_LE(player().driveForce, 0.1f) << "braking while rolling forwards";
    }
    ASSERT_LT(f, 2000) << "the car stops";
    EXPECT_FALSE(player().reverseMode) << "holding Down at a stop only brakes";
    frames(50);
    EXPECT_LT(speed(), 1.0f);
    keyDown[VK_DOWN] = false;
    frames(1);
    EXPECT_TRUE(player().reverseMode) << "releasing the brake at a standstill arms reverse";
    keyDown[VK_DOWN] = true;
    frames(300);
    EXPECT_EQ(player().gear, -1);
    EXPECT_LT(dot(bodyLinearVelocity(player().body), forward()), -1.0f) << "driving backwards";
    keyDown[VK_DOWN] = false;
    keyDown[VK_UP] = true;
    frames(1);
    EXPECT_FALSE(player().reverseMode) << "accelerating clears reverse";
}

TEST_F(Vehicle, NitroBurnsForAboutEightSecondsWithItsSound)
{
    start(flatGround());
    countdown();
    keyDown[VK_UP] = keyDown[VK_SPACE] = true;
    frames(1);
    EXPECT_TRUE(playing(SAMPLE_NITRO));
    int burning = 1;
    while (player().nitro > 0 && burning < 2000) {
        frames(1);
        burning++;
    }
    EXPECT_NEAR(burning, 100.0 / 0.12, 2) << "100 / 0.12 hundredths of game clock";
    frames(1);
    EXPECT_FALSE(playing(SAMPLE_NITRO)) << "the sample stops with the reserve";
    EXPECT_EQ(player().nitro, 0.0f);
}

TEST_F(Vehicle, CrashSoundsByAngularMomentumBandWithACoolDown)
{
    start(flatGround());
    countdown();
    struct {
        float momentum;
        int sample; // -1: silent
    } cases[] = {{500, -1}, {900, SAMPLE_CR0}, {1300, SAMPLE_CR1}, {1900, SAMPLE_CR2}, {5000, SAMPLE_CR3}};
    for (const auto &c : cases) {
        for (int s = SAMPLE_CR0; s <= SAMPLE_CR3; s++)
            sampleSlots[s].stop();
        player().crashCooldown = 2;
        setBodyAngularMomentum(player().body, {0, c.momentum, 0});
        carForceStep(player(), nullptr);
        for (int s = SAMPLE_CR0; s <= SAMPLE_CR3; s++)
            EXPECT_EQ(playing(s), s == c.sample) << "momentum " << c.momentum << " sample " << s;
        EXPECT_EQ(player().crashCooldown < 1, c.sample >= 0);
    }
    // Right after a crash a second knock is silent until the cool-down passes 1.
    for (int s = SAMPLE_CR0; s <= SAMPLE_CR3; s++)
        sampleSlots[s].stop();
    setBodyAngularMomentum(player().body, {0, 5000, 0});
    carForceStep(player(), nullptr);
    EXPECT_FALSE(playing(SAMPLE_CR3));
    EXPECT_NEAR(player().crashCooldown, 0.01f, 1e-6) << "0.01 x frameTime per sub-step";
}

} // namespace
