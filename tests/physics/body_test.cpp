// One body's queries and setters, the inertia function, and what the sensors report.
#include "physics/test_util.h"

#include <gtest/gtest.h>

#include <cmath>

static void expectVec(PhysVec3 got, PhysVec3 want, float tol = 1e-5f) {
    EXPECT_NEAR(got.x, want.x, tol);
    EXPECT_NEAR(got.y, want.y, tol);
    EXPECT_NEAR(got.z, want.z, tol);
}

// (The velocity of a point of the body, v + w x r, is held by the race tests: every wheel's grip
// comes from it.)
TEST(PhysicsBody, AngularMomentumGoesThroughTheTurnedTensor) {
    PhysicsWorld *w = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, 0, 0});
    RigidBody *b = createRigidBody(w);
    addBoxGeometry(b, PhysVec3{1, 2, 3}, nullptr, 0);
    // Unequal inertia on a turned body: the momentum must go through the turned tensor both ways.
    setInertiaTensor(b, PhysMat3{{{2, 0, 0}, {0, 5, 0}, {0, 0, 9}}});
    setMass(b, 4);
    const float c = std::cos(0.7f), s = std::sin(0.7f);
    setBodyOrientation(b, PhysMat3{{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}});
    const PhysVec3 L = {3, -4, 12};
    setBodyAngularMomentum(b, L);
    expectVec(bodyAngularMomentum(b), L, 1e-4f);

    // With no forces the momentum survives an advance.
    setInertiaTensor(b, boxInertia(PhysVec3{1, 2, 3}, 4)); // 24 on each axis
    setBodyAngularMomentum(b, PhysVec3{24, 48, -72});
    advancePhysicsWorld(w, 0.01f);
    expectVec(bodyAngularMomentum(b), PhysVec3{24, 48, -72}, 1e-2f);
    destroyPhysicsWorld(w);
}

// Holds a body still against gravity so its sensors can be read where it was put.
struct Hover : ControllerCallback {
    void control(Controller *c) override {
        setControllerForce(c, PhysVec3{0, 8 * bodyMass(controllerBody(c)), 0});
    }
};

static const float rampAngle = 0.3f;
static float rampHeight(float x, float) { return x > 0 ? std::tan(rampAngle) * x : 0.0f; }

TEST(PhysicsBody, SensorsReportWhatTheGeometryPredicts) {
    TestWorld tw(gridMesh(10, 4, rampHeight)); // flat for x <= 0, rising for x > 0
    RigidBody *b = createRigidBody(tw.world);
    addBoxGeometry(b, PhysVec3{0.2f, 0.2f, 0.2f}, nullptr, 0);
    Hover hover;
    attachController(b, &hover, 0);
    LineSensor *flat = addLineSensor(b, PhysVec3{-5, 0, 1}, PhysVec3{0, -2, 0});
    LineSensor *ramp = addLineSensor(b, PhysVec3{5, 1, 0}, PhysVec3{0, -4, 0});
    LineSensor *miss = addLineSensor(b, PhysVec3{0, 0, 0}, PhysVec3{0, -1, 0});
    LineSensor *under = addLineSensor(b, PhysVec3{-3, -3, 0}, PhysVec3{0, 2, 0});
    LineSensor *outside = addLineSensor(b, PhysVec3{100, 0, 0}, PhysVec3{0, -20, 0});
    // A second body between a sensor and the road: sensors see only the track.
    RigidBody *blocker = createRigidBody(tw.world);
    addBoxGeometry(blocker, PhysVec3{1, 0.2f, 1}, nullptr, 0);
    setBodyPosition(blocker, PhysVec3{-5, 0.5f, 1});
    Hover hover2;
    attachController(blocker, &hover2, 0);

    // Before any step nothing has been cast.
    EXPECT_EQ(sensorDepth(flat), 0.0f);
    setBodyPosition(b, PhysVec3{0, 1.5f, 0});
    advancePhysicsWorld(tw.world, 1e-4f);

    // Walked in the order added.
    LineSensor *order[] = {flat, ramp, miss, under, outside};
    LineSensor *s = firstSensor(b);
    for (LineSensor *want : order) {
        EXPECT_EQ(s, want);
        EXPECT_EQ(sensorBody(s), b);
        s = nextSensor(s);
    }
    EXPECT_EQ(s, nullptr);

    // Ray of length 2 from y 1.5 to the flat road at 0: 0.5 of it is below the surface.
    EXPECT_NEAR(sensorDepth(flat), 0.5f, 1e-4f);
    expectVec(sensorNormal(flat), PhysVec3{0, 1, 0});
    expectVec(sensorPoint(flat), PhysVec3{-5, 0, 1}, 1e-4f);

    // From (5, 2.5) straight down to the ramp at height 5 tan(a).
    const float ground = 5 * std::tan(rampAngle);
    EXPECT_NEAR(sensorDepth(ramp), 4 - (2.5f - ground), 1e-4f);
    expectVec(sensorNormal(ramp), PhysVec3{-std::sin(rampAngle), std::cos(rampAngle), 0});
    expectVec(sensorPoint(ramp), PhysVec3{5, ground, 0}, 1e-4f);

    // Length 1 from 1.5 up: nothing reached. Outside the mesh: nothing there.
    for (LineSensor *m : {miss, outside}) {
        EXPECT_EQ(sensorDepth(m), 0.0f);
        expectVec(sensorNormal(m), PhysVec3{0, 0, 0}, 0);
        expectVec(sensorPoint(m), PhysVec3{0, 0, 0}, 0);
    }
    // From below, upward: the back of the road, with the normal facing the ray's start.
    EXPECT_NEAR(sensorDepth(under), 0.5f, 1e-4f);
    expectVec(sensorNormal(under), PhysVec3{0, -1, 0});

    // Turned upside down below the road, each sensor's start and direction turn with the body:
    // the flat sensor now looks up at the back of the road, the under sensor down onto it.
    setBodyOrientation(b, PhysMat3{{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}});
    setBodyPosition(b, PhysVec3{0, -1.5f, 0});
    advancePhysicsWorld(tw.world, 1e-4f);
    EXPECT_NEAR(sensorDepth(flat), 0.5f, 1e-4f);
    expectVec(sensorNormal(flat), PhysVec3{0, -1, 0});
    expectVec(sensorPoint(flat), PhysVec3{-5, 0, -1}, 1e-4f);
    // The under sensor now starts at y = 1.5 and points down to the road: 0.5 of its 2 is below.
    EXPECT_NEAR(sensorDepth(under), 0.5f, 1e-4f);
    expectVec(sensorNormal(under), PhysVec3{0, 1, 0});
    expectVec(sensorPoint(under), PhysVec3{-3, 0, 0}, 1e-4f);
    expectVec(sensorStart(under), PhysVec3{-3, -3, 0});
    expectVec(sensorDirection(under), PhysVec3{0, 2, 0});
}

