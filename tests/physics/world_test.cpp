// The world as the race uses it: bodies resting, sliding and bumping on a real track mesh, the
// sub-step contract with the controllers and the pools. (A thousand worlds created and destroyed
// under the leak checker: the race's thousand loads and unloads.)
#include "physics/test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

static const float frameDt = 1.67f * 0.028f; // one 60 Hz frame of simulated time

static void run(PhysicsWorld *w, float seconds) {
    for (float t = 0; t < seconds; t += frameDt)
        advancePhysicsWorld(w, frameDt);
}

TEST(PhysicsWorld, TerrainMeshRefusesBadArrays) {
    TestMesh m = gridMesh(2, 10, flatHeight);
    PhysicsWorld *w = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, -8, 0});
    RigidBody *b = createRigidBody(w); // no geometry: it hangs still and only casts its sensor
    LineSensor *s = addLineSensor(b, PhysVec3{0, 0, 0}, PhysVec3{0, -2, 0});
    setBodyPosition(b, PhysVec3{1, 1, 1});

    ASSERT_TRUE(setTerrainMesh(w, m.vertices.data(), m.numVertices(), m.triangles.data(), m.numTriangles()));
    advancePhysicsWorld(w, 0.01f);
    EXPECT_NEAR(sensorDepth(s), 1.0f, 1e-5f);

    std::vector<int> bad = m.triangles;
    bad[7] = m.numVertices(); // one past the last vertex
    EXPECT_FALSE(setTerrainMesh(w, m.vertices.data(), m.numVertices(), bad.data(), m.numTriangles()));
    advancePhysicsWorld(w, 0.01f);
    EXPECT_EQ(sensorDepth(s), 0.0f) << "a refused mesh leaves no terrain";
    bad[7] = -1;
    EXPECT_FALSE(setTerrainMesh(w, m.vertices.data(), m.numVertices(), bad.data(), m.numTriangles()));
    EXPECT_FALSE(setTerrainMesh(w, m.vertices.data(), -1, m.triangles.data(), m.numTriangles()));
    EXPECT_FALSE(setTerrainMesh(w, m.vertices.data(), m.numVertices(), m.triangles.data(), -3));
    EXPECT_FALSE(setTerrainMesh(w, nullptr, 0, m.triangles.data(), m.numTriangles()));
    // An empty collision model gives an empty terrain: the car simply falls.
    EXPECT_TRUE(setTerrainMesh(w, nullptr, 0, nullptr, 0));
    advancePhysicsWorld(w, 0.01f);
    EXPECT_EQ(sensorDepth(s), 0.0f);
    destroyPhysicsWorld(w);
}

// (A car at 0.2 rests on its lower box: with a box of the wrong size or out of its place it
// would not glide level.)
TEST(PhysicsWorld, BoxGlidesAcrossTriangleEdgesOfAFlatRoad) {
    // Both orders of creation: the track may come before or after the car, as in a race.
    for (bool trackFirst : {true, false}) {
        TestMesh mesh = gridMesh(40, 4, flatHeight);
        PhysicsWorld *w = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, -8, 0});
        setRaceMaterials(w);
        if (trackFirst)
            setTerrainMesh(w, mesh.vertices.data(), mesh.numVertices(), mesh.triangles.data(), mesh.numTriangles());
        RigidBody *car = makeCarBody(w, PhysVec3{-60, 0.2f, 0.3f});
        if (!trackFirst)
            setTerrainMesh(w, mesh.vertices.data(), mesh.numVertices(), mesh.triangles.data(), mesh.numTriangles());
        setBodyLinearVelocity(car, PhysVec3{20, 0, 3});
        float highest = 0, spin = 0;
        for (int i = 0; i < 100; i++) {
            advancePhysicsWorld(w, frameDt);
            highest = std::fmax(highest, bodyPosition(car).y);
            spin = std::fmax(spin, length(bodyAngularMomentum(car)));
        }
        EXPECT_LT(highest, 0.22f) << trackFirst;
        EXPECT_LT(spin, 50.0f) << trackFirst; // a crash sound needs 600
        PhysVec3 v = bodyLinearVelocity(car);
        EXPECT_NEAR(v.x, 20, 0.1f) << trackFirst;
        EXPECT_NEAR(v.z, 3, 0.1f) << trackFirst;
        destroyPhysicsWorld(w);
    }
}

