// The computer drivers on a real race world: their strength, the speed rule for sharp bends,
// backing out of a wall, the reset of a stuck car, the finish and the clocks, and the autopilot.
#include "race/race_fixture.h"

#include <cmath>

namespace {

struct Drivers : FlatRace {
    // Far ahead of the grid along +x, where every car faces at the start.
    PhysVec3 farAhead = {startX + 3000, startY, startZ + 7};
    PhysVec3 behind = {startX - 3000, startY, startZ + 7};

    float speedOf(int car) { return length(bodyLinearVelocity(cars[car].body)); }
    float turnOf(int car)
    {
        const Waypoint &w = waypoints[cars[car].aiWaypoint];
        PhysVec3 p = bodyPosition(cars[car].body);
        return horizontalAngle(bodyLinearVelocity(cars[car].body), {w.x - p.x, 0, w.z - p.z});
    }
};

TEST_F(Drivers, TheirStrengthFollowsThePlayersCarAndGrowsWithTheCareerRace)
{
    writeWaypoints({farAhead});
    struct Case {
        bool career;
        int race;
        float factor; // of 140 x carPower x 1.15 in first gear
    } cases[] = {{false, 1, 1.015f}, {true, 10, 1.15f}, {true, 15, 1.225f}, {false, 0, 1.015f}};
    for (const Case &c : cases) {
        start(flatGround(), 4);
        careerRace = c.career;
        selectedRace = c.race;
        autopilot = true;
        countdown();
        frames(1);
        float first = 140 * carStats[4][0] * 1.15f;
        EXPECT_NEAR(cars[1].driveForce, first * c.factor, 0.01f) << "race " << c.race;
        EXPECT_EQ(cars[1].gear, 1);
        EXPECT_NEAR(player().driveForce, first, 0.01f) << "the autopilot drives with the player's own strength";
        endRace();
    }
    selectedRace = 1;
    careerRace = false;
}

TEST_F(Drivers, ASharpBendBrakesDownToFourBeforeTheDriverAcceleratesAgain)
{
    writeWaypoints({farAhead, behind});
    start(flatGround());
    countdown();
    while (speedOf(1) < 20)
        frames(1);
    cars[1].aiWaypoint = 1; // now the target lies straight behind
    float slowest = 1e9f;
    int f = 0;
    for (; f < 3000 && std::fabs(turnOf(1)) > 0.5f; f++) {
        frames(1);
        if (speedOf(1) >= 4.2f && std::fabs(turnOf(1)) > 0.5f) {
            EXPECT_LT(cars[1].driveForce * dot(bodyLinearVelocity(cars[1].body), bodyOrientation(cars[1].body).axis[0]), 0)
                << "brakes above the bend speed, frame " << f;
        }
        slowest = std::min(slowest, speedOf(1));
    }
    ASSERT_LT(f, 3000) << "the car never came round";
    EXPECT_LT(slowest, 4.2f);
    EXPECT_GT(slowest, 2.0f) << "crawls round without stopping";
    EXPECT_FALSE(cars[1].backingUp);
    frames(600);
    EXPECT_GT(speedOf(1), 12.0f) << "accelerates again once the target lies ahead";
}

TEST_F(Drivers, AfterThreeSlowSecondsAgainstAWallTheyBackOutForAboutOneAndAHalf)
{
    writeWaypoints({farAhead});
    Ms3dLayout m = flatGround();
    addWallAcrossX(m, startX + 12, startZ - 10, startZ + 25, groundY, groundY + 6);
    start(m);
    countdown();
    int slowSince = -1, backFrom = -1, backTo = -1;
    bool wasFast = false;
    for (int f = 0; f < 2000 && backTo < 0; f++) {
        frames(1);
        float v = speedOf(1);
        wasFast = wasFast || v >= 1.5f;
        if (wasFast && v < 1.5f && slowSince < 0)
            slowSince = f;
        if (backFrom < 0 && cars[1].backingUp) {
            backFrom = f;
            EXPECT_NEAR(cars[1].driveForce, -160 * 1.015f * carPower * 1.15f, 0.01f);
        }
        if (backFrom >= 0 && f > backFrom + 20) {
            EXPECT_LT(dot(bodyLinearVelocity(cars[1].body), bodyOrientation(cars[1].body).axis[0]), 0)
                << "backing up, frame " << f;
        }
        if (backFrom >= 0 && !cars[1].backingUp)
            backTo = f;
    }
    ASSERT_GE(slowSince, 0) << "the car never reached the wall";
    ASSERT_GE(backTo, 0) << "the car never backed out";
    EXPECT_NEAR(backFrom - slowSince, 300, 5) << "three seconds below 1.5";
    EXPECT_NEAR(backTo - backFrom, 150, 3) << "a second and a half backwards";
}

TEST_F(Drivers, ACarStuckForFourAndAHalfSecondsIsSetBackOnItsStartHeadingAndLifted)
{
    // Car 2 is left turned across the road on a block under its belly, its wheels in the air.
    writeWaypoints({farAhead});
    Ms3dLayout m = flatGround();
    PhysVec3 block = {startX, groundY + 1.5f, startZ + 9};
    addGround(m, block.x, block.y, block.z, 1.0f);
    start(m);
    countdown();
    Car &car = cars[2];
    const PhysMat3 across = {{{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
    setBodyOrientation(car.body, across);
    setBodyPosition(car.body, block + PhysVec3{0, 0.25f, 0});
    int stillSince = -1; // since when it has been below 0.3 without a break
    for (int f = 0; f < 1000; f++) {
        PhysVec3 before = bodyPosition(car.body);
        frames(1);
        if (speedOf(2) >= 0.3f)
            stillSince = -1;
        else if (stillSince < 0)
            stillSince = f;
        if (bodyOrientation(car.body).axis[0].x > 0.99f) {
            ASSERT_GE(stillSince, 0);
            EXPECT_NEAR(f - stillSince, 450, 5) << "four and a half seconds still";
            EXPECT_NEAR(bodyPosition(car.body).y - before.y, 2.0f, 0.05f) << "lifted by 2";
            EXPECT_EQ(car.stuckTimer, 0.0f);
            return;
        }
        ASSERT_LT(length(bodyPosition(car.body) - block), 1.0f) << "the car left the block at frame " << f;
    }
    FAIL() << "the car was never reset";
}

// The clocks run from the go; at the finish they stand, the player's car brakes in a circle and
// the drivers roll out straight.
TEST_F(Drivers, AfterTheFinishTheClocksStandThePlayerCirclesAndTheyRollOutStraight)
{
    writeWaypoints({farAhead});
    start(flatGround());
    countdown();
    keyDown[VK_UP] = true;
    frames(400);
    EXPECT_NEAR(clockSeconds(raceClock), 4.0f, 0.011f);
    EXPECT_NEAR(clockSeconds(lapClock), 4.0f, 0.011f);
    raceFinished = true;
    RaceClock clock = raceClock;
    frames(1);
    for (int i = 1; i < NUM_CARS; i++) {
        EXPECT_EQ(cars[i].steer, 0.0f);
        EXPECT_EQ(cars[i].driveForce, -1.0f) << "a touch of brake while rolling forwards";
    }
    float v = speedOf(1);
    frames(600);
    EXPECT_LT(speedOf(1), v);
    EXPECT_FLOAT_EQ(player().steer, 0.7f);
    EXPECT_LT(speed(), 1.0f);
    EXPECT_EQ(clockSeconds(raceClock), clockSeconds(clock));
}

} // namespace
