// The race flags and clocks that the front end reads.
#include "race/race.h"

bool countdownActive;
bool raceFinished;
float overlayTimer;
int playerPlace = 4;
float raceClock, lapClock;
float playerSpeed;
float cameraPosition[3];