static const float slopeAngle = 0.6f; // radians, falling toward +x
static float slopeHeight(float x, float) { return -std::tan(slopeAngle) * x; }

// Speed after two seconds of a box let go on the slope, box and road each of a material.
static float slideSpeed(int boxMaterial, int roadMaterial) {
    TestWorld tw(gridMesh(16, 10, slopeHeight, roadMaterial));
    RigidBody *b = createRigidBody(tw.world);
    addBoxGeometry(b, PhysVec3{2, 1, 2}, nullptr, boxMaterial);
    setInertiaTensor(b, boxInertia(PhysVec3{2, 1, 2}, 10));
    setMass(b, 10);
    const float c = std::cos(slopeAngle), s = std::sin(slopeAngle);
    setBodyOrientation(b, PhysMat3{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}});
    setBodyPosition(b, PhysVec3{s * 0.5f, c * 0.5f + 0.01f, 0});
    run(tw.world, 2.0f);
    PhysVec3 v = bodyLinearVelocity(b);
    EXPECT_GE(v.x, -0.01f) << "slides downhill or not at all";
    return length(v);
}

TEST(PhysicsWorld, SlopeSlidesByTheMaterialsOfBothSides) {
    const float g = 8, t = 2, s = std::sin(slopeAngle), c = std::cos(slopeAngle);
    // Frictionless (the race's material 0): it slides freely at g sin(angle).
    EXPECT_NEAR(slideSpeed(0, 0), g * s * t, 0.05f * g * s * t);
    // A contact takes the mean friction of its two sides: 0.5 between material 7 (friction 1.0)
    // and material 0, whichever side is which, which still slides; 1.0 on both sides holds.
    const float half = g * (s - 0.5f * c) * t;
    EXPECT_NEAR(slideSpeed(7, 0), half, 0.15f * half);
    EXPECT_NEAR(slideSpeed(0, 7), half, 0.15f * half);
    EXPECT_LT(slideSpeed(7, 7), 0.2f);
}

TEST(PhysicsWorld, CarsDrivenTogetherBumpWithoutSinkingIn) {
    TestWorld tw(gridMesh(8, 10, flatHeight));
    RigidBody *a = makeCarBody(tw.world, PhysVec3{-4, 0.2f, 0}); // resting on their boxes
    RigidBody *b = makeCarBody(tw.world, PhysVec3{4, 0.2f, 0});
    ConstantController pushA, pushB;
    pushA.force = {2000, 0, 0};
    pushB.force = {-2000, 0, 0};
    attachController(a, &pushA, 0);
    attachController(b, &pushB, 0);
    // Head to head without friction they end up slipping past each other sideways; only
    // while they still overlap well across the road may their noses not sink into each other.
    float closest = 1e9f;
    for (int i = 0; i < 150; i++) {
        advancePhysicsWorld(tw.world, frameDt);
        // Measured in the first car's frame: they turn together as they slip.
        PhysVec3 d = bodyPosition(b) - bodyPosition(a);
        PhysMat3 o = bodyOrientation(a);
        if (std::fabs(dot(d, o.axis[2])) < 2.0f)
            closest = std::fmin(closest, std::fabs(dot(d, o.axis[0])));
    }
    // Noses of two 6-long cars meet at 6 apart.
    EXPECT_GT(closest, 6.0f - 0.1f);
    EXPECT_LT(closest, 6.05f);
}

TEST(PhysicsWorld, ControllersRunBeforeEachOfFourSubSteps) {
    TestWorld tw(gridMesh(2, 10, flatHeight));
    RigidBody *car = makeCarBody(tw.world, PhysVec3{0, 0.8f, 0});
    RigidBody *other = makeCarBody(tw.world, PhysVec3{0, 0.8f, 10});
    ConstantController a, b;
    attachController(car, &a, 0);
    attachController(other, &b, 0);
    advancePhysicsWorld(tw.world, frameDt);
    EXPECT_EQ(a.calls, 4);
    EXPECT_EQ(b.calls, 4);
    advancePhysicsWorld(tw.world, 0.001f);
    EXPECT_EQ(a.calls, 8);

    // A zero, negative or broken advance changes nothing at all.
    setBodyLinearVelocity(car, PhysVec3{1, 2, 3});
    float before[16], after[16];
    bodyTransform(car, before);
    for (float dt : {0.0f, -0.5f, NAN, INFINITY})
        advancePhysicsWorld(tw.world, dt);
    bodyTransform(car, after);
    EXPECT_EQ(a.calls, 8);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(before[i], after[i]);
    EXPECT_EQ(bodyLinearVelocity(car).y, 2.0f);
}

