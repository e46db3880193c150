// One race frame of physics: a 25,000-triangle track and four cars, standing or driving, each
// pushed by a wheel controller of the same shape and cost as the car code's.
#include "physics/physics.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

PhysVec3 add(PhysVec3 a, PhysVec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
PhysVec3 sub(PhysVec3 a, PhysVec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
PhysVec3 scale(PhysVec3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
PhysVec3 rotate(const PhysMat3 &m, PhysVec3 v) {
    return add(add(scale(m.axis[0], v.x), scale(m.axis[1], v.y)), scale(m.axis[2], v.z));
}

// 112 x 112 squares of 4 units, gently rolling: 25,088 triangles.
const int cells = 112;
const float cellSize = 4.0f;
const float halfSpan = 0.5f * cells * cellSize;

struct Track {
    std::vector<float> vertices;
    std::vector<int> triangles;
    Track() {
        for (int j = 0; j <= cells; j++)
            for (int i = 0; i <= cells; i++) {
                float x = -halfSpan + i * cellSize, z = -halfSpan + j * cellSize;
                float y = 0.6f * std::sin(x * 0.05f) * std::cos(z * 0.04f);
                vertices.insert(vertices.end(), {x, y, z, 0.0f});
            }
        auto at = [](int i, int j) { return j * (cells + 1) + i; };
        for (int j = 0; j < cells; j++)
            for (int i = 0; i < cells; i++) {
                triangles.insert(triangles.end(), {at(i, j), at(i, j + 1), at(i + 1, j), 0, 0});
                triangles.insert(triangles.end(), {at(i + 1, j), at(i, j + 1), at(i + 1, j + 1), 0, 0});
            }
    }
};

// Springs, dampers, side grip and rear-wheel drive from the four wheel sensors.
struct Wheels : ControllerCallback {
    float drive = 0.0f;
    float steer = 0.0f;
    void control(Controller *c) override {
        RigidBody *b = controllerBody(c);
        const PhysVec3 p = bodyPosition(b);
        const PhysMat3 r = bodyOrientation(b);
        const float cs = std::cos(steer), sn = std::sin(steer);
        const PhysVec3 frontDir = add(scale(r.axis[0], cs), scale(r.axis[2], -sn));
        PhysVec3 force = {0, 0, 0}, torque = {0, 0, 0};
        int w = 0;
        for (LineSensor *s = firstSensor(b); s; s = nextSensor(s), w++) {
            float d = sensorDepth(s);
            if (d == 0.0f)
                continue;
            PhysVec3 u = rotate(r, sensorDirection(s));
            PhysVec3 n = sensorNormal(s);
            PhysVec3 m = rotate(r, sensorStart(s));
            PhysVec3 cp = sub(sensorPoint(s), p);
            float k = w < 2 ? 1000.0f : 1200.0f;
            PhysVec3 f = scale(u, k * d * dot(u, n));
            f = add(f, scale(u, -150.0f * dot(bodyVelocityAtPoint(b, m), u)));
            force = add(force, f);
            torque = add(torque, cross(m, f));
            PhysVec3 roll = w < 2 ? frontDir : r.axis[0];
            PhysVec3 g = bodyVelocityAtPoint(b, cp);
            g = sub(g, scale(n, dot(g, n)));
            g = sub(g, scale(roll, dot(g, roll)));
            float gl = std::sqrt(dot(g, g));
            PhysVec3 side = {0, 0, 0};
            if (gl > 0.0f)
                side = scale(g, -150.0f / gl * (gl < 1.0f ? std::sqrt(gl) : 1.0f));
            side.y = 0.0f;
            if (w >= 2)
                side = add(side, scale(r.axis[0], drive));
            force = add(force, side);
            torque = add(torque, cross(cp, side));
        }
        setControllerForce(c, force);
        setControllerTorque(c, torque);
    }
};

struct Race {
    Track track;
    PhysicsWorld *world;
    RigidBody *cars[4];
    Wheels wheels[4];
    explicit Race(bool driving) {
        world = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, -8, 0});
        setRaceMaterials(world);
        setTerrainMesh(world, track.vertices.data(), int(track.vertices.size() / 4), track.triangles.data(),
                       int(track.triangles.size() / 5));
        const float lower[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0.3f, 0, 1};
        const float upper[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -0.6f, 1.1f, 0, 1};
        const PhysVec3 wheelPoints[4] = {{2, 0, 1.25f}, {2, 0, -1.25f}, {-2, 0, 1.25f}, {-2, 0, -1.25f}};
        for (int i = 0; i < 4; i++) {
            RigidBody *b = createRigidBody(world);
            setCollisionClass(b, 1);
            addBoxGeometry(b, PhysVec3{6.0f, 1.0f, 2.6f}, lower, 0);
            addBoxGeometry(b, PhysVec3{2.5f, 0.6f, 2.6f}, upper, 0);
            for (const PhysVec3 &w : wheelPoints)
                addLineSensor(b, w, PhysVec3{0, -1, 0});
            attachController(b, &wheels[i], 0);
            updateBoundingInfo(b);
            setInertiaTensor(b, boxInertia(PhysVec3{2.5f, 0.6f, 2.6f}, 100.0f));
            setMass(b, 100.0f);
            setBodyPosition(b, PhysVec3{-20, 1.5f, i * 4.5f});
            cars[i] = b;
            if (driving) {
                wheels[i].drive = 60.0f + 10.0f * i;
                wheels[i].steer = 0.15f + 0.05f * i;
            }
        }
        for (int i = 0; i < 200; i++)
            advance();
    }
    ~Race() { destroyPhysicsWorld(world); }
    void advance() {
        advancePhysicsWorld(world, 1.67f * 0.028f); // a 60 Hz frame
        // A car about to leave the track comes back on the far side, still moving.
        for (RigidBody *b : cars) {
            PhysVec3 p = bodyPosition(b);
            const float edge = halfSpan - 20.0f;
            if (std::fabs(p.x) > edge || std::fabs(p.z) > edge) {
                p.x = std::fabs(p.x) > edge ? -0.9f * p.x : p.x;
                p.z = std::fabs(p.z) > edge ? -0.9f * p.z : p.z;
                p.y += 1.0f;
                setBodyPosition(b, p);
            }
        }
    }
};

void BM_AdvanceStanding(benchmark::State &state) {
    Race race(false);
    for (auto _ : state)
        race.advance();
}
BENCHMARK(BM_AdvanceStanding)->Unit(benchmark::kMicrosecond);

void BM_AdvanceDriving(benchmark::State &state) {
    Race race(true);
    for (auto _ : state)
        race.advance();
    float speed = 0;
    for (RigidBody *b : race.cars) {
        PhysVec3 v = bodyLinearVelocity(b);
        speed += std::sqrt(dot(v, v)) * 0.25f;
    }
    state.counters["meanSpeed"] = speed;
}
BENCHMARK(BM_AdvanceDriving)->Unit(benchmark::kMicrosecond);

// Building the terrain tree happens once per track load.
void BM_SetTerrainMesh(benchmark::State &state) {
    Track track;
    PhysicsWorld *world = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, -8, 0});
    for (auto _ : state)
        setTerrainMesh(world, track.vertices.data(), int(track.vertices.size() / 4), track.triangles.data(),
                       int(track.triangles.size() / 5));
    destroyPhysicsWorld(world);
}
BENCHMARK(BM_SetTerrainMesh)->Unit(benchmark::kMillisecond);

} // namespace
