// The vehicle model: the player's frame update from the keys, and the force step that every car
// runs in each physics sub-step (suspension, wheel spin, side grip, drive, drag, crash sounds).
#include "audio/audio.h"
#include "common/common.h"
#include "effects/effects.h"
#include "platform/sys.h"
#include "race/car.h"
#include "race/race.h"

#include <algorithm>
#include <cmath>

Car cars[NUM_CARS];
float throttleBlend, skidLevel, driftLevel, driftScore;
float aiSkidLevel, aiDriftLevel;

const PhysVec3 wheelPoints[4] = {{2, 0, 1.25f}, {2, 0, -1.25f}, {-2, 0, 1.25f}, {-2, 0, -1.25f}};

PhysVec3 rotateAbout(PhysVec3 v, PhysVec3 axis, float angle)
{
    // Rodrigues' rotation.
    float c = std::cos(angle), s = std::sin(angle);
    return v * c + cross(axis, v) * s + axis * (dot(axis, v) * (1 - c));
}

// Heading of a direction in the ground plane: 0 along +x, growing towards -z (the left of a car
// facing +x). NaN without a horizontal part.
static float heading(PhysVec3 w)
{
    float h = std::sqrt(w.x * w.x + w.z * w.z);
    if (h == 0)
        return NAN;
    float a = std::acos(std::clamp(w.x / h, -1.0f, 1.0f));
    return w.z > 0 ? -a : a;
}

float horizontalAngle(PhysVec3 from, PhysVec3 to)
{
    float a = heading(to) - heading(from);
    if (std::isnan(a))
        return 0;
    const float pi = 3.14159265f;
    if (a > pi)
        a -= 2 * pi;
    else if (a < -pi)
        a += 2 * pi;
    return a;
}

// ---- body ----

namespace {

struct CarController : ControllerCallback {
    void control(Controller *controller) override
    {
        RigidBody *body = controllerBody(controller);
        if (Car *car = static_cast<Car *>(bodyUserData(body)))
            carForceStep(*car, controller);
    }
} carController;

void translation(float m[16], PhysVec3 at)
{
    for (int i = 0; i < 16; i++)
        m[i] = i % 5 == 0 ? 1.0f : 0.0f;
    m[12] = at.x;
    m[13] = at.y;
    m[14] = at.z;
}

// Angle between the velocity and the car's nose under 90 degrees: the car rolls forwards.
bool movingForward(PhysVec3 velocity, PhysVec3 forward)
{
    return dot(velocity, forward) > 0;
}

} // namespace

void createCarBody(Car &car, PhysVec3 position)
{
    RigidBody *body = createRigidBody(raceWorld);
    car.body = body;
    if (!body)
        return;
    setCollisionClass(body, 1);
    float m[16];
    translation(m, {0, 0.3f, 0});
    addBoxGeometry(body, {6.0f, 1.0f, 2.6f}, m, 0);
    translation(m, {-0.6f, 1.1f, 0});
    addBoxGeometry(body, {2.5f, 0.6f, 2.6f}, m, 0);
    for (const PhysVec3 &w : wheelPoints)
        addLineSensor(body, w, {0, -1, 0});
    attachController(body, &carController, 0);
    updateBoundingInfo(body);
    setInertiaTensor(body, boxInertia({2.5f, 0.6f, 2.6f}, 100));
    setMass(body, 100);
    setUserData(body, &car);
    setBodyPosition(body, position);
}

// ---- the player's frame ----

static const float rpmPerSpeed[] = {0, 777.7f, 542.6f, 388.8f, 318.2f, 272.7f};

float runEngine(Car &car, float v, float dt)
{
    int g = std::abs(car.gear);
    car.targetRpm = car.gear == 0 ? 1000.0f : 1000.0f + v * rpmPerSpeed[std::min(g, 5)];
    car.rpm += (car.targetRpm - car.rpm) * 0.1f * dt;
    return std::clamp(0.35f + (car.rpm - 1000.0f) * 0.0002f, 0.15f, 2.5f);
}

float gearDrive(Car &car, float v)
{
    // A car at a dead stop pulls away in first.
    static const struct {
        float below;
        int gear;
        float force;
    } table[] = {{9, 1, 140}, {12.9f, 2, 120}, {18, 3, 100}, {22, 4, 80}, {1e30f, 5, 60}};
    for (const auto &row : table) {
        if (v < row.below || (row.gear == 2 && v <= row.below)) {
            car.nextGear = row.gear;
            return row.force;
        }
    }
    return 0; // a speed that is not a number: no drive
}

float brakingForce(float v, bool forward, float strength)
{
    float f = forward ? -strength : strength;
    return v < 1 ? f * std::sqrt(v) : f;
}

