// What the HUD shows, decided from the race: the rev needle's travel, the lap counter, and the
// bend arrow with its angle, colour and when it hides. The drawing itself is seen on the
// screenshots of a real race.
#include "effects/effects.h"
#include "frontend/frontend.h"
#include "race/race_fixture.h"

#include <cmath>

namespace {

// The rev needle rests up to a thousand and stops at 7943; the lap counter shows one until the
// first full lap is under way.
TEST(Hud, TheRevNeedleAndTheLapCounterKeepToTheirRanges)
{
    EXPECT_FLOAT_EQ(revNeedleAngle(1000), 152.5f);
    EXPECT_FLOAT_EQ(revNeedleAngle(4000), 152.5f - 105);
    EXPECT_FLOAT_EQ(revNeedleAngle(7943), -90.5f);
    EXPECT_FLOAT_EQ(revNeedleAngle(12000), -90.5f);
    EXPECT_EQ(shownLap(0), 1);
    EXPECT_EQ(shownLap(1), 1);
    EXPECT_EQ(shownLap(2), 2);
}

// A route along +x through waypoint 0 that bends 90 degrees left (towards -z) at waypoint 1.
struct BendArrowRace : FlatRace {
    PhysVec3 corner = {startX + 60, startY, startZ};
    void SetUp() override
    {
        FlatRace::SetUp();
        writeWaypoints({{startX - 60, startY, startZ}, corner, {startX + 60, startY, startZ - 200},
                        {startX - 180, startY, startZ}});
        start(flatGround());
        player().progressWaypoint = 1;
    }
    // The player's car travelling at `degrees` from the route (positive to the left).
    BendArrow travelling(float degrees)
    {
        float a = degrees / 57.29578f;
        setBodyLinearVelocity(player().body, {10 * std::cos(a), 0, -10 * std::sin(a)});
        return bendArrow();
    }
};

TEST_F(BendArrowRace, PointsIntoTheBendInColoursOfItsSharpnessAndHidesOffTheRoute)
{
    EXPECT_FALSE(travelling(0).shown) << "hidden during the countdown";
    countdownActive = false;

    BendArrow a = travelling(0);
    ASSERT_TRUE(a.shown);
    EXPECT_NEAR(a.turn, 1.5708f, 1e-3) << "a left bend turns the arrow left";
    EXPECT_NEAR(a.red, 1.0f, 0.01f) << "a right angle is red";
    float d = length(corner - bodyPosition(player().body));
    EXPECT_NEAR(a.alpha, (30000 - d * d) * 0.0000333f, 1e-4) << "fades in as the bend nears";
    EXPECT_NEAR(a.green, a.alpha - a.red, 1e-5);
    markerPhase = 31.4159f;
    EXPECT_NEAR(travelling(0).margin, 8 * std::sin(31.4159f * 0.05f), 1e-4) << "a sharp bend pulses";

    EXPECT_TRUE(travelling(44).shown);
    EXPECT_TRUE(travelling(-44).shown);
    EXPECT_FALSE(travelling(46).shown) << "45 degrees off the route";
    EXPECT_FALSE(travelling(-90).shown);

    // A gentle bend: straight on at the next waypoint, a steady green arrow.
    player().progressWaypoint = 0;
    a = travelling(0);
    EXPECT_TRUE(a.shown);
    EXPECT_NEAR(a.turn, 0, 1e-5);
    EXPECT_EQ(a.margin, 1.0f);
    EXPECT_EQ(a.red, 0.0f);

    raceFinished = true;
    EXPECT_FALSE(travelling(0).shown) << "hidden after the finish";
}

} // namespace
