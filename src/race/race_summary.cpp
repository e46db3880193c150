// What a race came to, kept as it ends: the one line a run without a window prints, so a whole
// unattended race can be judged (and timed) without reading its trace.
#include "content/content.h"
#include "race/car.h"
#include "race/race.h"

#include <algorithm>
#include <cstdio>

RaceSummary lastRace;

void keepRaceSummary()
{
    if (!raceWorld)
        return;
    RaceSummary &s = lastRace;
    s.number++;
    s.track = loadedTrack;
    s.car = cars[0].model;
    s.finished = raceFinished;
    s.place = playerPlace;
    s.raceSeconds = clockSeconds(raceClock);
    s.bestLapSeconds = clockSeconds(bestLapClock);
    // A car's lap counter counts its arrivals at the start line, the first of which starts lap 1;
    // the player's stops at the last lap when the race is won.
    for (int i = 0; i < NUM_CARS; i++)
        s.lapsCompleted[i] = i == 0 && raceFinished ? lapCount : std::max(0, cars[i].lap - 1);
}

std::string raceSummaryLine(const RaceSummary &s)
{
    char line[192];
    std::snprintf(line, sizeof line,
                  "race track=%d car=%d finished=%s place=%d time=%.2f bestLap=%.2f laps=%d,%d,%d,%d", s.track,
                  s.car, s.finished ? "yes" : "no", s.place, double(s.raceSeconds), double(s.bestLapSeconds),
                  s.lapsCompleted[0], s.lapsCompleted[1], s.lapsCompleted[2], s.lapsCompleted[3]);
    return line;
}
