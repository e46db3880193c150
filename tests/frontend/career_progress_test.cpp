// Booking a career race: points for a first podium, races and cars opened, cash for every finish.
#include "frontend/frontend.h"
#include "race/race.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Booking : ::testing::Test {
    void SetUp() override
    {
        career = {};
        for (int c = 0; c < 3; c++)
            career.carOpen[c] = true;
        career.racesOpen = 1;
        career.cash = 350;
        newCarOpened = false;
    }
    static void finish(int race, int place)
    {
        selectedRace = race;
        playerPlace = place;
        awardPending = true;
        bookRaceResult();
        EXPECT_FALSE(awardPending) << "booked once";
    }
    static void expectCareer(int points, int racesOpen, int cash)
    {
        EXPECT_EQ(career.careerPoints, points);
        EXPECT_EQ(career.racesOpen, racesOpen);
        EXPECT_EQ(career.cash, cash);
    }
};

TEST_F(Booking, WinningRaceOneOfANewCareerOpensRaceTwoAndCarThree)
{
    finish(1, 1);
    expectCareer(100, 2, 1100);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 1);
    EXPECT_TRUE(career.carOpen[3]);
    EXPECT_FALSE(career.carOpen[4]);
    EXPECT_TRUE(newCarOpened);

    // Third on the same race later: cash only, and no car "opens" again.
    newCarOpened = false;
    finish(1, 3);
    expectCareer(100, 2, 1350);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 1);
    EXPECT_FALSE(newCarOpened);
}

TEST_F(Booking, FourthPlaceBooksNoPointsAndNoCash)
{
    finish(1, 4);
    expectCareer(0, 1, 350);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 0);
    // A race once finished fourth (as a saved career may hold) still pays for its first podium.
    career.raceSlot[0].bestPlace = 4;
    finish(1, 2);
    expectCareer(75, 2, 850);
}

TEST_F(Booking, FirstPodiumOnAnOlderRaceStillOpensOneMoreAndFifteenIsTheLast)
{
    career.racesOpen = 5;
    finish(2, 3);
    expectCareer(50, 6, 600);
    career.racesOpen = 15;
    finish(15, 1);
    expectCareer(150, 15, 1350);
}

TEST_F(Booking, FifteenWinsOpenEveryCarTheChooserReaches)
{
    for (int race = 1; race <= 15; race++) {
        finish(race, 1);
        EXPECT_EQ(career.racesOpen, std::min(15, race + 1));
    }
    expectCareer(1500, 15, 350 + 15 * 750);
    for (int c = 0; c <= kLastCarIndex; c++)
        EXPECT_TRUE(career.carOpen[c]) << c;
    for (int c = kLastCarIndex + 1; c < 18; c++)
        EXPECT_FALSE(career.carOpen[c]) << c;
}

TEST_F(Booking, CarsOpenOnlyAboveTheirThresholds)
{
    // 199 points is not above 199: car 4 waits for the next podium.
    career.careerPoints = 149;
    finish(1, 3); // +50 = 199
    EXPECT_TRUE(career.carOpen[3]);
    EXPECT_FALSE(career.carOpen[4]);
    finish(2, 3); // 249
    EXPECT_TRUE(career.carOpen[4]);
}

TEST_F(Booking, APlaceOrRaceOutsideTheCareerBooksNothing)
{
    for (int place : {0, 5, -1})
        finish(1, place);
    for (int race : {0, 16, 24})
        finish(race, 1);
    expectCareer(0, 1, 350);
}

} // namespace
