// Worlds, meshes and car-shaped bodies for the physics tests, built only through the public calls.
#pragma once
#include "physics/physics.h"

#include <vector>

// A track surface in the game's layout: four floats a vertex, five ints a triangle.
struct TestMesh {
    std::vector<float> vertices;
    std::vector<int> triangles;
    int numVertices() const { return int(vertices.size() / 4); }
    int numTriangles() const { return int(triangles.size() / 5); }
};

// cells x cells squares of side cell centred on the origin, lifted by height(x, z); both triangles
// of a square wind counter-clockwise seen from above, material given.
TestMesh gridMesh(int cells, float cell, float (*height)(float x, float z), int material = 0);
float flatHeight(float x, float z);

// Keeps the mesh alive next to the world that reads it.
struct TestWorld {
    PhysicsWorld *world = nullptr;
    TestMesh mesh;
    explicit TestWorld(TestMesh m, const PhysicsSizes &sizes = physicsRaceSizes);
    ~TestWorld();
    TestWorld(const TestWorld &) = delete;
    TestWorld &operator=(const TestWorld &) = delete;
};

// The race car's body: two boxes, four downward wheel sensors, mass 100.
RigidBody *makeCarBody(PhysicsWorld *world, PhysVec3 position, int material = 0);

// A fixed force and torque.
struct ConstantController : ControllerCallback {
    PhysVec3 force = {0, 0, 0};
    PhysVec3 torque = {0, 0, 0};
    int calls = 0;
    void control(Controller *controller) override;
};
