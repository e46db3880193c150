// Starting a race from the front end.
#include "content/level.h"
#include "frontend/frontend.h"

#include <cstdlib>

void startQuickRace(int track, int car)
{
    careerRace = false;
    awardPending = false;
    quickTrack = track;
    selectedCar = car >= 0 ? car : std::rand() % 6;
    carPower = carStats[selectedCar][0];
    carMaxSpeed = carStats[selectedCar][1];
    carSuspension = carStats[selectedCar][2];
    gameState = STATE_RACING;
    loadTrack(quickTrack);
}
