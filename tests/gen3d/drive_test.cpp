// Drives a lap of every raced circuit with the game's own car, physics and start grid: a simple
// driver holds the player's keys the way a person would, aiming at the next waypoint, braking
// for sharp turns. A circuit passes when the lap is done in time without getting stuck, which
// is what "raceable" means for the collision model, the grid and the waypoints together.
#include "frontend/frontend.h"
#include "game_model.h"
#include "physics/physics.h"
#include "platform/sys.h"
#include "race/car.h"
#include "race/race.h"
#include "content/content.h"
#include "formats/waypoints.h"
#include "common/common.h"
#include "shell/shell.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct LapResult {
    bool loaded = false;
    int frames = 0;        // until the lap was done, or the limit
    int reached = 0;       // waypoints reached in order
    int longestStall = 0;  // frames in a row below walking pace after the start
    float topSpeed = 0;
    float stallAt[3] = {0, 0, 0};
    int stallWaypoint = 0;
    int backups = 0;
};

LapResult driveLap(int track, int frameLimit)
{
    LapResult r;
    std::string dir = std::string(COBALT_BASE_DIR) + "/maps/" + std::to_string(track);
    auto model = std::make_unique<Ms3dModel>();
    if (!readWaypointFile((dir + "/points/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount) || !model->loadModelData((dir + "/map.ms3d").c_str()))
        return r;
    // The terrain arrays as the level loader hands them over: four floats per vertex, five ints
    // per triangle.
    std::vector<float> verts(size_t(model->numVertices) * 4, 0.0f);
    for (int i = 0; i < model->numVertices; i++)
        for (int k = 0; k < 3; k++)
            verts[size_t(i) * 4 + size_t(k)] = model->vertices[i].location[k];
    std::vector<int> tris(size_t(model->numTriangles) * 5, 0);
    for (int i = 0; i < model->numTriangles; i++)
        for (int k = 0; k < 3; k++)
            tris[size_t(i) * 5 + size_t(k)] = model->triangles[i].vertexIndices[k];

    soundOn = musicOn = false;
    careerRace = false;
    quickTrack = track;
    selectedCar = 0;
    carPower = 0.6f;
    setupRaceWorld();
    if (!setTerrainMesh(raceWorld, verts.data(), model->numVertices, tris.data(), model->numTriangles))
        return r;
    r.loaded = true;
    // The lap is the test driver's alone: the computer cars are parked far off the map, where
    // they fall clear of the circuit.
    for (int i = 1; i < NUM_CARS; i++)
        setBodyPosition(cars[i].body, {1e5f, 0, 1e5f * float(i)});
    frameTime = 2.0f; // 20 ms frames
    countdownActive = true;
    raceFinished = false;
    int next = 0, stall = 0, slow = 0, backing = 0;
    for (int f = 0; f < frameLimit; f++) {
        countdownActive = f < 50; // let the cars settle on their springs first
        Car &car = cars[0];
        PhysVec3 p = bodyPosition(car.body), v = bodyLinearVelocity(car.body);
        const Waypoint &w = waypoints[next];
        float dx = w.x - p.x, dy = w.y - p.y, dz = w.z - p.z;
        if (std::sqrt(dx * dx + dy * dy + dz * dz) < 15.0f) {
            r.reached++;
            next = (next + 1) % waypointCount;
            if (r.reached == waypointCount + 1) { // back at the start line
                r.frames = f;
                break;
            }
        }
        float speed = std::sqrt(v.x * v.x + v.z * v.z);
        r.topSpeed = std::fmax(r.topSpeed, speed);
        PhysVec3 fwd = bodyOrientation(car.body).axis[0];
        float hx = speed > 2 ? v.x / speed : fwd.x, hz = speed > 2 ? v.z / speed : fwd.z;
        float tl = std::sqrt(dx * dx + dz * dz);
        float tx = dx / tl, tz = dz / tl;
        // Positive when the target lies to the left (the right-hand side is +z of the heading).
        float turn = std::atan2(hz * tx - hx * tz, hx * tx + hz * tz);
        float wanted = std::fabs(turn) > 0.5f ? 7.0f : 30.0f;
        // Like the computer drivers: three seconds below walking pace and it backs away for a
        // second and a half (a tap on the brake, then off the keys at a standstill, arms reverse).
        slow = speed < 1.5f && !countdownActive ? slow + 1 : 0;
        if (backing == 0 && slow > 150) {
            backing = 77;
            r.backups++;
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
        if (!countdownActive) {
            stall = speed < 1.0f ? stall + 1 : 0;
            if (stall > r.longestStall) {
                r.longestStall = stall;
                r.stallAt[0] = p.x;
                r.stallAt[1] = p.y;
                r.stallAt[2] = p.z;
                r.stallWaypoint = next;
            }
        }
        raceStep();
        r.frames = f + 1;
    }
    for (bool &k : keyDown)
        k = false;
    destroyRaceWorld();
    return r;
}

} // namespace

TEST(Drive, EveryRacedCircuitCanBeLappedFromTheGrid)
{
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        LapResult r = driveLap(track, 9000);
        ASSERT_TRUE(r.loaded);
        EXPECT_EQ(r.reached, waypointCount + 1) << "stopped after " << r.reached << " of " << waypointCount
                                                << " waypoints in " << r.frames << " frames";
        EXPECT_LT(r.longestStall, 400) << "the car stood still for " << r.longestStall << " frames at (" << r.stallAt[0]
                                       << ", " << r.stallAt[1] << ", " << r.stallAt[2] << ") heading for waypoint "
                                       << r.stallWaypoint;
        EXPECT_GT(r.topSpeed, 20.0f);
        EXPECT_LE(r.backups, 2) << "the driver had to back off a wall " << r.backups << " times";
        std::printf("track %2d: lap in %4d frames (%.0f s of race time), top speed %.1f, backed off a wall %d times\n",
                    track, r.frames, r.frames * 0.056f, r.topSpeed, r.backups);
    }
}
