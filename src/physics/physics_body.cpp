// Rigid bodies: creation, box geometries, mass properties, pose and velocity queries and setters,
// and the controllers that push them.
#include "physics/physics_local.h"

#include <cmath>

static btMatrix3x3 basisFromAxes(const PhysVec3 &x, const PhysVec3 &y, const PhysVec3 &z) {
    // Bullet's basis holds the body axes as columns.
    return btMatrix3x3(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
}

RigidBody *createRigidBody(PhysicsWorld *w) {
    if (w->numBodies >= w->sizes.rigidBodiesCount) {
        physLog(w, physicsMsgNoBodies);
        return nullptr;
    }
    RigidBody *b = &w->bodies[w->numBodies++];
    b->world = w;
    b->mass = 1.0f;
    b->inertia = btVector3(1, 1, 1);
    b->shape = new btCompoundShape(false, 2);
    btRigidBody::btRigidBodyConstructionInfo info(b->mass, nullptr, b->shape, b->inertia);
    info.m_friction = 0.0f; // contacts take their values from the material table
    b->rb = new btRigidBody(info);
    // Controllers push every body in every sub-step, so none may fall asleep and miss it.
    b->rb->setActivationState(DISABLE_DEACTIVATION);
    b->rb->setUserIndex(PHYS_OBJ_BODY);
    b->rb->setUserPointer(b);
    physMarkContactMaterials(b->rb);
    return b;
}

void setCollisionClass(RigidBody *body, int collisionClass) { body->collisionClass = collisionClass; }
int bodyCollisionClass(const RigidBody *body) { return body->collisionClass; }

static bool validSize(float s) { return std::isfinite(s) && s > 0.0f; }

Geometry *addBoxGeometry(RigidBody *body, PhysVec3 size, const float m[16], int material) {
    PhysicsWorld *w = body->world;
    if (!validSize(size.x) || !validSize(size.y) || !validSize(size.z))
        return nullptr;
    if (w->numGeometries >= w->sizes.geometriesCount) {
        physLog(w, physicsMsgNoGeometries);
        return nullptr;
    }
    Geometry *g = &w->geometries[w->numGeometries++];
    g->body = body;
    g->material = (material >= 0 && material < PHYS_MAX_MATERIALS) ? material : 0;
    g->shape = new btBoxShape(btVector3(size.x, size.y, size.z) * 0.5f);
    // A contact meets the box itself, so the box is how it finds its material.
    g->shape->setUserPointer(g);

    btTransform local = btTransform::getIdentity();
    if (m) {
        local.setBasis(basisFromAxes({m[0], m[1], m[2]}, {m[4], m[5], m[6]}, {m[8], m[9], m[10]}));
        local.setOrigin(btVector3(m[12], m[13], m[14]));
    }
    body->shape->addChildShape(local, g->shape);
    if (!body->inWorld) {
        w->dynamics->addRigidBody(body->rb);
        body->inWorld = true;
    }
    updateBoundingInfo(body);
    return g;
}

void updateBoundingInfo(RigidBody *body) {
    body->shape->recalculateLocalAabb();
    if (body->inWorld)
        body->world->dynamics->updateSingleAabb(body->rb);
}

static void applyMassProps(RigidBody *b) {
    b->rb->setMassProps(b->mass, b->inertia);
    b->rb->updateInertiaTensor();
}

void setInertiaTensor(RigidBody *body, const PhysMat3 &t) {
    btVector3 d(t.axis[0].x, t.axis[1].y, t.axis[2].z);
    for (int i = 0; i < 3; i++)
        if (!validSize(d[i]))
            return;
    body->inertia = d;
    applyMassProps(body);
}

void setMass(RigidBody *body, float mass) {
    if (!validSize(mass))
        return;
    body->mass = mass;
    applyMassProps(body);
}

float bodyMass(const RigidBody *body) { return body->mass; }
void setUserData(RigidBody *body, void *data) { body->userData = data; }
void *bodyUserData(const RigidBody *body) { return body->userData; }

PhysMat3 boxInertia(PhysVec3 size, float mass) {
    float d = std::fmax(size.x, std::fmax(size.y, size.z));
    float i = (2.0f / 3.0f) * mass * d * d;
    return PhysMat3{{{i, 0, 0}, {0, i, 0}, {0, 0, i}}};
}

PhysVec3 bodyPosition(const RigidBody *body) { return fromBt(body->rb->getWorldTransform().getOrigin()); }

PhysMat3 bodyOrientation(const RigidBody *body) {
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    return PhysMat3{{fromBt(r.getColumn(0)), fromBt(r.getColumn(1)), fromBt(r.getColumn(2))}};
}

PhysQuat bodyQuaternion(const RigidBody *body) {
    btQuaternion q = body->rb->getWorldTransform().getRotation();
    return PhysQuat{float(q.w()), float(q.x()), float(q.y()), float(q.z())};
}

void bodyTransform(const RigidBody *body, float out[16]) {
    const btTransform &t = body->rb->getWorldTransform();
    for (int i = 0; i < 3; i++) {
        btVector3 a = t.getBasis().getColumn(i);
        out[i * 4 + 0] = a.x();
        out[i * 4 + 1] = a.y();
        out[i * 4 + 2] = a.z();
        out[i * 4 + 3] = 0.0f;
    }
    out[12] = t.getOrigin().x();
    out[13] = t.getOrigin().y();
    out[14] = t.getOrigin().z();
    out[15] = 1.0f;
}

PhysVec3 bodyLinearVelocity(const RigidBody *body) { return fromBt(body->rb->getLinearVelocity()); }

// L = R I R^T w with I the body-space diagonal.
PhysVec3 bodyAngularMomentum(const RigidBody *body) {
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    btVector3 local = r.transpose() * body->rb->getAngularVelocity();
    return fromBt(r * (local * body->inertia));
}

PhysVec3 bodyVelocityAtPoint(const RigidBody *body, PhysVec3 offset) {
    return fromBt(body->rb->getVelocityInLocalPoint(toBt(offset)));
}

static void setPose(RigidBody *body, const btTransform &t) {
    body->rb->setWorldTransform(t);
    body->rb->setInterpolationWorldTransform(t);
    body->rb->updateInertiaTensor();
    if (body->inWorld)
        body->world->dynamics->updateSingleAabb(body->rb);
}

void setBodyPosition(RigidBody *body, PhysVec3 position) {
    btTransform t = body->rb->getWorldTransform();
    t.setOrigin(toBt(position));
    setPose(body, t);
}

void setBodyOrientation(RigidBody *body, const PhysMat3 &o) {
    btTransform t = body->rb->getWorldTransform();
    t.setBasis(basisFromAxes(o.axis[0], o.axis[1], o.axis[2]));
    setPose(body, t);
}

void setBodyLinearVelocity(RigidBody *body, PhysVec3 velocity) {
    body->rb->setLinearVelocity(toBt(velocity));
    body->rb->setInterpolationLinearVelocity(toBt(velocity));
}

// w = R I^-1 R^T L.
void setBodyAngularMomentum(RigidBody *body, PhysVec3 momentum) {
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    btVector3 local = r.transpose() * toBt(momentum);
    btVector3 w = r * (local / body->inertia);
    body->rb->setAngularVelocity(w);
    body->rb->setInterpolationAngularVelocity(w);
}

Controller *attachController(RigidBody *body, ControllerCallback *callback, float period) {
    PhysicsWorld *w = body->world;
    if (!callback)
        return nullptr;
    if (w->numControllers >= w->sizes.controllersCount) {
        physLog(w, physicsMsgNoControllers);
        return nullptr;
    }
    Controller *c = &w->controllers[w->numControllers++];
    c->body = body;
    c->callback = callback;
    c->period = std::isfinite(period) ? period : 0.0f;
    c->sinceRun = 0.0f;
    c->hasRun = false;
    c->force.setZero();
    c->torque.setZero();
    return c;
}

RigidBody *controllerBody(const Controller *controller) { return controller->body; }
void setControllerForce(Controller *controller, PhysVec3 force) { controller->force = toBt(force); }
void setControllerTorque(Controller *controller, PhysVec3 torque) { controller->torque = toBt(torque); }
