// The computer drivers (cars 1 to 3). Not written yet: they hold their cars on the grid.
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
