// Line sensors: rays fixed to a body, cast against the track surface after every sub-step.
#include "physics/physics_local.h"


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

static bool finite(const btVector3 &v) {
    return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z());
}

namespace {
// How far the gathering box reaches beyond the sensor's line: a car at top speed covers about
// 0.7 a frame, so the triangles serve a frame or two of sub-steps.
constexpr float kNearMargin = 1.5f;

struct TriangleCollector : btTriangleCallback {
    std::vector<NearTriangle> *out;
    void processTriangle(btVector3 *v, int, int) override {
        NearTriangle t;
        for (int k = 0; k < 3; k++)
            t.corner[k] = v[k];
        // The plane exactly as the ray test of the collision library forms it, so a hit and its
        // edge tolerance come out the same.
        t.normal = (v[1] - v[0]).cross(v[2] - v[0]);
        t.plane = v[0].dot(t.normal);
        t.edgeTolerance = t.normal.length2() * btScalar(-0.0001);
        t.lo = v[0];
        t.hi = v[0];
        for (int k = 1; k < 3; k++) {
            t.lo.setMin(v[k]);
            t.hi.setMax(v[k]);
        }
        out->push_back(t);
    }
};

bool within(const btVector3 &lo, const btVector3 &hi, const btVector3 &boxMin, const btVector3 &boxMax) {
    return lo.x() >= boxMin.x() && lo.y() >= boxMin.y() && lo.z() >= boxMin.z() && hi.x() <= boxMax.x() &&
           hi.y() <= boxMax.y() && hi.z() <= boxMax.z();
}

bool overlaps(const btVector3 &lo, const btVector3 &hi, const btVector3 &boxMin, const btVector3 &boxMax) {
    return lo.x() <= boxMax.x() && lo.y() <= boxMax.y() && lo.z() <= boxMax.z() && hi.x() >= boxMin.x() &&
           hi.y() >= boxMin.y() && hi.z() >= boxMin.z();
}

// The nearest crossing of the line from `from` to `to` with the triangles, as a fraction of the
// line (1: none), with the unit normal facing the line's start. A crossing on an edge counts
// (within a small tolerance); of equally near ones the first is kept.
struct NearestHit {
    btScalar fraction = 1;
    btVector3 normal;
    bool hit = false;

    void test(const NearTriangle &t, const btVector3 &from, const btVector3 &to) {
        btScalar a = t.normal.dot(from) - t.plane, b = t.normal.dot(to) - t.plane;
        if (a * b >= 0)
            return; // both ends on one side
        btScalar f = a / (a - b);
        if (!(f < fraction))
            return;
        btVector3 p;
        p.setInterpolate3(from, to, f);
        btVector3 v0p = t.corner[0] - p, v1p = t.corner[1] - p, v2p = t.corner[2] - p;
        if (v0p.cross(v1p).dot(t.normal) < t.edgeTolerance || v1p.cross(v2p).dot(t.normal) < t.edgeTolerance ||
            v2p.cross(v0p).dot(t.normal) < t.edgeTolerance)
            return;
        fraction = f;
        normal = t.normal.normalized();
        if (a <= 0)
            normal = -normal;
        hit = true;
    }
};
} // namespace

// The sensor's triangles for a line from lo to hi (its bounding box), gathered anew when the
// line has left the box they were gathered for or the track has changed.
static const std::vector<NearTriangle> &nearTriangles(const PhysicsWorld *w, LineSensor *s, const btVector3 &lo,
                                                      const btVector3 &hi) {
    if (s->nearTerrain != w->terrainId || !within(lo, hi, s->nearMin, s->nearMax)) {
        const btVector3 margin(kNearMargin, kNearMargin, kNearMargin);
        s->nearMin = lo - margin;
        s->nearMax = hi + margin;
        s->nearTriangles.clear();
        TriangleCollector collect;
        collect.out = &s->nearTriangles;
        w->terrainShape->processAllTriangles(&collect, s->nearMin, s->nearMax);
        s->nearTerrain = w->terrainId;
    }
    return s->nearTriangles;
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
    btVector3 lo = from, hi = from;
    lo.setMin(to);
    hi.setMax(to);
    NearestHit hit;
    for (const NearTriangle &tri : nearTriangles(w, s, lo, hi))
        if (overlaps(lo, hi, tri.lo, tri.hi))
            hit.test(tri, from, to);
    if (!hit.hit)
        return;
    s->depth = length * (1.0f - hit.fraction);
    s->normal = hit.normal;
    s->point = from.lerp(to, hit.fraction);
}

void physCastSensors(PhysicsWorld *w) {
    for (int i = 0; i < w->numSensors; i++)
        castSensor(w, &w->sensors[i]);
}
