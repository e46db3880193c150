// Race set-up and the per-frame race step: clocks, the player's car, the computer drivers, the
// front-wheel directions and one physics advance in four sub-steps.
#include "audio/audio.h"
#include "common/common.h"
#include "content/content.h"
#include "race/car.h"
#include "race/race.h"
#include "race/start_places.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

PhysicsWorld *raceWorld;
float stepTime;

void startPosition(int track, float out[3])
{
    int s = track >= 1 && track <= 15 ? kStartOfTrack[track - 1] : 0;
    for (int i = 0; i < 3; i++)
        out[i] = kStartPlaces[s][i];
}

// A model no car before `count` drives, drawn again until it differs.
static int pickOtherModel(int count)
{
    for (;;) {
        int m = std::rand() % 12;
        bool used = false;
        for (int i = 0; i < count; i++)
            used = used || cars[i].model == m;
        if (!used)
            return m;
    }
}

void setupRaceWorld()
{
    raceWorld = createPhysicsWorld(physicsRaceSizes, {0, -8, 0});
    setRaceMaterials(raceWorld);
    float start[3];
    int track = careerRace ? selectedRace : quickTrack;
    startPosition(track, start);
    // Circuits beyond the table start from their first waypoint: the grid's middle lies 10 behind
    // it, on the road 3.2 below it (waypoints ride 4 above the road, cars stand 0.8 above it).
    if ((track < 1 || track > 15) && waypointCount > 0) {
        start[0] = waypoints[0].x - 10.0f;
        start[1] = waypoints[0].y - 3.2f;
        start[2] = waypoints[0].z - 6.75f;
    }

    cars[0] = Car{};
    cars[0].model = selectedCar >= 0 && selectedCar < 12 ? selectedCar : 0;
    for (int i = 1; i < NUM_CARS; i++) {
        cars[i] = Car{};
        cars[i].model = pickOtherModel(i);
    }
    for (int i = 0; i < NUM_CARS; i++) {
        Car &car = cars[i];
        car.number = i;
        car.gridSlot = i + 1;
        car.nitro = 100;
        car.rpm = car.targetRpm = 1000;
        car.frontGrip = car.rearGrip = 1;
        for (float &c : car.wheelCompression)
            c = 0.8f;
        createCarBody(car, {start[0], start[1], start[2]});
        start[2] += 4.5f;
        car.startRotation = bodyOrientation(car.body);
        car.frontWheelDir = car.startRotation.axis[0];
        Sample &engine = sampleSlots[SAMPLE_EN1 + i];
        engine.setGain(0);
        if (soundOn)
            engine.play();
    }
    throttleBlend = skidLevel = driftLevel = driftScore = 0;
    aiSkidLevel = aiDriftLevel = 0;
    for (int s : {SAMPLE_EN_PASS, SAMPLE_ST, SAMPLE_WIND}) {
        sampleSlots[s].setGain(0);
        if (soundOn)
            sampleSlots[s].play();
    }
    setTerrainMesh(raceWorld, terrainVertexData(), terrainVertexCount(), terrainTriangleData(), terrainTriangleCount());
    updateStandings();
}

void destroyRaceWorld()
{
    destroyPhysicsWorld(raceWorld);
    raceWorld = nullptr;
    for (Car &car : cars)
        car.body = nullptr;
}

void raceStep()
{
    if (!raceWorld)
        return;
    // A frame of 65 ms or more would let the cars jump through walls; a machine that slow gets
    // the race in slow motion instead, never a race that stands still.
    stepTime = std::min(frameTime, kLongestStep);
    if (!countdownActive && !raceFinished) {
        advanceClock(raceClock, stepTime);
        advanceClock(lapClock, stepTime);
    }
    if (autopilot)
        aiCarFrame(cars[0], stepTime);
    else
        playerCarFrame(cars[0], stepTime);
    for (int i = 1; i < NUM_CARS; i++)
        aiCarFrame(cars[i], stepTime);
    for (Car &car : cars) {
        PhysMat3 r = bodyOrientation(car.body);
        car.frontWheelDir = rotateAbout(r.axis[0], r.axis[1], car.steer);
    }
    advancePhysicsWorld(raceWorld, stepTime * 0.028f);
}
