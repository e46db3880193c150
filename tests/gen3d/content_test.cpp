// Checks that every circuit can be raced and every car drawn: the files are read back by the game's
// own model and waypoint readers and probed with rays against the collision model.
#include "content/content.h"
#include "formats/waypoints.h"
#include "race/race.h"
#include "support/ms3d_write.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>

namespace {

const std::string kBase = COBALT_BASE_DIR;

std::span<const Vertex> vertices(const ModelData &m) { return {m.vertices, size_t(m.numVertices)}; }
std::span<const Triangle> triangles(const ModelData &m) { return {m.triangles, size_t(m.numTriangles)}; }
std::span<const Mesh> meshes(const ModelData &m) { return {m.meshes, size_t(m.numMeshes)}; }
std::span<const Material> materials(const ModelData &m) { return {m.materials, size_t(m.numMaterials)}; }

struct V {
    float x, y, z;
};
V sub(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V crossV(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dotV(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Collision triangles bucketed on a ground grid so a few thousand rays stay cheap.
struct RayScene {
    std::vector<V> a, b, c;
    float x0 = 0, z0 = 0;
    int nx = 0, nz = 0;
    const float cell = 8;
    std::vector<std::vector<int>> cells;
    mutable std::vector<int> stamp;
    mutable int round = 0;

    explicit RayScene(const ModelData &m)
    {
        float x1 = -1e30f, z1 = -1e30f;
        x0 = z0 = 1e30f;
        for (const Vertex &v : vertices(m)) {
            x0 = std::fmin(x0, v.location[0]);
            z0 = std::fmin(z0, v.location[2]);
            x1 = std::fmax(x1, v.location[0]);
            z1 = std::fmax(z1, v.location[2]);
        }
        nx = int((x1 - x0) / cell) + 1;
        nz = int((z1 - z0) / cell) + 1;
        cells.resize(size_t(nx * nz));
        for (const Triangle &t : triangles(m)) {
            V p[3];
            for (int k = 0; k < 3; k++) {
                const float *l = m.vertices[t.vertexIndices[k]].location;
                p[k] = {l[0], l[1], l[2]};
            }
            int id = int(a.size());
            a.push_back(p[0]);
            b.push_back(p[1]);
            c.push_back(p[2]);
            int i0 = cx(std::fmin(p[0].x, std::fmin(p[1].x, p[2].x))), i1 = cx(std::fmax(p[0].x, std::fmax(p[1].x, p[2].x)));
            int j0 = cz(std::fmin(p[0].z, std::fmin(p[1].z, p[2].z))), j1 = cz(std::fmax(p[0].z, std::fmax(p[1].z, p[2].z)));
            for (int j = j0; j <= j1; j++)
                for (int i = i0; i <= i1; i++)
                    cells[size_t(j * nx + i)].push_back(id);
        }
        stamp.assign(a.size(), -1);
    }
    int cx(float x) const { return std::max(0, std::min(nx - 1, int((x - x0) / cell))); }
    int cz(float z) const { return std::max(0, std::min(nz - 1, int((z - z0) / cell))); }

    // Distance along the unit direction d to the nearest triangle within maxDist, or -1.
    float cast(V o, V d, float maxDist) const
    {
        round++;
        V e = {o.x + d.x * maxDist, o.y + d.y * maxDist, o.z + d.z * maxDist};
        int i0 = cx(std::fmin(o.x, e.x)), i1 = cx(std::fmax(o.x, e.x));
        int j0 = cz(std::fmin(o.z, e.z)), j1 = cz(std::fmax(o.z, e.z));
        float best = -1;
        for (int j = j0; j <= j1; j++)
            for (int i = i0; i <= i1; i++)
                for (int id : cells[size_t(j * nx + i)]) {
                    if (stamp[size_t(id)] == round)
                        continue;
                    stamp[size_t(id)] = round;
                    V e1 = sub(b[size_t(id)], a[size_t(id)]), e2 = sub(c[size_t(id)], a[size_t(id)]);
                    V p = crossV(d, e2);
                    float det = dotV(e1, p);
                    if (std::fabs(det) < 1e-9f)
                        continue;
                    V s = sub(o, a[size_t(id)]);
                    float u = dotV(s, p) / det;
                    if (u < -1e-4f || u > 1 + 1e-4f)
                        continue;
                    V q = crossV(s, e1);
                    float v = dotV(d, q) / det;
                    if (v < -1e-4f || u + v > 1 + 1e-4f)
                        continue;
                    float t = dotV(e2, q) / det;
                    if (t >= 0 && t <= maxDist && (best < 0 || t < best))
                        best = t;
                }
        return best;
    }
};

std::string trackFile(int track, const char *name) { return kBase + "/maps/" + std::to_string(track) + "/" + name; }

} // namespace

TEST(Tracks, EveryModelFitsTheFormatAndTheFrameBudget)
{
    for (int track = 1; track <= 20; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        ParsedModel collision, visual, lights;
        ASSERT_TRUE(collision.read(trackFile(track, "map.ms3d")));
        ASSERT_TRUE(visual.read(trackFile(track, "mapvisual.ms3d")));
        ASSERT_TRUE(lights.read(trackFile(track, "light.ms3d")));
        EXPECT_GT(collision.numTriangles, 100);
        EXPECT_LE(visual.numTriangles, 25000);
        // Every triangle belongs to a group, so the drawing and the baking see all of them.
        int grouped = 0;
        for (const Mesh &g : meshes(visual))
            grouped += g.numTriangles;
        EXPECT_EQ(grouped, visual.numTriangles);
        // Lamps: one triangle each, coloured by its material's emissive colour.
        EXPECT_GE(lights.numTriangles, 40);
        EXPECT_LE(lights.numTriangles, 200);
        for (const Mesh &g : meshes(lights)) {
            ASSERT_GE(g.materialIndex, 0);
            const float *e = lights.materials[g.materialIndex].emissive;
            EXPECT_GT(e[0] + e[1] + e[2], 0.5f);
        }
        // The road faces the lamps above it: its normals point up.
        for (const Mesh &g : meshes(visual)) {
            if (g.materialIndex < 0 || !std::strstr(visual.materials[g.materialIndex].textureFileName, "/road.bmp"))
                continue;
            for (int t : std::span(g.triangleIndices, size_t(g.numTriangles)))
                for (int k = 0; k < 3; k++)
                    ASSERT_GT(visual.triangles[t].vertexNormals[k][1], 0.9f) << "road triangle " << t;
        }
        // Every texture the drawn model names exists, relative to the game's working directory.
        for (const Material &mat : materials(visual)) {
            std::string path = kBase + "/../" + mat.textureFileName;
            EXPECT_FALSE(readBytes(path).empty()) << path;
        }
    }
}

// Each raced circuit: its grid on the road at ride height, its waypoints along a walled road.
TEST(Tracks, GridAndWaypointsLieOnAWalledRoad)
{
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        ASSERT_TRUE(readWaypointFile(trackFile(track, "points/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
        ASSERT_GE(waypointCount, 10);
        ParsedModel collision;
        ASSERT_TRUE(collision.read(trackFile(track, "map.ms3d")));
        RayScene scene(collision);
        float start[3];
        startPosition(track, start);
        const V s = {start[0], start[1], start[2]};
        for (int slot = 0; slot < 4; slot++) {
            V c = {s.x, s.y, s.z + 4.5f * float(slot)};
            // The four wheel sensors as well as the centre reach the road at ride height.
            for (V off : {V{0, 0, 0}, V{2, 0, 1.25f}, V{2, 0, -1.25f}, V{-2, 0, 1.25f}, V{-2, 0, -1.25f}}) {
                float d = scene.cast(V{c.x + off.x, c.y, c.z + off.z}, V{0, -1, 0}, 5);
                EXPECT_TRUE(d >= 0.7f && d <= 0.9f) << "slot " << slot << ": " << d;
            }
            // Nothing to collide with around the car body.
            for (V dir : {V{0, 0, 1}, V{0, 0, -1}, V{1, 0, 0}, V{-1, 0, 0}})
                EXPECT_LT(scene.cast(c, dir, 2.0f), 0.0f) << "slot " << slot;
        }
        // Waypoint 0 is the start line, just ahead of the grid and level with it.
        const Waypoint &w0 = waypoints[0];
        EXPECT_GT(w0.x, s.x);
        EXPECT_LE(w0.x - s.x, 30.0f);
        EXPECT_GE(w0.z, s.z - 2);
        EXPECT_LE(w0.z, s.z + 4.5f * 3 + 2);
        int escapes = 0, narrow = 0;
        float lap = 0;
        for (int i = 0; i < waypointCount; i++) {
            const Waypoint &a = waypoints[i], &b = waypoints[(i + 1) % waypointCount];
            EXPECT_EQ(a.fourth, 0.0f);
            EXPECT_EQ(a.fifth, 0);
            float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
            float dist = std::sqrt(dx * dx + dy * dy + dz * dz);
            EXPECT_GE(dist, 10.0f) << "waypoint " << i;
            EXPECT_LE(dist, 25.0f) << "waypoint " << i;
            lap += dist;
            float above = scene.cast(V{a.x, a.y, a.z}, V{0, -1, 0}, 8);
            EXPECT_GE(above, 3.0f) << "waypoint " << i;
            EXPECT_LE(above, 5.0f) << "waypoint " << i;
            // Along the line a driver takes to the next waypoint, every metre: on the road, with
            // a barrier on either side close enough to be the road's edge and far enough for a car.
            float hl = std::sqrt(dx * dx + dz * dz);
            V side = {-dz / hl, 0, dx / hl};
            for (float u = 0; u < hl; u += 1.0f) {
                V p = {a.x + dx * u / hl, a.y + dy * u / hl + 1.0f, a.z + dz * u / hl};
                float down = scene.cast(p, V{0, -1, 0}, 10);
                ASSERT_GT(down, 0.0f) << "off the surface after waypoint " << i;
                V car = {p.x, p.y - down + 0.8f, p.z};
                for (float sign : {-1.0f, 1.0f}) {
                    // Within a road's width: a ray that slips diagonally past the inside of a sharp
                    // corner still meets a wall, one through a gap finds nothing behind.
                    float hit = scene.cast(car, V{side.x * sign, 0, side.z * sign}, 27.0f);
                    if (hit < 0) {
                        if (escapes++ < 3)
                            ADD_FAILURE() << "no barrier beside (" << car.x << ", " << car.z << ") after waypoint " << i;
                    }
                    else if (hit < 1.5f)
                        narrow++;
                }
            }
            // A fan all round at the waypoint: every direction meets a wall, none leads out.
            for (int k = 0; k < 16; k++) {
                float ang = float(k) * 3.14159265f / 8;
                V p = {a.x, a.y - 3.2f, a.z};
                float hit = scene.cast(p, V{std::cos(ang), 0, std::sin(ang)}, 1000);
                EXPECT_GT(hit, 0.0f) << "ray " << k << " from waypoint " << i << " leaves the circuit";
            }
        }
        EXPECT_GE(lap, 1200.0f);
        EXPECT_LE(lap, 2500.0f);
        EXPECT_EQ(escapes, 0) << "sideways rays that found no barrier within 27";
        EXPECT_EQ(narrow, 0) << "points of the driving line closer than 1.5 to a barrier";
    }
}

TEST(Tracks, ExtraCircuitsHaveWaypointsToo)
{
    for (int track = 16; track <= 20; track++) {
        ASSERT_TRUE(loadWaypoints(track)); // from base/ in the build folder, as the game reads it
        EXPECT_GE(waypointCount, 40) << "track " << track;
    }
    EXPECT_FALSE(loadWaypoints(21));
    EXPECT_EQ(waypointCount, 0);
}

TEST(Cars, BodiesAndWheelsAsTheDrawingPlacesThem)
{
    for (int car = 1; car <= 12; car++) {
        SCOPED_TRACE("car " + std::to_string(car));
        ParsedModel body, wheel;
        std::string dir = kBase + "/cars/" + std::to_string(car) + "/";
        ASSERT_TRUE(body.read(dir + "car.ms3d"));
        ASSERT_TRUE(wheel.read(dir + "wheel.ms3d"));
        EXPECT_LE(body.numTriangles, 3000);
        EXPECT_LE(wheel.numTriangles, 3000);
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (const Vertex &v : vertices(body))
            for (int k = 0; k < 3; k++) {
                lo[k] = std::fmin(lo[k], v.location[k]);
                hi[k] = std::fmax(hi[k], v.location[k]);
            }
        EXPECT_NEAR(hi[0] - lo[0], 6.2f, 0.4f);  // length, tail pipes included
        EXPECT_NEAR(hi[2] - lo[2], 2.4f, 0.2f);  // width
        // Drawn 0.15 above a body that rides about 0.82 over the road: no part below the road.
        EXPECT_GT(lo[1] + 0.15f, -0.82f);
        float r = 0, zlo = 1e9f, zhi = -1e9f;
        for (const Vertex &v : vertices(wheel)) {
            r = std::fmax(r, std::hypot(v.location[0], v.location[1]));
            zlo = std::fmin(zlo, v.location[2]);
            zhi = std::fmax(zhi, v.location[2]);
        }
        EXPECT_NEAR(r, 0.45f, 0.03f);
        // Lighting needs outward normals: nearly every body face points away from the car's middle.
        int outward = 0;
        for (const Triangle &t : triangles(body)) {
            float c[3] = {0, 0, 0}, n[3] = {0, 0, 0};
            for (int k = 0; k < 3; k++)
                for (int j = 0; j < 3; j++) {
                    c[j] += body.vertices[t.vertexIndices[k]].location[j] / 3;
                    n[j] += t.vertexNormals[k][j];
                }
            outward += (c[0] * n[0] + (c[1] + 0.1f) * n[1] + c[2] * n[2]) > 0 ? 1 : 0;
        }
        EXPECT_GT(outward, body.numTriangles * 95 / 100);
        EXPECT_LT(zhi - zlo, 0.6f);
        for (const Material &mat : materials(body))
            EXPECT_FALSE(readBytes(kBase + "/../" + mat.textureFileName).empty()) << mat.textureFileName;
    }
    ParsedModel garage;
    ASSERT_TRUE(garage.read(kBase + "/garage/light.ms3d"));
    EXPECT_GE(garage.numTriangles, 4);
    EXPECT_LE(garage.numTriangles, 200);
}

TEST(Generator, SecondRunWritesTheSameBytes)
{
    TempDir dir;
    ASSERT_EQ(std::system((std::string(GEN3D_BINARY) + " " + dir.path.string() + " > /dev/null").c_str()), 0);
    for (std::string rel : {"/maps/1/map.ms3d", "/maps/9/mapvisual.ms3d", "/maps/15/light.ms3d",
                            "/maps/20/points/level.ai", "/cars/7/car.ms3d", "/cars/12/wheel.ms3d",
                            "/garage/light.ms3d", "/textures/world/road.bmp", "/textures/world/car03.bmp"}) {
        Bytes a = readBytes(kBase + rel);
        EXPECT_FALSE(a.empty()) << rel;
        EXPECT_TRUE(a == readBytes(dir.path.string() + rel)) << rel;
    }
}
