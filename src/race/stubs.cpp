// Race parts not written yet: the computer drivers hold their cars on the grid, and laps and
// places are not counted.
#include "race/car.h"
#include "race/race.h"

void aiCarFrame(Car &car, float dt)
{
    car.driveForce = countdownActive ? 0.01f : 0.0f;
    car.steer = 0;
    if (countdownActive) {
        setBodyLinearVelocity(car.body, {0, 0, 0});
        setBodyAngularMomentum(car.body, {0, 0, 0});
    }
}

void updateRaceProgress(Car &car) {}