TEST(PhysicsBody, NullHandlesAndBrokenValuesAreHarmless) {
    // What a caller that ignores a refused create would go on to do.
    RigidBody *none = createRigidBody(nullptr);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(addBoxGeometry(none, PhysVec3{1, 1, 1}, nullptr, 0), nullptr);
    EXPECT_EQ(addLineSensor(none, PhysVec3{0, 0, 0}, PhysVec3{0, -1, 0}), nullptr);
    ConstantController c;
    EXPECT_EQ(attachController(none, &c, 0), nullptr);
    updateBoundingInfo(none);
    setInertiaTensor(none, boxInertia(PhysVec3{1, 1, 1}, 1));
    setMass(none, 1);
    setUserData(none, &c);
    setCollisionClass(none, 1);
    setBodyPosition(none, PhysVec3{1, 1, 1});
    setBodyOrientation(none, PhysMat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    setBodyLinearVelocity(none, PhysVec3{1, 1, 1});
    setBodyAngularMomentum(none, PhysVec3{1, 1, 1});
    expectVec(bodyPosition(none), PhysVec3{0, 0, 0}, 0);
    expectVec(bodyOrientation(none).axis[0], PhysVec3{1, 0, 0}, 0);
    EXPECT_EQ(bodyQuaternion(none).w, 1.0f);
    float m[16];
    bodyTransform(none, m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[12], 0.0f);
    EXPECT_EQ(firstSensor(none), nullptr);
    EXPECT_EQ(nextSensor(nullptr), nullptr);
    EXPECT_EQ(sensorDepth(nullptr), 0.0f);
    EXPECT_EQ(controllerBody(nullptr), nullptr);
    setControllerForce(nullptr, PhysVec3{1, 1, 1});
    advancePhysicsWorld(nullptr, 0.1f);
    EXPECT_FALSE(setTerrainMesh(nullptr, nullptr, 0, nullptr, 0));

    destroyPhysicsWorld(nullptr);

    // Broken numbers are refused before they reach the world or the body: materials outside the
    // table are ignored.
    PhysicsWorld *w = createPhysicsWorld(physicsRaceSizes, PhysVec3{0, 0, 0});
    setMaterial(w, 256, 9, 9, 9);
    setMaterial(w, -1, 9, 9, 9);
    float friction = -1;
    getMaterial(w, 256, &friction, nullptr, nullptr);
    EXPECT_EQ(friction, -1);
    RigidBody *b = createRigidBody(w);
    addBoxGeometry(b, PhysVec3{1, 1, 1}, nullptr, 0);
    const float broken[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, NAN, 0, 0, 1};
    EXPECT_EQ(addBoxGeometry(b, PhysVec3{1, 1, 1}, broken, 0), nullptr);
    setBodyPosition(b, PhysVec3{1, 2, 3});
    setBodyPosition(b, PhysVec3{NAN, 0, 0});
    setBodyOrientation(b, PhysMat3{{{INFINITY, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    setBodyLinearVelocity(b, PhysVec3{0, NAN, 0});
    setBodyAngularMomentum(b, PhysVec3{0, 0, NAN});
    c.force = {NAN, 0, 0};
    attachController(b, &c, 0);
    advancePhysicsWorld(w, 0.1f);
    expectVec(bodyPosition(b), PhysVec3{1, 2, 3}, 0);
    expectVec(bodyOrientation(b).axis[0], PhysVec3{1, 0, 0}, 0);
    expectVec(bodyLinearVelocity(b), PhysVec3{0, 0, 0}, 0);
    destroyPhysicsWorld(w);
}
