// The chase camera: behind the player's car along its direction of travel, swinging round
// slowly; circling the car after the finish. It also places the listener and the car sounds.
#include "audio/audio.h"
#include "common/common.h"
#include "race/car.h"
#include "race/race.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

int cameraMode;
float cameraTargetDir[2], cameraDir[2], orbitAngle;
float cameraEye[3], cameraTarget[3];
float chaseEye[3], viewPoint[3], viewDir[3];

void resetChaseCamera()
{
    cameraTargetDir[0] = 1.0f;
    cameraTargetDir[1] = 0.0f;
    cameraDir[0] = -5.5f;
    cameraDir[1] = -1.0f;
}

static void placeAtCar(int sample, const Car &car)
{
    PhysVec3 p = bodyPosition(car.body), u = bodyLinearVelocity(car.body);
    placeSampleAtCar(sampleSlots[sample], &p.x, &u.x);
}

void updateChaseCamera()
{
    const Car &player = cars[0];
    PhysVec3 p = bodyPosition(player.body);
    PhysVec3 realVelocity = bodyLinearVelocity(player.body);
    PhysVec3 u = realVelocity;

    orbitAngle += 0.007f * frameTime;
    if (raceFinished) {
        u.x = 23 * std::cos(orbitAngle);
        u.z = 23 * std::sin(orbitAngle);
    }
    float h = std::sqrt(u.x * u.x + u.z * u.z);
    PhysVec3 n = normalized(u);
    if (h > 1) {
        cameraTargetDir[0] = n.x;
        cameraTargetDir[1] = n.z;
    }
    // On long frames the camera swings by the race's longest step, as the cars move.
    float step = std::min(frameTime, kLongestStep);
    for (int i = 0; i < 2; i++) {
        float diff = cameraTargetDir[i] - cameraDir[i];
        if (std::fabs(diff) > 0.01f)
            cameraDir[i] += std::copysign(std::fabs(diff) * 0.01f * step, diff);
    }
    float dx = cameraDir[0], dz = cameraDir[1];
    float back = cameraMode == 0 ? 6.5f : 8.0f, rise = cameraMode == 0 ? 2.0f : 2.2f;
    const float eye[3] = {p.x - back * dx, p.y + rise, p.z - back * dz};
    const float target[3] = {p.x + 30 * dx, p.y - 1, p.z + 30 * dz};
    for (int i = 0; i < 3; i++) {
        cameraEye[i] = eye[i];
        cameraTarget[i] = target[i];
    }

    chaseEye[0] = p.x - 6.5f * dx;
    chaseEye[1] = p.y + 2.0f;
    chaseEye[2] = p.z - 6.5f * dz;
    viewPoint[0] = p.x - 8 * dx;
    viewPoint[1] = p.y + 2.2f;
    viewPoint[2] = p.z - 8 * dz;
    PhysVec3 look = normalized({38 * dx, -3.2f, 38 * dz});
    viewDir[0] = look.x;
    viewDir[1] = look.y;
    viewDir[2] = look.z;

    // The listener stands further back and higher than the eye.
    PhysVec3 ear = {p.x - 12 * dx, p.y + 5, p.z - 12 * dz};
    PhysVec3 at = normalized(PhysVec3{p.x + 15 * dx, p.y, p.z + 15 * dz} - ear);
    placeListener(&ear.x, &at.x, &realVelocity.x);

    for (int s : {SAMPLE_EN_PASS, SAMPLE_GEAR, SAMPLE_NITRO, SAMPLE_WIND})
        placeAtCar(s, player);
    for (int i = 0; i < NUM_CARS; i++)
        placeAtCar(SAMPLE_EN1 + i, cars[i]);
}
