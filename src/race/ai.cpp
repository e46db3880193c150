// The computer drivers: from waypoint to waypoint round the lap with a simple speed rule (slow
// for sharp turns), proportional steering, backing up when they stay slow, and a reset when they
// stay stuck. The autopilot drives the player's car with the same driver.
#include "audio/audio.h"
#include "content/content.h"
#include "effects/effects.h"
#include "race/car.h"
#include "race/race.h"

#include <algorithm>
#include <cmath>

bool autopilot;

namespace {

// Target speeds: flat out, and crawling round a bend sharper than kSharpTurn radians.
constexpr float kCruiseSpeed = 30.0f, kBendSpeed = 4.0f, kSharpTurn = 0.5f;

// The drive factor: the player's car and tuning, and for the computer cars 1.5 per cent more
// with every career race.
float driveFactor(const Car &car)
{
    if (car.number == 0)
        return carPower * 1.15f;
    int race = selectedRace >= 1 && selectedRace <= 15 ? selectedRace : 1;
    return (float(race) * 0.015f + 1) * carPower * 1.15f;
}

// Stuck for 4.5 s: a car still (nearly) at rest is set upright and dropped from 2 up, where its
// wheels can find the road again.
void resetStuckCar(Car &car, float v)
{
    if (v >= 0.2f)
        return;
    setBodyOrientation(car.body, car.startRotation);
    setBodyPosition(car.body, bodyPosition(car.body) + PhysVec3{0, 2, 0});
    car.driveForce = 0;
}

void steerToward(Car &car, float turn, float dt)
{
    float step = 0.02f * dt;
    if (turn > 0.1f)
        car.steer = std::min(0.7f, car.steer + step);
    else if (turn < -0.1f)
        car.steer = std::max(-0.7f, car.steer - step);
    else if (car.steer > 0)
        car.steer = std::max(0.0f, car.steer - step);
    else
        car.steer = std::min(0.0f, car.steer + step);
}

} // namespace

void aiCarFrame(Car &car, float dt)
{
    RigidBody *body = car.body;
    PhysVec3 velocity = bodyLinearVelocity(body);
    PhysVec3 forward = bodyOrientation(body).axis[0];
    PhysVec3 position = bodyPosition(body);
    float v = length(velocity);
    bool forwards = dot(velocity, forward) > 0; // the car rolls nose first
    bool player = car.number == 0;
    if (player)
        playerSpeed = v;
    float power = driveFactor(car);

    // The drawn front wheel keeps up with the road.
    car.wheelSpin[0] -= dot(velocity, forward) * 1.0995574f * dt;

    // The engine, heard from this car in 3D: louder as it revs.
    float pitch = runEngine(car, v, dt);
    Sample &engine = sampleSlots[SAMPLE_EN1 + car.number];
    engine.setPitch(pitch);
    engine.setGain(std::clamp(pitch * 0.4f, 0.15f, 1.0f));

    bool running = !countdownActive && !raceFinished;
    float &skid = player ? skidLevel : aiSkidLevel;
    float &drift = player ? driftLevel : aiDriftLevel;

    // A track without waypoints gives the driver nowhere to go: it stands still.
    float turn = 0, targetSpeed = 0;
    if (waypointCount > 0) {
        if (car.aiWaypoint < 0 || car.aiWaypoint >= waypointCount)
            car.aiWaypoint = 0;
        const Waypoint &w = waypoints[car.aiWaypoint];
        PhysVec3 to = PhysVec3{w.x, w.y, w.z} - position;
        turn = horizontalAngle(velocity, {to.x, 0, to.z});
        targetSpeed = std::fabs(turn) > kSharpTurn ? kBendSpeed : kCruiseSpeed;
        if (length(to) < kWaypointReach)
            car.aiWaypoint = (car.aiWaypoint + 1) % waypointCount;
    }
    bool driving = running && waypointCount > 0;

    if (v < 0.3f && driving) {
        car.stuckTimer += 0.01f * dt;
        if (car.stuckTimer > 4.5f) {
            resetStuckCar(car, v);
            car.stuckTimer = 0;
        }
    } else {
        car.stuckTimer = 0;
    }

    // Slow for 3 s (against a wall, in a corner): back out for about 1.5 s.
    if (v < 1.5f && !car.backingUp && driving) {
        car.backupTimer += 0.01f * dt;
        if (car.backupTimer > 3.0f)
            car.backingUp = true;
    }
    if (v >= 1.5f && !car.backingUp)
        car.backupTimer = 0;

    if (car.backingUp) {
        car.driveForce = -160 * power;
        car.backupTimer -= 0.02f * dt;
        if (car.backupTimer <= 0) {
            car.backingUp = false;
            car.backupTimer = 0;
        }
    } else if (v < targetSpeed) {
        car.gear = car.nextGear;
        car.driveForce = gearDrive(car, v) * power;
    } else {
        car.driveForce = brakingForce(v, forwards, (1.5f * carPower + 0.5f) * 120);
        skid += 0.005f * dt;
    }

    steerToward(car, turn, dt);

    if (car.rearGrip < 0.75f && v > 5.4f)
        skid += 0.005f * dt;
    else
        skid -= 0.005f * dt;
    skid = std::clamp(skid, 0.0f, 1.0f);
    if (car.rearGrip < 0.4f && v > 8) {
        if (drift < 4)
            drift += 0.01f * dt;
    } else if (drift > 0) {
        drift -= 0.02f * dt;
    }
    if (drift > 1)
        car.nitro = std::min(100.0f, car.nitro + (drift - 1) * 0.1f * dt);

    // Dust only from a real skid; the exhaust burns hotter with the revs and green at speed.
    driveCarEffects(car.number, skid > 0.5f ? skid : 0.0f, (car.rpm - 1000) * 0.0002f, v > 17);

    if (countdownActive) {
        car.driveForce = 0.01f;
        car.steer = 0;
        setBodyLinearVelocity(body, {0, 0, 0});
        setBodyAngularMomentum(body, {0, 0, 0});
    } else if (raceFinished || waypointCount == 0) {
        car.steer = 0;
        car.driveForce = brakingForce(v, forwards, 1);
    }
    reachWaypoint(car);
}
