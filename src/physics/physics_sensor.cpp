// Line sensors: rays fixed to a body, cast against the track surface after every sub-step.
#include "physics/physics_local.h"

#include <BulletCollision/NarrowPhaseCollision/btRaycastCallback.h>

#include <cmath>

LineSensor *addLineSensor(RigidBody *body, PhysVec3 start, PhysVec3 direction) {
    if (!body)
        return nullptr;
    PhysicsWorld *w = body->world;
    if (w->numSensors >= w->sizes.sensorsCount) {
        physLog(w, physicsMsgNoSensors);
        return nullptr;
    }
    LineSensor *s = &w->sensors[w->numSensors++];
    s->body = body;
    s->next = nullptr;
    s->start = toBt(start);
    s->direction = toBt(direction);
    s->depth = 0.0f;
    s->normal.setZero();
    s->point.setZero();
    if (body->lastSensor)
        body->lastSensor->next = s;
    else
        body->firstSensor = s;
    body->lastSensor = s;
    return s;
}

static const PhysVec3 zero = {0, 0, 0};

LineSensor *firstSensor(const RigidBody *body) { return body ? body->firstSensor : nullptr; }
LineSensor *nextSensor(const LineSensor *sensor) { return sensor ? sensor->next : nullptr; }
RigidBody *sensorBody(const LineSensor *sensor) { return sensor ? sensor->body : nullptr; }
PhysVec3 sensorStart(const LineSensor *sensor) { return sensor ? fromBt(sensor->start) : zero; }
PhysVec3 sensorDirection(const LineSensor *sensor) { return sensor ? fromBt(sensor->direction) : zero; }
float sensorDepth(const LineSensor *sensor) { return sensor ? sensor->depth : 0.0f; }
PhysVec3 sensorNormal(const LineSensor *sensor) { return sensor ? fromBt(sensor->normal) : zero; }
PhysVec3 sensorPoint(const LineSensor *sensor) { return sensor ? fromBt(sensor->point) : zero; }

namespace {
// Keeps the nearest triangle along the ray; the normal comes back facing the ray's start.
struct NearestHit : btTriangleRaycastCallback {
    bool hit = false;
    btVector3 normal;
    NearestHit(const btVector3 &from, const btVector3 &to) : btTriangleRaycastCallback(from, to) {}
    btScalar reportHit(const btVector3 &n, btScalar fraction, int, int) override {
        hit = true;
        normal = n;
        return fraction;
    }
};
} // namespace

static bool finite(const btVector3 &v) {
    return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z());
}

static void castSensor(const PhysicsWorld *w, LineSensor *s) {
    s->depth = 0.0f;
    s->normal.setZero();
    s->point.setZero();
    const float length = s->direction.length();
    if (!w->terrainShape || !(length > 0.0f))
        return;
    const btTransform &t = s->body->rb->getWorldTransform();
    const btVector3 from = t * s->start;
    const btVector3 to = t * (s->start + s->direction);
    // A body thrown to infinity must not take the tree walk with it.
    if (!finite(from) || !finite(to))
        return;
    NearestHit hit(from, to);
    w->terrainShape->performRaycast(&hit, from, to);
    if (!hit.hit)
        return;
    s->depth = length * (1.0f - hit.m_hitFraction);
    s->normal = hit.normal;
    s->point = from.lerp(to, hit.m_hitFraction);
}

void physCastSensors(PhysicsWorld *w) {
    for (int i = 0; i < w->numSensors; i++)
        castSensor(w, &w->sensors[i]);
}
