// Sixty seconds of driving on every career circuit, steering along the waypoints: the cars must
// stay on their wheels, on the road, never sinking through it or taking off.
#include "audio/audio.h"
#include "content/content.h"
#include "content/content.h"
#include "render/ms3d.h"
#include "frontend/frontend.h"
#include "race/car.h"
#include "race/race.h"
#include "content/content.h"
#include "formats/waypoints.h"
#include "common/common.h"
#include "shell/shell.h"

#include "race/race_fixture.h"
#include "support/test_window.h"
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

struct TrackDrive : ::testing::TestWithParam<int> {
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(openAudioDevice(nullptr));
        loadSamples();
        ASSERT_TRUE(openTestWindow("Cobalt Overdrive", 320, 240));
        fillCarStats();
    }
    static void TearDownTestSuite()
    {
        closeGameWindow();
        releaseSamples();
        closeAudioDevice();
    }
};

// Steers at the waypoint two ahead of the nearest one and eases off for sharp bends.
void autopilot(const Car &car)
{
    PhysVec3 p = bodyPosition(car.body);
    int nearest = 0;
    float best = 1e30f;
    for (int i = 0; i < waypointCount; i++) {
        float dx = waypoints[i].x - p.x, dz = waypoints[i].z - p.z;
        if (dx * dx + dz * dz < best) {
            best = dx * dx + dz * dz;
            nearest = i;
        }
    }
    const Waypoint &w = waypoints[(nearest + 2) % waypointCount];
    PhysVec3 f = bodyOrientation(car.body).axis[0];
    PhysVec3 to = normalized({w.x - p.x, 0, w.z - p.z});
    float side = f.z * to.x - f.x * to.z; // > 0: the target is to the left
    float ahead = f.x * to.x + f.z * to.z;
    float v = length(bodyLinearVelocity(car.body));
    std::memset(keyDown, 0, sizeof keyDown);
    if (side > 0.05f)
        keyDown[VK_LEFT] = true;
    else if (side < -0.05f)
        keyDown[VK_RIGHT] = true;
    bool sharp = ahead < 0.8f;
    if (sharp && v > 9)
        keyDown[VK_DOWN] = true;
    else
        keyDown[VK_UP] = true;
}

TEST_P(TrackDrive, SixtySecondsOnTheRoad)
{
    int track = GetParam();
    std::srand(unsigned(track));
    quickRace(track, track % 12);
    ASSERT_GT(waypointCount, 10);
    ASSERT_GT(collisionModel->numTriangles, 0);
    frameTime = 1.0f;
    for (int i = 0; i < 600; i++)
        raceStep();
    countdownActive = false;
    PhysVec3 last = bodyPosition(cars[0].body);
    float travelled = 0;
    int airborne[NUM_CARS] = {};
    for (int frame = 0; frame < 6000; frame++) {
        autopilot(cars[0]);
        raceStep();
        PhysVec3 p = bodyPosition(cars[0].body);
        travelled += length(p - last);
        last = p;
        for (int c = 0; c < NUM_CARS; c++) {
            const Car &car = cars[c];
            bool touching = false;
            float ground = 0;
            for (LineSensor *s = firstSensor(car.body); s; s = nextSensor(s))
                if (sensorDepth(s) > 0) {
                    touching = true;
                    ground = sensorPoint(s).y;
                }
            airborne[c] = touching ? 0 : airborne[c] + 1;
            ASSERT_LT(airborne[c], 150) << "track " << track << " car " << c << " off the ground at frame " << frame;
            if (touching) {
                float height = bodyPosition(car.body).y - ground;
                ASSERT_GT(height, 0.2f) << "track " << track << " car " << c << " sank at frame " << frame;
                ASSERT_LT(height, 2.0f) << "track " << track << " car " << c << " rose at frame " << frame;
            }
            for (float w : car.wheelCompression) {
                ASSERT_GE(w, 0.7f);
                ASSERT_LE(w, 0.9f);
            }
        }
    }
    std::memset(keyDown, 0, sizeof keyDown);
    EXPECT_GT(travelled, 400.0f) << "track " << track << ": the drive must really drive";
    std::printf("track %d: %.0f units driven in 60 s of race clock\n", track, double(travelled));
    endRace();
}

INSTANTIATE_TEST_SUITE_P(CareerTracks, TrackDrive, ::testing::Range(1, 16));

} // namespace
