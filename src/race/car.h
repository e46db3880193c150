// The four cars of a race: one rigid box body each, carried by four downward wheel sensors.
// The car computes its own suspension, grip, drive and drag in the physics controller callback.
#pragma once
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
    int aiWaypoint;
    float stuckTimer, backupTimer;
    bool backingUp;
    float crashCooldown;
    int gridSlot;
};

constexpr int NUM_CARS = 4;
extern Car cars[NUM_CARS];
extern PhysicsWorld *raceWorld;

// The frame time the race step runs with: frameTime, held at kLongestStep on longer frames.
constexpr float kLongestStep = 6.4f;
extern float stepTime;

// The player's shared driving values.
extern float throttleBlend, skidLevel, driftLevel, driftScore;
extern float aiSkidLevel, aiDriftLevel;

// Car body geometry.
extern const PhysVec3 wheelPoints[4]; // sensor starts in car space; 0, 1 front, 2, 3 rear

void createCarBody(Car &car, PhysVec3 position);
void playerCarFrame(Car &car, float dt);
// The force step of one sub-step, run from the physics controller.
void carForceStep(Car &car, Controller *controller);
// The computer drivers' frame (cars 1..3).
void aiCarFrame(Car &car, float dt);
// Laps and places at the end of the player's frame.
void updateRaceProgress(Car &car);

// Turns v about the unit axis by angle radians.
PhysVec3 rotateAbout(PhysVec3 v, PhysVec3 axis, float angle);
