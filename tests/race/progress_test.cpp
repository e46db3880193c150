// Laps and places: waypoints reached in order, the player's place, best lap and the finish, on a
// real race world with cars moved where a test wants them. (The ranking's order, ties included, is
// held to every frame of fifteen whole races by the headless race test.)
#include "race/race_fixture.h"

namespace {

struct Progress : FlatRace {
    // Two waypoints: 0 far ahead of the grid, 1 beside the player's start.
    PhysVec3 ahead = {startX + 300, startY, startZ}, grid = {startX, startY, startZ};

    void SetUp() override
    {
        FlatRace::SetUp();
        writeWaypoints({ahead, grid});
        start(flatGround());
        countdown();
    }
    // Puts a car at p (standing still) and runs its waypoint check.
    static void visit(Car &car, PhysVec3 p)
    {
        setBodyPosition(car.body, p);
        reachWaypoint(car);
    }
};

TEST_F(Progress, AWaypointCountsOnlyInOrder)
{
    int points = samplePlayCount[SAMPLE_POINT];
    visit(player(), grid); // waypoint 1 while 0 is due
    EXPECT_EQ(player().waypointsPassed, 0);
    EXPECT_EQ(player().progressWaypoint, 0);
    EXPECT_EQ(player().lap, 0);
    EXPECT_EQ(playerPlace, 4);
    EXPECT_EQ(samplePlayCount[SAMPLE_POINT], points) << "no checkpoint sound";

    visit(player(), ahead);
    EXPECT_EQ(player().waypointsPassed, 1);
    EXPECT_EQ(player().progressWaypoint, 1);
    EXPECT_EQ(player().lap, 1) << "reaching waypoint 0 starts lap 1";
    EXPECT_EQ(samplePlayCount[SAMPLE_POINT], points + 1) << "the checkpoint sound plays";
    visit(player(), ahead); // already passed
    EXPECT_EQ(player().waypointsPassed, 1);
    visit(player(), grid);
    EXPECT_EQ(player().waypointsPassed, 2);
    EXPECT_EQ(player().progressWaypoint, 0) << "after the last waypoint comes waypoint 0";
}

TEST_F(Progress, ThePlaceChangesOnlyAtThePlayersOwnWaypoints)
{
    updateStandings();
    visit(player(), ahead);
    EXPECT_EQ(playerPlace, 1) << "all level: the player is first";
    // Two computer cars pull ahead between two of the player's waypoints.
    cars[1].waypointsPassed = cars[2].waypointsPassed = 5;
    updateStandings();
    visit(cars[1], ahead);
    EXPECT_EQ(playerPlace, 1) << "a computer car's waypoint leaves the shown place alone";
    visit(player(), grid);
    EXPECT_EQ(playerPlace, 3);
}

// (A computer car counts on past the last lap without ending the race: the headless race has every
// car pass it.)
TEST_F(Progress, ThePlayersLapIsClampedTheirLastArrivalFinishesAndTheFirstFullLapIsTheBest)
{
    // The player's laps, each timed on lapClock: 50 s, then 52, then 48.5, then 49.
    const float lapSeconds[] = {0, 50, 52, 48.5f, 49};
    const float bestAfter[] = {0, 50, 50, 48.5f, 48.5f};
    overlayTimer = 7;
    for (int arrival = 0; arrival <= lapCount; arrival++) {
        lapClock = RaceClock{int(lapSeconds[arrival]) / 60, int(lapSeconds[arrival]) % 60,
                             (lapSeconds[arrival] - float(int(lapSeconds[arrival]))) * 100};
        visit(player(), ahead);
        EXPECT_FLOAT_EQ(clockSeconds(bestLapClock), bestAfter[arrival]) << "arrival " << arrival;
        EXPECT_EQ(clockSeconds(lapClock), 0.0f) << "a new lap starts its clock";
        EXPECT_EQ(raceFinished, arrival == lapCount);
        visit(player(), grid);
    }
    EXPECT_EQ(player().lap, lapCount) << "the player's lap stops at the last";
    EXPECT_EQ(overlayTimer, 0.0f) << "the results count their own seconds";
}

using OddTracks = FlatRace;

// (The computer cars, circling it, arrive by the same rule.)
TEST_F(OddTracks, OneWaypointCountsALapPerVisit)
{
    PhysVec3 only = {startX + 120, startY, startZ + 6};
    writeWaypoints({only});
    start(flatGround());
    countdown();
    setBodyPosition(player().body, only);
    for (int i = 0; i < 20; i++)
        reachWaypoint(player());
    EXPECT_EQ(player().lap, 1) << "standing beside it is one arrival, not one a frame";
    setBodyPosition(player().body, {only.x + 40, only.y, only.z});
    reachWaypoint(player());
    setBodyPosition(player().body, only);
    reachWaypoint(player());
    EXPECT_EQ(player().lap, 2) << "leaving and coming back is the next lap";
}

TEST_F(OddTracks, WithoutAUsableWaypointFileTheDriversStandStill)
{
    // One the reader refuses (its refusals of every kind of damage are its own tests; a missing
    // file takes the same way through the loader).
    std::filesystem::create_directories("base/maps/1/points");
    writeBytes("base/maps/1/points/level.ai", words({10, -300, -4, 552, 0, 0, -200, -4, 552, 0, 0}));
    autopilot = true;
    start(flatGround());
    EXPECT_EQ(waypointCount, 0);
    countdown();
    PhysVec3 held[NUM_CARS];
    for (int i = 0; i < NUM_CARS; i++)
        held[i] = bodyPosition(cars[i].body);
    frames(800);
    updateStandings();
    for (int i = 0; i < NUM_CARS; i++) {
        PhysVec3 p = bodyPosition(cars[i].body);
        EXPECT_LT(length(p - held[i]), 0.3f) << "car " << i;
        EXPECT_EQ(cars[i].lap, 0);
        EXPECT_FALSE(cars[i].backingUp);
    }
    EXPECT_FALSE(raceFinished);
}

} // namespace
