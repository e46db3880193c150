// Contact materials and the pair buffer: what two touching surfaces are made of, and how many
// touching candidates the broad phase may hold.
#include "physics/physics_local.h"

// The material of one side of a contact: a track triangle names its own in the mesh, a box
// carries its geometry's.
static int contactMaterial(const btCollisionObjectWrapper *side, int index, const PhysicsWorld **world) {
    const btCollisionObject *obj = side->getCollisionObject();
    if (obj->getUserIndex() == PHYS_OBJ_TERRAIN) {
        const PhysicsWorld *w = static_cast<const PhysicsWorld *>(obj->getUserPointer());
        *world = w;
        if (index < 0 || index >= w->numTerrainTriangles)
            return 0;
        int m = w->terrainTriangles[index * 5 + 3];
        return (m >= 0 && m < PHYS_MAX_MATERIALS) ? m : 0;
    }
    if (obj->getUserIndex() == PHYS_OBJ_BODY) {
        *world = static_cast<const RigidBody *>(obj->getUserPointer())->world;
        const Geometry *g = static_cast<const Geometry *>(side->getCollisionShape()->getUserPointer());
        return g ? g->material : 0;
    }
    return 0;
}

static bool isTerrain(const btCollisionObjectWrapper *side) {
    return side->getCollisionObject()->getUserIndex() == PHYS_OBJ_TERRAIN;
}

// A box touching the track near a shared edge gets the face normal instead of one that points
// out of the edge. The mesh is always the B side of a box-against-mesh point (its manifold is
// made that way), which is the side Bullet's smoothing works on.
static void smoothInternalEdges(btManifoldPoint &cp, const btCollisionObjectWrapper *side0,
                                const btCollisionObjectWrapper *side1, int partId1, int index1) {
    if (isTerrain(side1))
        btAdjustInternalEdgeContacts(cp, side1, side0, partId1, index1);
}

static bool materialContact(btManifoldPoint &cp, const btCollisionObjectWrapper *side0, int, int index0,
                            const btCollisionObjectWrapper *side1, int partId1, int index1) {
    smoothInternalEdges(cp, side0, side1, partId1, index1);
    const PhysicsWorld *world = nullptr;
    int m0 = contactMaterial(side0, index0, &world);
    int m1 = contactMaterial(side1, index1, &world);
    if (!world)
        return false;
    const PhysMaterial &a = world->materials[m0];
    const PhysMaterial &b = world->materials[m1];
    cp.m_combinedFriction = 0.5f * (a.friction + b.friction);
    cp.m_combinedRestitution = 0.5f * (a.restitution + b.restitution);
    return true;
}

void physInstallContactMaterials() { gContactAddedCallback = materialContact; }

void physMarkContactMaterials(btCollisionObject *object) {
    object->setCollisionFlags(object->getCollisionFlags() | btCollisionObject::CF_CUSTOM_MATERIAL_CALLBACK);
}

bool PhysPairFilter::needBroadphaseCollision(btBroadphaseProxy *p0, btBroadphaseProxy *p1) const {
    if (!(p0->m_collisionFilterGroup & p1->m_collisionFilterMask) ||
        !(p1->m_collisionFilterGroup & p0->m_collisionFilterMask))
        return false;
    btOverlappingPairCache *pairs = world->broadphase->getOverlappingPairCache();
    // The broad phase offers pairs it already holds again every step; only new ones can overflow.
    if (pairs->getNumOverlappingPairs() < world->sizes.overlappingPairsCount || pairs->findPair(p0, p1))
        return true;
    physLog(world, physicsMsgPairsFull);
    return false;
}
