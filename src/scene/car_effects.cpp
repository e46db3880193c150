// The effects of every car in the race frame, and the marker at the player's next checkpoint.
#include "common/common.h"
#include "content/car_exhausts.h"
#include "content/content.h"
#include "effects/effects.h"
#include "race/car.h"
#include "race/race.h"
#include "render/images.h"
#include "render/texture_names.h"
#include "scene/scene.h"

namespace {

// Tyre dust rises where each wheel meets the road: under the wheel by its compression, a little
// inside the sensor.
constexpr float kDustSide = 1.1f;

// Where a point given in a car's own space lies in the world.
struct CarPlace {
    PhysVec3 position;
    PhysMat3 axes;
    explicit CarPlace(const Car &car) : position(bodyPosition(car.body)), axes(bodyOrientation(car.body)) {}
    void at(PhysVec3 local, float out[3]) const
    {
        PhysVec3 w = position + toWorld(axes, local);
        out[0] = w.x, out[1] = w.y, out[2] = w.z;
    }
};

// An emitter drawn at both of a car's exhaust pipes.
void drawAtPipes(const Car &car, const ParticleEmitter &emitter, const TgaTexture &picture)
{
    const CarPlace place(car);
    const float *pipe = carExhausts[(car.model % 6 + 6) % 6];
    for (float side : {-1.0f, 1.0f}) {
        float at[3];
        place.at({pipe[0], pipe[1], side * pipe[2]}, at);
        emitter.draw(at, chaseEye, picture.texture, picture.reach);
    }
}

// Every car's three emitters moved on by the frame, in the order they always were: dust, fire,
// smoke, car by car (each birth draws from the shared random numbers).
void updateCarEffects()
{
    for (int c = 0; c < NUM_CARS; c++) {
        const Car &car = cars[c];
        if (!car.body)
            continue;
        // Particles live in world space around a moving origin: the dust is thrown along the
        // car's direction of travel, the exhaust left behind it.
        PhysVec3 d = normalized(bodyLinearVelocity(car.body));
        const float dustDrift[3] = {100 * d.x, 100 * d.y, 100 * d.z};
        const float exhaustDrift[3] = {-120 * d.x, -120 * d.y, -120 * d.z};
        dustEmitters[c].update(frameTime, dustDrift);
        fireEmitters[c].update(frameTime, exhaustDrift);
        smokeEmitters[c].update(frameTime, exhaustDrift);
    }
}

// Each car's dust at its four wheels (not while the countdown holds the cars) and its smoke at
// both pipes.
void drawSmokeAndDust()
{
    const TgaTexture &puff = tgaSet[TGA_PUFF];
    for (int c = 0; c < NUM_CARS; c++) {
        const Car &car = cars[c];
        if (!car.body)
            continue;
        if (!countdownActive) {
            const CarPlace place(car);
            for (int w = 0; w < 4; w++) {
                PhysVec3 wheel = wheelPoints[w];
                float at[3];
                place.at({wheel.x, -car.wheelCompression[w], wheel.z > 0 ? kDustSide : -kDustSide}, at);
                dustEmitters[c].draw(at, chaseEye, puff.texture, puff.reach);
            }
        }
        drawAtPipes(car, smokeEmitters[c], puff);
    }
}

void drawFire()
{
    for (int c = 0; c < NUM_CARS; c++)
        if (cars[c].body)
            drawAtPipes(cars[c], fireEmitters[c], tgaSet[TGA_FLAME]);
}

} // namespace

void drawCarEffects()
{
    updateCarEffects();
    beginSizedRounds();
    drawSmokeAndDust();
    endSizedRounds();
    drawFire();
}

void drawCheckpointMarker()
{
    int next = cars[0].progressWaypoint;
    bool known = cars[0].body && next >= 0 && next < waypointCount;
    float at[3] = {0, 0, 0};
    if (known)
        at[0] = waypoints[next].x, at[1] = waypoints[next].y, at[2] = waypoints[next].z;
    drawMarker(at, chaseEye, known && !countdownActive && !raceFinished, textureSet[TEX_CHECKPOINT]);
}