static void changeGear(Car &car)
{
    if (car.gear == car.nextGear)
        return;
    car.gear = car.nextGear;
    Sample &gear = sampleSlots[SAMPLE_GEAR];
    if (soundOn && !gear.isPlaying())
        gear.play();
}

void playerCarFrame(Car &car, float dt)
{
    PhysVec3 velocity = bodyLinearVelocity(car.body);
    PhysVec3 forward = bodyOrientation(car.body).axis[0];
    float v = length(velocity);
    playerSpeed = v;
    float power = carPower * 1.15f;

    // Nitro: half as much drive again while the reserve lasts.
    float n = 1;
    Sample &nitroSample = sampleSlots[SAMPLE_NITRO];
    if (keyDown[VK_SPACE] && car.nitro > 0) {
        car.nitro -= 0.12f * dt;
        n = 1.5f;
        if (soundOn && !nitroSample.isPlaying())
            nitroSample.play();
    }
    if (car.nitro <= 0)
        car.nitro = 0;
    if (!keyDown[VK_SPACE] || car.nitro <= 0)
        nitroSample.stop();

    // Engine speed and its two sounds.
    float pitch = runEngine(car, v, dt);
    sampleSlots[SAMPLE_EN1].setGain(throttleBlend);
    sampleSlots[SAMPLE_EN_PASS].setGain(1 - throttleBlend);
    sampleSlots[SAMPLE_EN1].setPitch(pitch);
    sampleSlots[SAMPLE_EN_PASS].setPitch(pitch);

    bool up = keyDown[VK_UP], down = keyDown[VK_DOWN];
    if (up) {
        car.brakeHeld = car.reverseMode = false;
        changeGear(car);
        throttleBlend = std::min(1.0f, throttleBlend + 0.02f * dt);
        car.driveForce = gearDrive(car, v) * power * n;
    } else if (down) {
        car.brakeHeld = true;
        changeGear(car);
        float blend = car.nextGear == -1 ? 0.02f * dt : -0.02f * dt;
        throttleBlend = std::clamp(throttleBlend + blend, 0.0f, 1.0f);
        float brake = brakingForce(v, movingForward(velocity, forward), 100);
        skidLevel = std::max(skidLevel, std::clamp((v - 1) * 0.2f, 0.0f, 1.0f));
        if (!car.reverseMode) {
            car.driveForce = brake;
        } else {
            car.nextGear = -1;
            car.driveForce = v > 0 && v <= 9 ? -140 * power * n : brake + 0.1f * dt;
        }
    } else {
        // Letting go of the brake at a standstill arms reverse for the next press of Down.
        if (car.brakeHeld && v < 1)
            car.reverseMode = true;
        throttleBlend = std::max(0.0f, throttleBlend - 0.02f * dt);
        car.driveForce = 0;
    }

    if (keyDown[VK_LEFT]) {
        car.steer = std::min(0.7f, car.steer + 0.05f * dt);
    } else if (keyDown[VK_RIGHT]) {
        car.steer = std::max(-0.7f, car.steer - 0.05f * dt);
    } else {
        float next = car.steer - car.steer * 0.15f * dt;
        car.steer = next * car.steer <= 0 ? 0 : next;
    }

    PhysVec3 position = bodyPosition(car.body);
    placeSampleAtCar(sampleSlots[SAMPLE_ST], &position.x, &velocity.x);
    if (car.rearGrip < 0.75f && v > 5.4f)
        skidLevel += 0.01f * dt;
    else
        skidLevel -= 0.0125f * dt;
    skidLevel = std::clamp(skidLevel, 0.0f, 1.0f);
    sampleSlots[SAMPLE_ST].setGain(skidLevel);
    if (sampleSlots[SAMPLE_WIND].isPlaying())
        sampleSlots[SAMPLE_WIND].setGain(std::clamp(v * 0.066f - 1, 0.0f, 1.0f));

    // Drifting refills the nitro.
    if (car.rearGrip < 0.4f && v > 8) {
        if (driftLevel < 4)
            driftLevel += 0.01f * dt;
    } else if (driftLevel > 0) {
        driftLevel -= 0.02f * dt;
    }
    if (driftLevel > 1) {
        float gain = (driftLevel - 1) * 0.1f * dt;
        car.nitro = std::min(100.0f, car.nitro + gain);
        driftScore += gain;
    } else {
        driftScore = 0;
    }

    // The exhaust burns green on nitro, otherwise brighter as the revs climb past 4000.
    bool nitroBurning = n > 1;
    float exhaust = nitroBurning ? 1.0f : std::clamp((car.rpm - 4000.0f) * 0.00025f, 0.0f, 1.0f);
    driveCarEffects(car.number, skidLevel, exhaust, nitroBurning);

    if (countdownActive) {
        car.driveForce = 0.01f;
        car.steer = 0;
        setBodyLinearVelocity(car.body, {0, 0, 0});
        setBodyAngularMomentum(car.body, {0, 0, 0});
    }
    if (raceFinished) {
        car.steer = 0.7f;
        bool fwd = movingForward(velocity, forward);
        float f = fwd ? -100.0f : 1.0f;
        car.driveForce = v < 1 ? f * std::sqrt(v) : f;
    }
    reachWaypoint(car);
}

