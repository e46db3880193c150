// Physics world: one rigid-body simulator per loaded track. It holds the track surface as a static
// triangle mesh and one rigid body per car, moves them under gravity and contacts, and lets the
// car code push its body through a controller callback run before every sub-step.
//
// Everything is reached through plain functions on opaque handles; the simulator behind them is
// private to src/physics. All handles belong to their world and die with destroyPhysicsWorld:
// nothing is freed one by one. Single thread: call everything from the thread that advances.
// A refused create returns nullptr, and every call takes a null handle quietly (setters do
// nothing, queries answer zero or identity), so a caller that does not check cannot crash here.
// Setters ignore values that are not finite: one NaN would spread through the whole world.
#pragma once
#include <cmath>
#include <cstdint>

struct PhysicsWorld;
struct RigidBody;
struct Geometry;
struct LineSensor;
struct Controller;

struct PhysVec3 {
    float x, y, z;
};

// Orientation as the body's three axes in world space: axis[0] is the body's local x (a car's
// forward), axis[1] local y (up), axis[2] local z (right-hand side).
struct PhysMat3 {
    PhysVec3 axis[3];
};

// Vector arithmetic for everything that moves bodies about: the car code and its tests.
inline PhysVec3 operator+(PhysVec3 a, PhysVec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline PhysVec3 operator-(PhysVec3 a, PhysVec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline PhysVec3 operator*(PhysVec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
inline float dot(PhysVec3 a, PhysVec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline PhysVec3 cross(PhysVec3 a, PhysVec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(PhysVec3 a) { return std::sqrt(dot(a, a)); }
inline PhysVec3 normalized(PhysVec3 a) // zero stays zero
{
    float l = length(a);
    return l > 0 ? a * (1.0f / l) : PhysVec3{0, 0, 0};
}
// A body-space point or direction in world axes (no translation).
inline PhysVec3 toWorld(const PhysMat3 &m, PhysVec3 v) { return m.axis[0] * v.x + m.axis[1] * v.y + m.axis[2] * v.z; }

struct PhysQuat {
    float w, x, y, z;
};

// Pool sizes, twelve signed counts in this order. A create/add past a pool's count returns
// nullptr and logs the pool's message (see setPhysicsLog).
struct PhysicsSizes {
    int32_t rigidBodiesCount;
    int32_t animatedBodiesCount;   // kinematic bodies: kept for the record, none can be made
    int32_t rigidParticleCount;    // kept for the record, none can be made
    int32_t controllersCount;
    int32_t overlappingPairsCount; // most body pairs whose bounds may overlap at once
    int32_t geometriesCount;
    int32_t constraintsCount;      // joints: kept for the record, none can be made
    int32_t constraintSetsCount;
    int32_t constraintBufferSize;
    int32_t sensorsCount;
    int32_t terrainNodesCount;     // the terrain tree sizes itself; kept for the record
    int32_t terrainNodesGrowBy;
};

// The simulator's own defaults, and what a race asks for (80 bodies plus one animated body give
// 81 * 80 / 2 = 3240 pairs).
extern const PhysicsSizes physicsDefaultSizes;
extern const PhysicsSizes physicsRaceSizes;

// Texts the pools log when they refuse.
extern const char *const physicsMsgNoBodies;      // "Run out of RigidBodies. Increase 'rigidBodiesCount'.\n"
extern const char *const physicsMsgNoGeometries;  // "Run out of Geometries. Increase 'geometriesCount'.\n"
extern const char *const physicsMsgNoSensors;     // "Run out of Sensors. Increase 'sensorsCount'.\n"
extern const char *const physicsMsgNoControllers; // "Run out of Controllers. Increase 'constraintSetsCount'.\n"
extern const char *const physicsMsgPairsFull;     // "Overlap Pair buffer full. Increase buffer size.\n" (each refused new pair)

// ---- world ----

// Sizes below zero count as zero; the four pools that hold records (bodies, geometries, sensors,
// controllers) hold at most PHYS_MAX_POOL each, whatever is asked.
constexpr int32_t PHYS_MAX_POOL = 65536;
PhysicsWorld *createPhysicsWorld(const PhysicsSizes &sizes, PhysVec3 gravity);
// Frees every body, geometry, sensor and controller of the world. nullptr is ignored.
void destroyPhysicsWorld(PhysicsWorld *world);

// Pool messages go to log when it is set and level >= 1; by default nothing is logged.
typedef void (*PhysicsLogFn)(const char *text);
void setPhysicsLog(PhysicsWorld *world, PhysicsLogFn log, int level);

// 256 materials, each friction, restitution and a third value the contacts do not use
// (defaults 0.5, 0.4, 1.0). A contact takes the mean of its two sides' friction and restitution,
// so two surfaces of one material meet with that material's values. Indices outside 0..255 are
// ignored by setMaterial; getMaterial leaves its outputs untouched for them.
constexpr int PHYS_MAX_MATERIALS = 256;
void setMaterial(PhysicsWorld *world, int index, float friction, float restitution, float third);
void getMaterial(const PhysicsWorld *world, int index, float *friction, float *restitution, float *third);
// The race's table: 0..4 frictionless with restitution 0.1, 7 friction 1.0, 8 and 9 friction 0.5
// (restitution 0.1, third value 0 in each).
void setRaceMaterials(PhysicsWorld *world);

// The static track surface. vertices: numVertices entries of four floats (x, y, z, unused);
// triangles: numTriangles entries of five ints (three vertex indices, material index, flag).
// The world reads both arrays IN PLACE for as long as it lives: they must stay unchanged and
// outlive the world (or the next setTerrainMesh). A second call replaces the mesh. Refuses
// (returns false, world keeps no terrain) on negative counts or a vertex index out of range.
// Zero triangles gives an empty terrain and returns true. Material indices outside 0..255 act
// as material 0.
bool setTerrainMesh(PhysicsWorld *world, const float *vertices, int numVertices,
                    const int *triangles, int numTriangles);

// Moves the world on by dt seconds in four equal sub-steps. Before each sub-step every
// controller whose period is due runs (in the order attached) and its force and torque act on
// its body for that sub-step together with gravity; after each sub-step every sensor is cast.
// dt <= 0 (or not finite) does nothing at all: no callbacks, no motion.
constexpr int PHYS_SUBSTEPS = 4;
void advancePhysicsWorld(PhysicsWorld *world, float dt);

// ---- bodies ----

// A new body has mass 1, unit inertia, no geometry, position (0,0,0), identity orientation and
// collision class 0. It takes part in collisions once it has a geometry. nullptr when the
// bodies pool is exhausted.
RigidBody *createRigidBody(PhysicsWorld *world);
// Recorded for the game; bodies of every class collide with each other and with the terrain.
void setCollisionClass(RigidBody *body, int collisionClass);
int bodyCollisionClass(const RigidBody *body);
// A box of full edge lengths size, placed in body space by localTransform (the layout of
// bodyTransform: three axes of four floats, then the position; nullptr = identity). material
// indexes the table (the race uses 0). nullptr when the geometries pool is exhausted, or for an
// edge length <= 0 or a transform that is not finite.
Geometry *addBoxGeometry(RigidBody *body, PhysVec3 size, const float localTransform[16], int material);
// A ray from start along direction (both in body space); the direction's length is the ray's.
// nullptr when the sensors pool is exhausted.
LineSensor *addLineSensor(RigidBody *body, PhysVec3 start, PhysVec3 direction);
// Brings the body's bounds up to date with its geometries (call after adding them).
void updateBoundingInfo(RigidBody *body);
// Only the diagonal is used: the body's axes are its principal axes. Entries <= 0 are refused.
void setInertiaTensor(RigidBody *body, const PhysMat3 &tensor);
// mass <= 0 (or not finite) is refused; the inertia stays as set.
void setMass(RigidBody *body, float mass);
float bodyMass(const RigidBody *body);
void setUserData(RigidBody *body, void *data);
void *bodyUserData(const RigidBody *body);

// Box inertia: (2/3) m d^2 on all three axes, d the longest edge; zero off the diagonal.
PhysMat3 boxInertia(PhysVec3 size, float mass);

// Queries. Position is the body's origin, which is also its centre of mass.
PhysVec3 bodyPosition(const RigidBody *body);
PhysMat3 bodyOrientation(const RigidBody *body);
PhysQuat bodyQuaternion(const RigidBody *body);
// 16 floats: axis x, 0, axis y, 0, axis z, 0, position, 1 (OpenGL's column-major order).
void bodyTransform(const RigidBody *body, float out[16]);
PhysVec3 bodyLinearVelocity(const RigidBody *body);
PhysVec3 bodyAngularMomentum(const RigidBody *body);
// Velocity of the body's material point at offset (world axes) from its position: v + w x offset.
PhysVec3 bodyVelocityAtPoint(const RigidBody *body, PhysVec3 offset);

// Setters. The orientation is taken as given (axes as in PhysMat3).
void setBodyPosition(RigidBody *body, PhysVec3 position);
void setBodyOrientation(RigidBody *body, const PhysMat3 &orientation);
void setBodyLinearVelocity(RigidBody *body, PhysVec3 velocity);
void setBodyAngularMomentum(RigidBody *body, PhysVec3 momentum);

// ---- sensors ----

// In the order added: firstSensor, then nextSensor until nullptr.
LineSensor *firstSensor(const RigidBody *body);
LineSensor *nextSensor(const LineSensor *sensor);
RigidBody *sensorBody(const LineSensor *sensor);
PhysVec3 sensorStart(const LineSensor *sensor);     // body space
PhysVec3 sensorDirection(const LineSensor *sensor); // body space, length = ray length
// Results of the cast after the last sub-step, against the terrain only: depth = ray length *
// (1 - hit fraction), the surface normal facing the ray's start, the hit point (world). Depth,
// normal and point are all 0 when the ray hit nothing (and before the first sub-step).
float sensorDepth(const LineSensor *sensor);
PhysVec3 sensorNormal(const LineSensor *sensor);
PhysVec3 sensorPoint(const LineSensor *sensor);

// ---- controllers ----

// The car code's hook into every sub-step. Before control runs, the controller's force and
// torque are cleared; what control sets acts on the body (force through its centre of mass)
// for every sub-step until the controller runs again.
class ControllerCallback {
public:
    virtual void control(Controller *controller) = 0;

protected:
    ~ControllerCallback() = default;
};

// period is in simulated seconds: 0 runs the callback before every sub-step; otherwise it runs
// before the first sub-step and then whenever at least period has passed since it last ran.
// nullptr when the controllers pool is exhausted or callback is nullptr.
Controller *attachController(RigidBody *body, ControllerCallback *callback, float period);
RigidBody *controllerBody(const Controller *controller);
void setControllerForce(Controller *controller, PhysVec3 force);
void setControllerTorque(Controller *controller, PhysVec3 torque);
