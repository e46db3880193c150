// A lap of every raced circuit, started as the menus start a race and driven by the player's keys
// the way a person would: aiming at the next waypoint, braking for sharp bends, backing off a wall
// it is stuck on. A circuit passes when the lap is done in time and all four cars stay on their
// wheels, on the road, all the way: what "raceable" means for the generated collision model,
// grid and waypoints together with the car and physics code.
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

// The keys for one frame; `backing` counts down a backing-off manoeuvre.
void driveToward(const Waypoint &w, float speed, int &slow, int &backing, Lap &lap)
{
    const Car &car = cars[0];
    PhysVec3 p = bodyPosition(car.body), v = bodyLinearVelocity(car.body);
    PhysVec3 fwd = bodyOrientation(car.body).axis[0];
    float hx = speed > 2 ? v.x / speed : fwd.x, hz = speed > 2 ? v.z / speed : fwd.z;
    float dx = w.x - p.x, dz = w.z - p.z, tl = std::hypot(dx, dz);
    // Positive when the target lies to the left (the right-hand side is +z of the heading).
    float turn = std::atan2(hz * dx / tl - hx * dz / tl, hx * dx / tl + hz * dz / tl);
    float wanted = std::fabs(turn) > 0.5f ? 7.0f : 30.0f;
    // Like the computer drivers: three seconds below walking pace and it backs away for a second
    // and a half (a tap on the brake, then off the keys at a standstill, arms reverse).
    slow = speed < 1.5f && !countdownActive ? slow + 1 : 0;
    if (backing == 0 && slow > 150) {
        backing = 77;
        lap.backups++;
    }
    if (backing > 0) {
        backing--;
        keyDown[VK_UP] = false;
        keyDown[VK_DOWN] = backing != 75;
        keyDown[VK_LEFT] = turn < 0;
        keyDown[VK_RIGHT] = turn > 0;
        if (backing == 0)
            slow = 0;
    } else {
        keyDown[VK_UP] = speed < wanted;
        keyDown[VK_DOWN] = speed > wanted + 3;
        keyDown[VK_LEFT] = turn > 0.06f;
        keyDown[VK_RIGHT] = turn < -0.06f;
    }
}

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
    // The driver is tuned to the first car; the three others are drawn from the rest by the seed.
    std::srand(unsigned(track));
    quickRace(track, 0);
    lap.waypoints = waypointCount;
    if (waypointCount < 10)
        return lap;
    frameTime = 2.0f; // 20 ms frames
    int next = 0, slow = 0, backing = 0, stall = 0, airborne[NUM_CARS] = {};
    for (int f = 0; f < frameLimit && lap.fault.empty(); f++) {
        countdownActive = f < 50; // the cars settle on their springs first
        PhysVec3 p = bodyPosition(cars[0].body), v = bodyLinearVelocity(cars[0].body);
        const Waypoint &w = waypoints[next];
        if (length(PhysVec3{w.x, w.y, w.z} - p) < 15.0f) {
            next = (next + 1) % waypointCount;
            if (++lap.reached == waypointCount + 1) // back over the start line
                break;
        }
        float speed = std::hypot(v.x, v.z);
        lap.topSpeed = std::fmax(lap.topSpeed, speed);
        stall = speed < 1.0f && !countdownActive ? stall + 1 : 0;
        lap.longestStall = std::max(lap.longestStall, stall);
        driveToward(w, speed, slow, backing, lap);
        raceStep();
        lap.fault = offTheRoad(f, airborne);
        lap.frames = f + 1;
    }
    std::memset(keyDown, 0, sizeof keyDown);
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
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        Lap lap = driveLap(track, 9000);
        ASSERT_GE(lap.waypoints, 10);
        EXPECT_EQ(lap.fault, "");
        EXPECT_EQ(lap.reached, lap.waypoints + 1) << "stopped after " << lap.reached << " waypoints";
        EXPECT_LT(lap.longestStall, 400) << "the car stood still for " << lap.longestStall << " frames";
        // The three computer cars race the same lap: traffic ahead holds the driver back in places
        // and now and then pins it against a wall.
        EXPECT_GT(lap.topSpeed, 18.0f);
        EXPECT_LE(lap.backups, 3) << "the driver had to back off a wall " << lap.backups << " times";
        std::printf("track %2d: lap in %4d frames, top speed %.1f, backed off a wall %d times\n", track,
                    lap.frames, lap.topSpeed, lap.backups);
    }
}

} // namespace