// ---- the force step ----

// The force and torque of one sub-step: a force f applied at a point (relative to the body's
// centre) pushes the car and turns it. Kept in registers: the force step adds to it a dozen times.
namespace {
struct Push {
    PhysVec3 force = {0, 0, 0}, torque = {0, 0, 0};
    inline __attribute__((always_inline)) void at(PhysVec3 f, PhysVec3 point)
    {
        force = force + f;
        torque = torque + cross(point, f);
    }
};
} // namespace

static const struct {
    float above, upTo;
    int sample;
} crashBands[] = {
    {600, 1100, SAMPLE_CR0}, {1100, 1400, SAMPLE_CR1}, {1400, 2000, SAMPLE_CR2}, {2000, 30000, SAMPLE_CR3},
};

void carForceStep(Car &car, Controller *controller)
{
    RigidBody *body = car.body;
    PhysVec3 p = bodyPosition(body);
    PhysMat3 r = bodyOrientation(body);
    PhysVec3 velocity = bodyLinearVelocity(body);
    PhysVec3 forward = r.axis[0];
    float v = length(velocity);
    Push push;
    bool player = car.number == 0;

    int w = 0;
    for (LineSensor *s = firstSensor(body); s && w < 4; s = nextSensor(s), w++) {
        float k = w < 2 ? 1000.0f : 1200.0f;
        float d = sensorDepth(s);
        car.wheelCompression[w] = std::clamp(1 - d, 0.7f, 0.9f);
        PhysVec3 rolling = w < 2 ? car.frontWheelDir : forward;

        PhysVec3 hub = toWorld(r, wheelPoints[w] + PhysVec3{0, -1, 0});
        car.wheelSpin[w] -= dot(bodyVelocityAtPoint(body, hub), rolling) * 0.7853982f * stepTime;

        if (d == 0)
            continue;
        PhysVec3 u = toWorld(r, sensorDirection(s));
        PhysVec3 n = sensorNormal(s);
        PhysVec3 m = toWorld(r, sensorStart(s));
        PhysVec3 c = sensorPoint(s) - p;

        push.at(u * (k * d * dot(u, n)), m);
        push.at(u * (-150.0f * dot(bodyVelocityAtPoint(body, m), u)), m);

        // Side grip: whatever of the contact's velocity is neither into the ground nor rolling.
        PhysVec3 g = bodyVelocityAtPoint(body, c);
        g = g - n * dot(g, n);
        g = g - rolling * dot(g, rolling);
        float gl = length(g);
        PhysVec3 side = {0, 0, 0};
        if (gl > 0)
            side = g * (-150.0f / gl * (gl < 1 ? std::sqrt(gl) : 1.0f));
        side.y = 0;

        if (car.driveForce > 1)
            car.driveForce = std::max(0.0f, car.driveForce - std::fabs(v * v * car.steer) * 0.005f * stepTime);

        float grip = 1 - 0.18f * 2 * std::sqrt(v) * std::fabs(car.steer) * 0.7f;
        car.frontGrip = std::max(0.6f, grip);
        car.rearGrip = std::max(0.35f, grip);
        if (stepTime > 1) {
            float soften = 1 + std::min(0.05f * stepTime, 0.25f);
            car.frontGrip /= soften;
            car.rearGrip /= soften;
        }
        if (player)
            side = side * (w < 2 ? car.frontGrip : car.rearGrip);
        push.at(side, c);

        if (w >= 2) {
            float drive = car.driveForce - (v > 25 ? (v - 25) * 50 : 0);
            push.at(forward * drive, c);
        }
    }

    if (v > 0) {
        PhysVec3 e = velocity * (1.0f / v);
        push.force = push.force + e * (-0.05f * v * v);
        PhysVec3 rolling = e * (-1.5f * v);
        push.force = push.force + (length(rolling) < 1 ? e * -100.0f : rolling);
    }
    setControllerForce(controller, push.force);
    setControllerTorque(controller, push.torque);

    car.crashCooldown += 0.01f * stepTime;
    if (player && car.crashCooldown > 1) {
        float l = length(bodyAngularMomentum(body));
        for (const auto &band : crashBands) {
            if (l > band.above && l <= band.upTo) {
                Sample &crash = sampleSlots[band.sample];
                placeSampleAtCar(crash, &p.x, &velocity.x);
                if (soundOn)
                    crash.play();
                car.crashCooldown = 0;
                break;
            }
        }
    }
}
