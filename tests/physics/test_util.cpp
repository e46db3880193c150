#include "physics/test_util.h"

float flatHeight(float, float) { return 0.0f; }

TestMesh gridMesh(int cells, float cell, float (*height)(float x, float z), int material) {
    TestMesh m;
    const float origin = -0.5f * cells * cell;
    for (int j = 0; j <= cells; j++)
        for (int i = 0; i <= cells; i++) {
            float x = origin + i * cell, z = origin + j * cell;
            m.vertices.insert(m.vertices.end(), {x, height(x, z), z, 0.0f});
        }
    auto at = [cells](int i, int j) { return j * (cells + 1) + i; };
    for (int j = 0; j < cells; j++)
        for (int i = 0; i < cells; i++) {
            // Wound so that the face normal points up.
            m.triangles.insert(m.triangles.end(), {at(i, j), at(i, j + 1), at(i + 1, j), material, 0});
            m.triangles.insert(m.triangles.end(), {at(i + 1, j), at(i, j + 1), at(i + 1, j + 1), material, 0});
        }
    return m;
}

TestWorld::TestWorld(TestMesh m, const PhysicsSizes &sizes) : mesh(std::move(m)) {
    world = createPhysicsWorld(sizes, PhysVec3{0, -8, 0});
    setRaceMaterials(world);
    setTerrainMesh(world, mesh.vertices.data(), mesh.numVertices(), mesh.triangles.data(), mesh.numTriangles());
}

TestWorld::~TestWorld() { destroyPhysicsWorld(world); }

RigidBody *makeCarBody(PhysicsWorld *world, PhysVec3 position, int material) {
    RigidBody *b = createRigidBody(world);
    setCollisionClass(b, 1);
    float lower[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0.3f, 0, 1};
    float upper[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -0.6f, 1.1f, 0, 1};
    addBoxGeometry(b, PhysVec3{6.0f, 1.0f, 2.6f}, lower, material);
    addBoxGeometry(b, PhysVec3{2.5f, 0.6f, 2.6f}, upper, material);
    const PhysVec3 wheels[4] = {{2, 0, 1.25f}, {2, 0, -1.25f}, {-2, 0, 1.25f}, {-2, 0, -1.25f}};
    for (const PhysVec3 &w : wheels)
        addLineSensor(b, w, PhysVec3{0, -1, 0});
    updateBoundingInfo(b);
    setInertiaTensor(b, boxInertia(PhysVec3{2.5f, 0.6f, 2.6f}, 100.0f));
    setMass(b, 100.0f);
    setBodyPosition(b, position);
    return b;
}

void ConstantController::control(Controller *c) {
    calls++;
    setControllerForce(c, force);
    setControllerTorque(c, torque);
}
