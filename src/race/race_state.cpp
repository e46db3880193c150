// The race to run, and the race flags and clocks that the front end reads.
#include "race/race.h"

int selectedCar, selectedRace = 1, quickTrack = 1;
bool careerRace;
float carPower, carMaxSpeed, carSuspension;

bool countdownActive;
bool raceFinished;
float overlayTimer;
int playerPlace = 4;
RaceClock raceClock, lapClock, bestLapClock;
float playerSpeed;

void advanceClock(RaceClock &clock, float hundredths)
{
    clock.hundredths += hundredths;
    if (clock.hundredths >= 100) {
        clock.hundredths = 0;
        if (++clock.seconds >= 60) {
            clock.seconds = 0;
            clock.minutes++;
        }
    }
}

float clockSeconds(const RaceClock &clock)
{
    return float(clock.minutes * 60 + clock.seconds) + clock.hundredths * 0.01f;
}
