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
    // Books one finish; newCarOpened then tells whether this finish opened a car.
    static void finish(int race, int place)
    {
        selectedRace = race;
        playerPlace = place;
        awardPending = true;
        newCarOpened = false;
        bookRaceResult();
        EXPECT_FALSE(awardPending) << "booked once";
    }
    static void expectCareer(int points, int racesOpen, int cash, int carsOpen)
    {
        EXPECT_EQ(career.careerPoints, points);
        EXPECT_EQ(career.racesOpen, racesOpen);
        EXPECT_EQ(career.cash, cash);
        for (int c = 0; c < 18; c++)
            EXPECT_EQ(career.carOpen[c], c < carsOpen) << "car " << c;
    }
};

// Points for a first podium only (fourth counts as none), one more race opened by it up to the
// fifteenth, cash for every podium, race 1's best place kept; a place or race outside the career
// books nothing. Cars open in order as the points pass their thresholds (car 3 above 99, car 4
// above 199), each once.
TEST_F(Booking, EachFinishBooksItsPointsRacesCashAndCars)
{
    struct Case {
        const char *what;
        int racesOpen, bestPlaceOfRace1, points;
        std::vector<std::pair<int, int>> finishes; // race, place
        int pointsAfter, racesOpenAfter, cash, bestPlaceAfter, carsOpen;
        bool newCar; // opened by the last finish
    } cases[] = {
        {"winning race 1 of a new career", 1, 0, 0, {{1, 1}}, 100, 2, 1100, 1, 4, true},
        {"third on it later: cash only", 1, 0, 0, {{1, 1}, {1, 3}}, 100, 2, 1350, 1, 4, false},
        {"fourth: nothing", 1, 0, 0, {{1, 4}}, 0, 1, 350, 0, 3, false},
        {"once fourth, a first podium still pays", 1, 4, 0, {{1, 2}}, 75, 2, 850, 2, 3, false},
        {"a first podium on an older race opens one more", 5, 0, 0, {{2, 3}}, 50, 6, 600, 0, 3, false},
        {"fifteen is the last race", 15, 0, 0, {{15, 1}}, 100, 15, 1100, 0, 4, true},
        {"outside the career", 1, 0, 0, {{1, 0}, {1, 5}, {1, -1}, {0, 1}, {16, 1}, {24, 1}}, 0, 1, 350, 0, 3, false},
        {"199 points is not above 199", 1, 0, 149, {{1, 3}}, 199, 2, 600, 3, 4, true},
        {"car 4 waits for the next podium", 1, 0, 149, {{1, 3}, {2, 3}}, 249, 3, 850, 3, 5, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        career.racesOpen = c.racesOpen;
        career.raceSlot[0].bestPlace = c.bestPlaceOfRace1;
        career.careerPoints = c.points;
        for (auto [race, place] : c.finishes)
            finish(race, place);
        expectCareer(c.pointsAfter, c.racesOpenAfter, c.cash, c.carsOpen);
        EXPECT_EQ(career.raceSlot[0].bestPlace, c.bestPlaceAfter);
        EXPECT_EQ(newCarOpened, c.newCar);
    }
}

TEST_F(Booking, FifteenWinsOpenEveryCarTheChooserReaches)
{
    for (int race = 1; race <= 15; race++) {
        finish(race, 1);
        EXPECT_EQ(career.racesOpen, std::min(15, race + 1));
    }
    expectCareer(1500, 15, 350 + 15 * 750, kLastCarIndex + 1);
}

} // namespace
