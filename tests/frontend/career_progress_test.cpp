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

// Points for a first podium only (fourth counts as none), one more race opened by it up to the
// fifteenth, cash for every podium; a place or race outside the career books nothing.
TEST_F(Booking, EachFinishBooksItsPointsRacesAndCash)
{
    struct Case {
        const char *what;
        int racesOpen, bestPlaceOfRace1;
        std::vector<std::pair<int, int>> finishes; // race, place
        int points, racesOpenAfter, cash;
    } cases[] = {
        {"winning race 1 of a new career", 1, 0, {{1, 1}}, 100, 2, 1100},
        {"third on it later: cash only", 1, 0, {{1, 1}, {1, 3}}, 100, 2, 1350},
        {"fourth: nothing", 1, 0, {{1, 4}}, 0, 1, 350},
        {"once fourth, a first podium still pays", 1, 4, {{1, 2}}, 75, 2, 850},
        {"a first podium on an older race opens one more", 5, 0, {{2, 3}}, 50, 6, 600},
        {"fifteen is the last race", 15, 0, {{15, 1}}, 100, 15, 1100},
        {"outside the career", 1, 0, {{1, 0}, {1, 5}, {1, -1}, {0, 1}, {16, 1}, {24, 1}}, 0, 1, 350},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        career.racesOpen = c.racesOpen;
        career.raceSlot[0].bestPlace = c.bestPlaceOfRace1;
        for (auto [race, place] : c.finishes)
            finish(race, place);
        expectCareer(c.points, c.racesOpenAfter, c.cash);
    }
}

TEST_F(Booking, AFirstWinOpensCarThreeOnceAndKeepsTheBestPlace)
{
    finish(1, 1);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 1);
    EXPECT_TRUE(career.carOpen[3]);
    EXPECT_FALSE(career.carOpen[4]);
    EXPECT_TRUE(newCarOpened);
    newCarOpened = false;
    finish(1, 3);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 1);
    EXPECT_FALSE(newCarOpened) << "no car opens again";
    SetUp();
    finish(1, 4);
    EXPECT_EQ(career.raceSlot[0].bestPlace, 0) << "fourth is no best place";
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

} // namespace
