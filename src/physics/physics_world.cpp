// The world: creation with its pools, the material table, the track mesh, stepping, destruction.
#include "physics/physics_local.h"

#include <cmath>

const PhysicsSizes physicsDefaultSizes = {50, 50, 50, 50, 1225, 50, 100, 100, 2000, 100, 200, -1};
const PhysicsSizes physicsRaceSizes = {80, 1, 0, 50, 3240, 89, 448, 100, 2000, 100, 200, -1};

const char *const physicsMsgNoBodies = "Run out of RigidBodies. Increase 'rigidBodiesCount'.\n";
const char *const physicsMsgNoGeometries = "Run out of Geometries. Increase 'geometriesCount'.\n";
const char *const physicsMsgNoSensors = "Run out of Sensors. Increase 'sensorsCount'.\n";
const char *const physicsMsgNoControllers = "Run out of Controllers. Increase 'constraintSetsCount'.\n";
const char *const physicsMsgPairsFull = "Overlap Pair buffer full. Increase buffer size.\n";

static const PhysMaterial defaultMaterial = {0.5f, 0.4f, 1.0f};

// The race's surfaces: index, friction, restitution. Car boxes and the track use material 0, so
// bodies slide freely and grip comes only from the car's own wheel forces.
static const struct {
    int index;
    float friction, restitution;
} raceMaterials[] = {
    {0, 0.0f, 0.1f}, {1, 0.0f, 0.1f}, {2, 0.0f, 0.1f}, {3, 0.0f, 0.1f}, {4, 0.0f, 0.1f},
    {7, 1.0f, 0.1f}, {8, 0.5f, 0.1f}, {9, 0.5f, 0.1f},
};

void physLog(const PhysicsWorld *world, const char *text) {
    if (world->log && world->logLevel >= 1)
        world->log(text);
}

PhysicsWorld *createPhysicsWorld(const PhysicsSizes &sizes, PhysVec3 gravity) {
    PhysicsWorld *w = new PhysicsWorld();
    w->sizes = sizes;
    // A negative count holds nothing; an absurd one would only fail the allocation below.
    for (int32_t *n : {&w->sizes.rigidBodiesCount, &w->sizes.geometriesCount, &w->sizes.sensorsCount,
                       &w->sizes.controllersCount, &w->sizes.overlappingPairsCount})
        *n = *n < 0 ? 0 : *n;
    for (int32_t *n : {&w->sizes.rigidBodiesCount, &w->sizes.geometriesCount, &w->sizes.sensorsCount,
                       &w->sizes.controllersCount})
        *n = *n > PHYS_MAX_POOL ? PHYS_MAX_POOL : *n;
    for (PhysMaterial &m : w->materials)
        m = defaultMaterial;

    w->bodies = new RigidBody[w->sizes.rigidBodiesCount]();
    w->geometries = new Geometry[w->sizes.geometriesCount]();
    w->sensors = new LineSensor[w->sizes.sensorsCount]();
    w->controllers = new Controller[w->sizes.controllersCount]();

    // The default pools are sized for thousands of objects; a race has a handful, and Bullet
    // falls back to the heap if they ever run short.
    btDefaultCollisionConstructionInfo info;
    info.m_defaultMaxPersistentManifoldPoolSize = 256;
    info.m_defaultMaxCollisionAlgorithmPoolSize = 256;
    w->collisionConfig = new btDefaultCollisionConfiguration(info);
    w->dispatcher = new btCollisionDispatcher(w->collisionConfig);
    w->broadphase = new btDbvtBroadphase();
    w->solver = new btSequentialImpulseConstraintSolver();
    w->dynamics = new btDiscreteDynamicsWorld(w->dispatcher, w->broadphase, w->solver, w->collisionConfig);
    w->dynamics->setGravity(toBt(gravity));
    // Only what moves has its bounding box refreshed every step (the track is asleep).
    w->dynamics->setForceUpdateAllAabbs(false);
    w->pairFilter.world = w;
    w->broadphase->getOverlappingPairCache()->setOverlapFilterCallback(&w->pairFilter);
    physInstallContactMaterials();
    return w;
}

void destroyPhysicsWorld(PhysicsWorld *w) {
    if (!w)
        return;
    for (int i = 0; i < w->numBodies; i++) {
        RigidBody &b = w->bodies[i];
        if (b.inWorld)
            w->dynamics->removeRigidBody(b.rb);
        delete b.rb;
        delete b.shape;
    }
    for (int i = 0; i < w->numGeometries; i++)
        delete w->geometries[i].shape;
    physRemoveTerrain(w);
    delete w->dynamics;
    delete w->solver;
    delete w->broadphase;
    delete w->dispatcher;
    delete w->collisionConfig;
    delete[] w->bodies;
    delete[] w->geometries;
    delete[] w->sensors;
    delete[] w->controllers;
    delete w;
}

void setPhysicsLog(PhysicsWorld *world, PhysicsLogFn log, int level) {
    if (!world)
        return;
    world->log = log;
    world->logLevel = level;
}

void setMaterial(PhysicsWorld *world, int index, float friction, float restitution, float third) {
    if (!world || index < 0 || index >= PHYS_MAX_MATERIALS)
        return;
    world->materials[index] = PhysMaterial{friction, restitution, third};
}

