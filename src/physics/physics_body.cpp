// Rigid bodies: creation, box geometries, mass properties, pose and velocity queries and setters,
// and the controllers that push them.
#include "physics/physics_local.h"

#include <cmath>

static bool finite(PhysVec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

static bool finite(const float *v, int n) {
    for (int i = 0; i < n; i++)
        if (!std::isfinite(v[i]))
            return false;
    return true;
}

static btMatrix3x3 basisFromAxes(const PhysVec3 &x, const PhysVec3 &y, const PhysVec3 &z) {
    // Bullet's basis holds the body axes as columns.
    return btMatrix3x3(x.x, y.x, z.x, x.y, y.y, z.y, x.z, y.z, z.z);
}

RigidBody *createRigidBody(PhysicsWorld *w) {
    if (!w)
        return nullptr;
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

void setCollisionClass(RigidBody *body, int collisionClass) {
    if (body)
        body->collisionClass = collisionClass;
}
int bodyCollisionClass(const RigidBody *body) { return body ? body->collisionClass : 0; }

static bool validSize(float s) { return std::isfinite(s) && s > 0.0f; }

Geometry *addBoxGeometry(RigidBody *body, PhysVec3 size, const float m[16], int material) {
    if (!body || !validSize(size.x) || !validSize(size.y) || !validSize(size.z))
        return nullptr;
    if (m && !finite(m, 16))
        return nullptr;
    PhysicsWorld *w = body->world;
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
    if (!body)
        return;
    body->shape->recalculateLocalAabb();
    if (body->inWorld)
        body->world->dynamics->updateSingleAabb(body->rb);
}

static void applyMassProps(RigidBody *b) {
    b->rb->setMassProps(b->mass, b->inertia);
    b->rb->updateInertiaTensor();
}

void setInertiaTensor(RigidBody *body, const PhysMat3 &t) {
    if (!body)
        return;
    btVector3 d(t.axis[0].x, t.axis[1].y, t.axis[2].z);
    for (int i = 0; i < 3; i++)
        if (!validSize(d[i]))
            return;
    body->inertia = d;
    applyMassProps(body);
}

void setMass(RigidBody *body, float mass) {
    if (!body || !validSize(mass))
        return;
    body->mass = mass;
    applyMassProps(body);
}

float bodyMass(const RigidBody *body) { return body ? body->mass : 0.0f; }
void setUserData(RigidBody *body, void *data) {
    if (body)
        body->userData = data;
}
void *bodyUserData(const RigidBody *body) { return body ? body->userData : nullptr; }

PhysMat3 boxInertia(PhysVec3 size, float mass) {
    float d = std::fmax(size.x, std::fmax(size.y, size.z));
    float i = (2.0f / 3.0f) * mass * d * d;
    return PhysMat3{{{i, 0, 0}, {0, i, 0}, {0, 0, i}}};
}

PhysVec3 bodyPosition(const RigidBody *body) {
    return body ? fromBt(body->rb->getWorldTransform().getOrigin()) : PhysVec3{0, 0, 0};
}

PhysMat3 bodyOrientation(const RigidBody *body) {
    if (!body)
        return PhysMat3{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    return PhysMat3{{fromBt(r.getColumn(0)), fromBt(r.getColumn(1)), fromBt(r.getColumn(2))}};
}

PhysQuat bodyQuaternion(const RigidBody *body) {
    if (!body)
        return PhysQuat{1, 0, 0, 0};
    btQuaternion q = body->rb->getWorldTransform().getRotation();
    return PhysQuat{float(q.w()), float(q.x()), float(q.y()), float(q.z())};
}

void bodyTransform(const RigidBody *body, float out[16]) {
    const btTransform &t = body ? body->rb->getWorldTransform() : btTransform::getIdentity();
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

PhysVec3 bodyLinearVelocity(const RigidBody *body) {
    return body ? fromBt(body->rb->getLinearVelocity()) : PhysVec3{0, 0, 0};
}

// L = R I R^T w with I the body-space diagonal.
PhysVec3 bodyAngularMomentum(const RigidBody *body) {
    if (!body)
        return PhysVec3{0, 0, 0};
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    btVector3 local = r.transpose() * body->rb->getAngularVelocity();
    return fromBt(r * (local * body->inertia));
}

PhysVec3 bodyVelocityAtPoint(const RigidBody *body, PhysVec3 offset) {
    if (!body)
        return PhysVec3{0, 0, 0};
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
    if (!body || !finite(position))
        return;
    btTransform t = body->rb->getWorldTransform();
    t.setOrigin(toBt(position));
    setPose(body, t);
}

void setBodyOrientation(RigidBody *body, const PhysMat3 &o) {
    if (!body || !finite(o.axis[0]) || !finite(o.axis[1]) || !finite(o.axis[2]))
        return;
    btTransform t = body->rb->getWorldTransform();
    t.setBasis(basisFromAxes(o.axis[0], o.axis[1], o.axis[2]));
    setPose(body, t);
}

void setBodyLinearVelocity(RigidBody *body, PhysVec3 velocity) {
    if (!body || !finite(velocity))
        return;
    body->rb->setLinearVelocity(toBt(velocity));
    body->rb->setInterpolationLinearVelocity(toBt(velocity));
}

// w = R I^-1 R^T L.
void setBodyAngularMomentum(RigidBody *body, PhysVec3 momentum) {
    if (!body || !finite(momentum))
        return;
    const btMatrix3x3 &r = body->rb->getWorldTransform().getBasis();
    btVector3 local = r.transpose() * toBt(momentum);
    btVector3 w = r * (local / body->inertia);
    body->rb->setAngularVelocity(w);
    body->rb->setInterpolationAngularVelocity(w);
}

Controller *attachController(RigidBody *body, ControllerCallback *callback, float period) {
    if (!body || !callback)
        return nullptr;
    PhysicsWorld *w = body->world;
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

RigidBody *controllerBody(const Controller *controller) { return controller ? controller->body : nullptr; }

// A broken force would poison the body's pose and with it the broad phase: it is dropped.
void setControllerForce(Controller *controller, PhysVec3 force) {
    if (controller && finite(force))
        controller->force = toBt(force);
}

void setControllerTorque(Controller *controller, PhysVec3 torque) {
    if (controller && finite(torque))
        controller->torque = toBt(torque);
}