static std::vector<std::string> logged;
static void keepLog(const char *text) { logged.push_back(text); }

TEST(PhysicsWorld, ExhaustedPoolsRefuseAndLog) {
    PhysicsSizes sizes = physicsRaceSizes;
    sizes.rigidBodiesCount = 2;
    sizes.geometriesCount = 3;
    sizes.sensorsCount = 1;
    sizes.controllersCount = 1;
    PhysicsWorld *w = createPhysicsWorld(sizes, PhysVec3{0, -8, 0});
    logged.clear();

    // Without a log (as the game runs) a refusal is silent.
    RigidBody *a = createRigidBody(w);
    RigidBody *b = createRigidBody(w);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(createRigidBody(w), nullptr);
    setPhysicsLog(w, keepLog, 0);
    EXPECT_EQ(createRigidBody(w), nullptr);
    EXPECT_TRUE(logged.empty());

    setPhysicsLog(w, keepLog, 1);
    EXPECT_EQ(createRigidBody(w), nullptr);
    EXPECT_TRUE(addBoxGeometry(a, PhysVec3{1, 1, 1}, nullptr, 0));
    EXPECT_TRUE(addBoxGeometry(a, PhysVec3{1, 1, 1}, nullptr, 0));
    EXPECT_TRUE(addBoxGeometry(b, PhysVec3{1, 1, 1}, nullptr, 0));
    EXPECT_EQ(addBoxGeometry(b, PhysVec3{1, 1, 1}, nullptr, 0), nullptr);
    EXPECT_TRUE(addLineSensor(a, PhysVec3{0, 0, 0}, PhysVec3{0, -1, 0}));
    EXPECT_EQ(addLineSensor(b, PhysVec3{0, 0, 0}, PhysVec3{0, -1, 0}), nullptr);
    ConstantController c;
    EXPECT_TRUE(attachController(a, &c, 0));
    EXPECT_EQ(attachController(b, &c, 0), nullptr);
    const std::vector<std::string> expect = {
        "Run out of RigidBodies. Increase 'rigidBodiesCount'.\n",
        "Run out of Geometries. Increase 'geometriesCount'.\n",
        "Run out of Sensors. Increase 'sensorsCount'.\n",
        "Run out of Controllers. Increase 'constraintSetsCount'.\n",
    };
    EXPECT_EQ(logged, expect);
    // A refused add leaves the body as it was.
    EXPECT_EQ(nextSensor(firstSensor(a)), nullptr);
    EXPECT_EQ(firstSensor(b), nullptr);
    advancePhysicsWorld(w, 0.01f);
    EXPECT_EQ(c.calls, 4);
    destroyPhysicsWorld(w);

    // Sizes that make no sense give empty or bounded pools, not a failed world.
    sizes.rigidBodiesCount = -5;
    sizes.sensorsCount = INT32_MAX;
    w = createPhysicsWorld(sizes, PhysVec3{0, -8, 0});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(createRigidBody(w), nullptr);
    destroyPhysicsWorld(w);
}

TEST(PhysicsWorld, FullPairBufferRefusesNewPairsAndLogs) {
    PhysicsSizes sizes = physicsRaceSizes;
    sizes.overlappingPairsCount = 1;
    TestWorld tw(gridMesh(4, 10, flatHeight), sizes);
    logged.clear();
    setPhysicsLog(tw.world, keepLog, 1);
    RigidBody *first = makeCarBody(tw.world, PhysVec3{0, 0.5f, -5});
    advancePhysicsWorld(tw.world, frameDt);
    EXPECT_TRUE(logged.empty());
    // The second car's pair with the track finds the buffer full: it is refused, so that car
    // falls through the road while the first one stands.
    RigidBody *second = makeCarBody(tw.world, PhysVec3{0, 0.5f, 5});
    run(tw.world, 1);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged[0], "Overlap Pair buffer full. Increase buffer size.\n");
    EXPECT_GT(bodyPosition(first).y, 0.1f);
    EXPECT_LT(bodyPosition(second).y, -1.0f);
}