void getMaterial(const PhysicsWorld *world, int index, float *friction, float *restitution, float *third) {
    if (!world || index < 0 || index >= PHYS_MAX_MATERIALS)
        return;
    const PhysMaterial &m = world->materials[index];
    if (friction)
        *friction = m.friction;
    if (restitution)
        *restitution = m.restitution;
    if (third)
        *third = m.third;
}

void setRaceMaterials(PhysicsWorld *world) {
    for (const auto &m : raceMaterials)
        setMaterial(world, m.index, m.friction, m.restitution, 0.0f);
}

void physRemoveTerrain(PhysicsWorld *w) {
    if (w->terrain) {
        w->dynamics->removeCollisionObject(w->terrain);
        delete w->terrain;
    }
    delete w->terrainShape;
    delete w->terrainEdges;
    delete w->terrainArrays;
    w->terrain = nullptr;
    w->terrainShape = nullptr;
    w->terrainEdges = nullptr;
    w->terrainArrays = nullptr;
    w->terrainVertices = nullptr;
    w->terrainTriangles = nullptr;
    w->numTerrainVertices = 0;
    w->numTerrainTriangles = 0;
}

bool setTerrainMesh(PhysicsWorld *w, const float *vertices, int numVertices, const int *triangles,
                    int numTriangles) {
    if (!w)
        return false;
    physRemoveTerrain(w);
    if (numVertices < 0 || numTriangles < 0)
        return false;
    if (numTriangles == 0)
        return true;
    if (!vertices || !triangles)
        return false;
    // The mesh is read in place by the collision code, which trusts every index: one bad index
    // would be a read outside the caller's vertex array on some later frame.
    for (int i = 0; i < numTriangles; i++)
        for (int c = 0; c < 3; c++) {
            int v = triangles[i * 5 + c];
            if (v < 0 || v >= numVertices)
                return false;
        }

    btIndexedMesh mesh;
    mesh.m_numTriangles = numTriangles;
    mesh.m_triangleIndexBase = reinterpret_cast<const unsigned char *>(triangles);
    mesh.m_triangleIndexStride = 5 * sizeof(int);
    mesh.m_numVertices = numVertices;
    mesh.m_vertexBase = reinterpret_cast<const unsigned char *>(vertices);
    mesh.m_vertexStride = 4 * sizeof(float);
    mesh.m_indexType = PHY_INTEGER;
    mesh.m_vertexType = PHY_FLOAT;
    w->terrainArrays = new btTriangleIndexVertexArray();
    w->terrainArrays->addIndexedMesh(mesh, PHY_INTEGER);
    w->terrainShape = new btBvhTriangleMeshShape(w->terrainArrays, true, true);
    // Boxes rest on the surface itself rather than on a skin above it.
    w->terrainShape->setMargin(0.0f);
    // A box sliding across a flat road would otherwise catch on the edges between its triangles
    // and be thrown into the air.
    w->terrainEdges = new btTriangleInfoMap();
    btGenerateInternalEdgeInfo(w->terrainShape, w->terrainEdges);

    w->terrain = new btCollisionObject();
    w->terrain->setCollisionShape(w->terrainShape);
    w->terrain->setUserIndex(PHYS_OBJ_TERRAIN);
    w->terrain->setUserPointer(w);
    // The track never moves: asleep, its bounding box is not recomputed every step, and the
    // bodies (which never sleep) still collide with it.
    w->terrain->setActivationState(ISLAND_SLEEPING);
    physMarkContactMaterials(w->terrain);
    w->dynamics->addCollisionObject(w->terrain, btBroadphaseProxy::StaticFilter,
                                    btBroadphaseProxy::AllFilter ^ btBroadphaseProxy::StaticFilter);
    w->terrainVertices = vertices;
    w->terrainTriangles = triangles;
    w->numTerrainVertices = numVertices;
    w->numTerrainTriangles = numTriangles;
    // The sensors' gathered triangles belong to the old surface.
    if (++w->terrainId == 0)
        w->terrainId = 1;
    return true;
}

static bool controllerDue(const Controller &c) {
    // The small slack keeps a period equal to the sub-step from slipping to every other step.
    return c.period <= 0.0f || !c.hasRun || c.sinceRun >= c.period * 0.999f;
}

void advancePhysicsWorld(PhysicsWorld *w, float dt) {
    if (!w || !std::isfinite(dt) || dt <= 0.0f)
        return;
    const float h = dt / float(PHYS_SUBSTEPS);
    for (int step = 0; step < PHYS_SUBSTEPS; step++) {
        for (int i = 0; i < w->numControllers; i++) {
            Controller &c = w->controllers[i];
            if (!controllerDue(c))
                continue;
            c.force.setZero();
            c.torque.setZero();
            c.callback->control(&c);
            c.sinceRun = 0.0f;
            c.hasRun = true;
        }
        // Bullet clears applied forces after every step, so the controllers' forces are handed
        // over afresh for each one; gravity is added by the step itself.
        for (int i = 0; i < w->numControllers; i++) {
            Controller &c = w->controllers[i];
            if (!c.body->inWorld)
                continue;
            c.body->rb->applyCentralForce(c.force);
            c.body->rb->applyTorque(c.torque);
        }
        w->dynamics->stepSimulation(h, 0);
        for (int i = 0; i < w->numControllers; i++)
            w->controllers[i].sinceRun += h;
        physCastSensors(w);
    }
}
