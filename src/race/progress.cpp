// Race progress counted with the track's waypoints: every car has its next waypoint and a count
// of waypoints reached; a lap is counted at waypoint 0; the player's place is the player's rank by
// waypoints reached. The race ends when the player completes the last lap.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "race/car.h"
#include "race/race.h"

int lapCount = 4;
Standing standings[NUM_CARS];

static float clockTotal(const RaceClock &c)
{
    return float(c.minutes * 10000 + c.seconds * 100) + c.hundredths;
}

void reachWaypoint(Car &car)
{
    if (waypointCount <= 0 || !car.body)
        return;
    if (car.progressWaypoint < 0 || car.progressWaypoint >= waypointCount)
        car.progressWaypoint = 0;
    const Waypoint &w = waypoints[car.progressWaypoint];
    PhysVec3 position = bodyPosition(car.body);
    bool inside = length(PhysVec3{w.x, w.y, w.z} - position) < kWaypointReach;
    // With a single waypoint the one to reach next is the one just reached: it counts again only
    // after the car has left it, or every frame spent beside it would be a lap.
    bool counted = waypointCount == 1 && car.besideWaypoint;
    car.besideWaypoint = inside;
    if (!inside || counted)
        return;

    bool player = car.number == 0;
    if (player) {
        // The place shown changes only here, at the player's own waypoints.
        for (int i = 0; i < NUM_CARS; i++)
            if (standings[i].car == 0)
                playerPlace = i + 1;
        Sample &point = sampleSlots[SAMPLE_POINT];
        PhysVec3 velocity = bodyLinearVelocity(car.body);
        placeSampleAtCar(point, &position.x, &velocity.x);
        if (soundOn)
            point.play();
    }
    if (car.progressWaypoint == 0) {
        car.lap++;
        if (player) {
            // The first full lap is always the best so far; later ones when as fast or faster.
            if (clockTotal(lapClock) <= clockTotal(bestLapClock) || car.lap == 2)
                bestLapClock = lapClock;
            lapClock = RaceClock{};
            if (car.lap > lapCount) {
                car.lap = lapCount;
                raceFinished = true;
                // The results run their own 10 s, even after a race shorter than the start overlay.
                overlayTimer = 0;
            }
        }
    }
    car.waypointsPassed++;
    car.progressWaypoint = (car.progressWaypoint + 1) % waypointCount;
}

void updateStandings()
{
    for (int i = 0; i < NUM_CARS; i++)
        standings[i] = {i, cars[i].waypointsPassed};
    // This exact exchange order decides ties.
    for (int i = 0; i < NUM_CARS - 1; i++)
        for (int j = i + 1; j < NUM_CARS; j++)
            if (standings[i].waypoints < standings[j].waypoints) {
                Standing t = standings[i];
                standings[i] = standings[j];
                standings[j] = t;
            }
}
