// The four cars of a race: one rigid box body each, carried by four downward wheel sensors.
// The car computes its own suspension, grip, drive and drag in the physics controller callback.
#pragma once
#include "common/common.h"
#include "physics/physics.h"

struct Car {
    int number;        // 0 is the player
    int model;         // car model 0..11
    RigidBody *body;   // user data points back here
    float driveForce;  // along the car's long axis, applied at the rear wheels
    float steer;       // -0.7..0.7, positive turns left
    float targetRpm, rpm;
    int gear;          // 0 idle, 1..5, -1 reverse
    int nextGear;
    float nitro;       // 0..100
    bool brakeHeld, reverseMode;
    float frontGrip, rearGrip;
    float wheelCompression[4];
    float wheelSpin[4];
    PhysVec3 frontWheelDir;
    PhysMat3 startRotation;
    int lap, progressWaypoint, waypointsPassed;
    bool besideWaypoint; // inside the radius of the waypoint it reached last
    int aiWaypoint;
    float stuckTimer, backupTimer;
    bool backingUp;
    float crashCooldown;
    int gridSlot;
};

extern Car cars[NUM_CARS];
extern PhysicsWorld *raceWorld;

// The frame time the race step runs with: frameTime, held at kLongestStep on longer frames.
extern float stepTime;

// The player's shared driving values.
extern float throttleBlend, skidLevel, driftLevel, driftScore;
extern float aiSkidLevel, aiDriftLevel;

// Car body geometry.
extern const PhysVec3 wheelPoints[4]; // sensor starts in car space; 0, 1 front, 2, 3 rear

void createCarBody(Car &car, PhysVec3 position);
void playerCarFrame(Car &car, float dt);
// The front wheels' angle a moment on, turning towards `wanted` (positive to the left, at most
// kMaxSteer; 0 when nothing steers). A key asks for full lock and a stick for as much of it as it
// is pushed, at the same rate: a stick never turns the wheels faster or further than the keys.
constexpr float kMaxSteer = 0.7f;
float steerTowards(float steer, float wanted, float dt);
// The force step of one sub-step, run from the physics controller.
void carForceStep(Car &car, Controller *controller);
// The computer driver's frame: cars 1..3, and car 0 under the autopilot.
void aiCarFrame(Car &car, float dt);

// What every driver, keys or computer, shares: the engine follows the speed in the current gear
// (returns the engine sample's pitch); the gear table picks nextGear by speed and returns the
// drive force before the car's power; braking pushes against the direction of travel with
// `strength`, softened to nothing at a standstill.
float runEngine(Car &car, float v, float dt);
float gearDrive(Car &car, float v);
float brakingForce(float v, bool forward, float strength);

// ---- race progress ----
// Closer than this (3D) to a waypoint, a car has reached it: it counts for the race and the
// driver steers for the next one.
constexpr float kWaypointReach = 15.0f;
// The waypoint check at the end of every car's frame: waypoints count only in order, a lap at
// waypoint 0; the player's place, best lap and finish.
void reachWaypoint(Car &car);
// The cars ranked by waypoints reached, rebuilt every race frame before the step.
struct Standing {
    int car;
    int waypoints;
};
extern Standing standings[NUM_CARS];
void updateStandings();

// Turns v about the unit axis by angle radians.
PhysVec3 rotateAbout(PhysVec3 v, PhysVec3 axis, float angle);
// The angle in the ground plane from direction `from` to direction `to`, -pi..pi, positive when
// `to` lies to the left (seen from above with `from` ahead); 0 when either has no horizontal part.
float horizontalAngle(PhysVec3 from, PhysVec3 to);
