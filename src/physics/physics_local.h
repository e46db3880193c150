// Inside the physics world: the records behind the public handles and the Bullet objects they
// wrap. Only src/physics includes this (and through it Bullet).
#pragma once
#include "physics/physics.h"

#include <btBulletDynamicsCommon.h>
#include <BulletCollision/CollisionDispatch/btInternalEdgeUtility.h>

#include <vector>

struct PhysMaterial {
    float friction;
    float restitution;
    float third;
};

struct Geometry {
    RigidBody *body;
    btBoxShape *shape;
    int material;
};

// A track triangle kept beside a sensor: its corners, its plane (normal not normalised, as the
// ray test forms it) and its bounding box.
struct NearTriangle {
    btVector3 corner[3];
    btVector3 normal;
    btScalar plane;
    btScalar edgeTolerance;
    btVector3 lo, hi;
};

struct LineSensor {
    RigidBody *body;
    LineSensor *next;
    btVector3 start;
    btVector3 direction;
    float depth;
    btVector3 normal;
    btVector3 point;
    // The track triangles in a box around the sensor (three corners each), gathered once and
    // cast against while the sensor stays inside the box: a car moves well under a unit per
    // frame, so most casts need no walk through the whole track's tree.
    std::vector<NearTriangle> nearTriangles;
    btVector3 nearMin, nearMax;
    unsigned nearTerrain; // the terrain the triangles came from; 0: none gathered
};

struct Controller {
    RigidBody *body;
    ControllerCallback *callback;
    float period;
    float sinceRun; // simulated time since the callback last ran
    bool hasRun;
    btVector3 force;
    btVector3 torque;
};

struct RigidBody {
    PhysicsWorld *world;
    btRigidBody *rb;
    btCompoundShape *shape;
    Geometry *firstGeometry; // geometries of one body sit together in the pool, in child order
    int numGeometries;
    LineSensor *firstSensor;
    LineSensor *lastSensor;
    int collisionClass;
    float mass;
    btVector3 inertia; // diagonal, body axes
    void *userData;
    bool inWorld; // joins the simulation with its first geometry
};

// Tells a contact which side is the track: Bullet's user index on each collision object.
enum { PHYS_OBJ_TERRAIN = 1, PHYS_OBJ_BODY = 2 };

struct PhysPairFilter : btOverlapFilterCallback {
    PhysicsWorld *world;
    bool needBroadphaseCollision(btBroadphaseProxy *proxy0, btBroadphaseProxy *proxy1) const override;
};

struct PhysicsWorld {
    PhysicsSizes sizes;
    PhysicsLogFn log;
    int logLevel;
    PhysMaterial materials[PHYS_MAX_MATERIALS];

    // Pools, allocated once at creation at their full counts.
    RigidBody *bodies;
    int numBodies;
    Geometry *geometries;
    int numGeometries;
    LineSensor *sensors;
    int numSensors;
    Controller *controllers;
    int numControllers;

    btDefaultCollisionConfiguration *collisionConfig;
    btCollisionDispatcher *dispatcher;
    btBroadphaseInterface *broadphase;
    btSequentialImpulseConstraintSolver *solver;
    btDiscreteDynamicsWorld *dynamics;
    PhysPairFilter pairFilter;

    // The terrain reads the caller's arrays in place.
    const float *terrainVertices;
    const int *terrainTriangles;
    int numTerrainVertices;
    int numTerrainTriangles;
    btTriangleIndexVertexArray *terrainArrays;
    btBvhTriangleMeshShape *terrainShape;
    btTriangleInfoMap *terrainEdges; // which triangle edges are inside the surface
    btCollisionObject *terrain;
    unsigned terrainId; // changes with every terrain handed over; never 0
};

void physLog(const PhysicsWorld *world, const char *text);
void physCastSensors(PhysicsWorld *world);
void physRemoveTerrain(PhysicsWorld *world);
void physInstallContactMaterials();
void physMarkContactMaterials(btCollisionObject *object);

inline btVector3 toBt(PhysVec3 v) { return btVector3(v.x, v.y, v.z); }
inline PhysVec3 fromBt(const btVector3 &v) { return PhysVec3{float(v.x()), float(v.y()), float(v.z())}; }
