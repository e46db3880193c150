// A lap of every raced circuit, started as the menus start a race, the player's car on the
// autopilot among the three computer cars. A circuit passes when the lap is done in time, at speed,
// and all four cars stay on their wheels, on the road, all the way: what "raceable" means for the
// generated collision model, grid and waypoints together with the car and physics code. (That every
// car also finishes four laps is the headless race's check.)
#include "race/race_fixture.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr int kAirborneFrames = 75; // a second and a half of 20 ms frames with no wheel down

struct Lap {
    int waypoints = 0, frames = 0, reached = 0, longestStall = 0, backups = 0;
    float topSpeed = 0;
    std::string fault; // the first frame a car left the road, if one did
};

// Every car with a wheel on the ground rides between 0.2 and 2 above it; none flies for long.
std::string offTheRoad(int frame, int airborne[NUM_CARS])
{
    for (int c = 0; c < NUM_CARS; c++) {
        bool touching = false;
        float ground = 0;
        for (LineSensor *s = firstSensor(cars[c].body); s; s = nextSensor(s))
            if (sensorDepth(s) > 0) {
                touching = true;
                ground = sensorPoint(s).y;
            }
        airborne[c] = touching ? 0 : airborne[c] + 1;
        float height = bodyPosition(cars[c].body).y - ground;
        std::ostringstream at;
        at << "car " << c << " at frame " << frame << ": ";
        if (airborne[c] >= kAirborneFrames)
            return at.str() + "off the ground";
        if (touching && !(height > 0.2f && height < 2.0f))
            return at.str() + "rides " + std::to_string(height) + " above the road";
    }
    return "";
}

Lap driveLap(int track, int frameLimit)
{
    Lap lap;
    // The player's car is the first; the three others are drawn from the rest by the seed.
    std::srand(unsigned(track));
    quickRace(track, 0);
    lap.waypoints = waypointCount;
    if (waypointCount < 10)
        return lap;
    frameTime = 2.0f; // 20 ms frames
    int stall = 0, airborne[NUM_CARS] = {};
    // Until the car is back over the start line: waypoint 0, every waypoint, waypoint 0 again.
    for (int f = 0; f < frameLimit && lap.fault.empty() && lap.reached <= waypointCount; f++) {
        countdownActive = f < 50; // the cars settle on their springs first
        PhysVec3 v = bodyLinearVelocity(cars[0].body);
        float speed = std::hypot(v.x, v.z);
        lap.topSpeed = std::fmax(lap.topSpeed, speed);
        stall = speed < 1.0f && !countdownActive ? stall + 1 : 0;
        lap.longestStall = std::max(lap.longestStall, stall);
        bool backing = cars[0].backingUp;
        raceStep();
        lap.backups += cars[0].backingUp && !backing;
        lap.fault = offTheRoad(f, airborne);
        lap.reached = cars[0].waypointsPassed;
        lap.frames = f + 1;
    }
    endRace();
    return lap;
}

TEST(Circuits, EveryRacedCircuitIsLappedWithAllCarsOnTheRoad)
{
    // The generated collision models and waypoints alone: the race needs no picture of the track.
    TempDir dir;
    for (int track = 1; track <= 15; track++)
        for (const char *file : {"map.ms3d", "points/level.ai"}) {
            std::string rel = "maps/" + std::to_string(track) + "/" + file;
            std::filesystem::create_directories((dir.path / "base" / rel).parent_path());
            std::filesystem::create_symlink(std::filesystem::path(COBALT_BASE_DIR) / rel, dir.path / "base" / rel);
        }
    dir.enter();
    soundOn = musicOn = false;
    fillCarStats();
    autopilot = true;
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        Lap lap = driveLap(track, 9000);
        ASSERT_GE(lap.waypoints, 10);
        EXPECT_EQ(lap.fault, "");
        EXPECT_EQ(lap.reached, lap.waypoints + 1) << "stopped after " << lap.reached << " waypoints";
        EXPECT_LT(lap.longestStall, 400) << "the car stood still for " << lap.longestStall << " frames";
        // Traffic ahead holds the driver back in places and now and then pins it against a wall.
        EXPECT_GT(lap.topSpeed, 18.0f);
        EXPECT_LE(lap.backups, 3) << "the driver had to back off a wall " << lap.backups << " times";
        std::printf("track %2d: lap in %4d frames, top speed %.1f, backed off a wall %d times\n", track,
                    lap.frames, lap.topSpeed, lap.backups);
    }
    autopilot = false;
}

} // namespace
