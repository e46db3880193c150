// Checks that every circuit can be raced and every car drawn: the files are read back by the game's
// own model and waypoint readers and probed with rays against the collision model.
#include "game_model.h"
#include "content/content.h"
#include "formats/images.h"
#include "formats/waypoints.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const std::string kBase = COBALT_BASE_DIR;

std::vector<uint8_t> readBytes(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

bool loadModel(const std::string &path, TestModel &m) { return loadGameModel(path, m); }

// The race's start table: first grid slot per track; the others follow every 4.5 along +z.
struct Start {
    float x, y, z;
};
Start startOf(int track)
{
    switch (track) {
    case 1: return {-369, -6.2f, 552};
    case 2: case 9: case 13: return {-436, -7.2f, 193};
    case 3: case 6: case 11: return {-235, -8, -273};
    case 4: case 8: return {-195, -7.6f, 493};
    case 5: case 15: return {-59, -6.5f, 305};
    case 7: case 12: return {-514, -7, -247};
    default: return {-223, -6.9f, 95}; // 10, 14
    }
}

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

    explicit RayScene(const TestModel &m)
    {
        float x1 = -1e30f, z1 = -1e30f;
        x0 = z0 = 1e30f;
        for (const auto &v : m.vertices) {
            x0 = std::fmin(x0, v.p[0]);
            z0 = std::fmin(z0, v.p[2]);
            x1 = std::fmax(x1, v.p[0]);
            z1 = std::fmax(z1, v.p[2]);
        }
        nx = int((x1 - x0) / cell) + 1;
        nz = int((z1 - z0) / cell) + 1;
        cells.resize(size_t(nx * nz));
        for (const auto &t : m.triangles) {
            V p[3];
            for (int k = 0; k < 3; k++)
                p[k] = {m.vertices[size_t(t.v[k])].p[0], m.vertices[size_t(t.v[k])].p[1], m.vertices[size_t(t.v[k])].p[2]};
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
        TestModel collision, visual, lights;
        ASSERT_TRUE(loadModel(trackFile(track, "map.ms3d"), collision));
        ASSERT_TRUE(loadModel(trackFile(track, "mapvisual.ms3d"), visual));
        ASSERT_TRUE(loadModel(trackFile(track, "light.ms3d"), lights));
        EXPECT_GT(collision.triangles.size(), 100u);
        EXPECT_LE(visual.triangles.size(), 25000u);
        EXPECT_LE(visual.vertices.size(), 65535u);
        EXPECT_LE(collision.vertices.size(), 65535u);
        // Every triangle belongs to a group, so the drawing and the baking see all of them.
        size_t grouped = 0;
        for (const auto &g : visual.groups)
            grouped += g.triangles.size();
        EXPECT_EQ(grouped, visual.triangles.size());
        // Lamps: one triangle each, coloured by its material's emissive colour.
        EXPECT_GE(lights.triangles.size(), 40u);
        EXPECT_LE(lights.triangles.size(), 200u);
        for (const auto &g : lights.groups) {
            ASSERT_GE(g.material, 0);
            const float *e = lights.materials[size_t(g.material)].emissive;
            EXPECT_GT(e[0] + e[1] + e[2], 0.5f);
        }
        // The road faces the lamps above it: its normals point up.
        for (const auto &g : visual.groups) {
            if (g.material < 0 || visual.materials[size_t(g.material)].texture.find("/road.bmp") == std::string::npos)
                continue;
            for (int t : g.triangles)
                for (int k = 0; k < 3; k++)
                    ASSERT_GT(visual.triangles[size_t(t)].n[k][1], 0.9f) << "road triangle " << t;
        }
        // Every texture the drawn model names exists, relative to the game's working directory.
        // Self-lit textures (lit windows) are TGAs whose alpha masks the lit texels, and the
        // materials showing them glow; the city has lit windows on every circuit.
        int glowing = 0;
        for (const auto &mat : visual.materials) {
            ASSERT_FALSE(mat.texture.empty());
            std::string path = kBase + "/../" + mat.texture;
            std::vector<uint8_t> bytes = readBytes(path);
            EXPECT_FALSE(bytes.empty()) << path;
            glowing += mat.emissive[0] > 0;
            if (mat.texture.find(".tga") == std::string::npos)
                continue;
            TgaImage image;
            ASSERT_TRUE(decodeTga(bytes.data(), bytes.size(), &image)) << path;
            ASSERT_EQ(image.bytesPerPixel, 4) << path;
            int masked = 0, total = image.width * image.height;
            for (int i = 0; i < total; i++)
                masked += image.pixels[i * 4 + 3] == 255;
            EXPECT_GT(masked, total / 50) << path << ": some texels lit";
            EXPECT_LT(masked, total * 3 / 4) << path << ": not the whole wall";
            EXPECT_GT(mat.emissive[0], 0.5f) << path;
            delete[] image.pixels;
        }
        EXPECT_GT(glowing, 3);
    }
}

TEST(Tracks, GridSlotsStandOnTheRoadAtRideHeight)
{
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        TestModel collision;
        ASSERT_TRUE(loadModel(trackFile(track, "map.ms3d"), collision));
        RayScene scene(collision);
        Start s = startOf(track);
        for (int slot = 0; slot < 4; slot++) {
            // The four wheel sensors as well as the centre.
            for (V off : {V{0, 0, 0}, V{2, 0, 1.25f}, V{2, 0, -1.25f}, V{-2, 0, 1.25f}, V{-2, 0, -1.25f}}) {
                V o = {s.x + off.x, s.y, s.z + 4.5f * float(slot) + off.z};
                float d = scene.cast(o, V{0, -1, 0}, 5);
                EXPECT_GE(d, 0.7f) << "slot " << slot;
                EXPECT_LE(d, 0.9f) << "slot " << slot;
            }
            // Nothing to collide with around the car body.
            for (V dir : {V{0, 0, 1}, V{0, 0, -1}, V{1, 0, 0}, V{-1, 0, 0}})
                EXPECT_LT(scene.cast(V{s.x, s.y, s.z + 4.5f * float(slot)}, dir, 2.0f), 0.0f) << "slot " << slot;
        }
    }
}

TEST(Tracks, WaypointsFollowTheRoadAndCloseTheLoop)
{
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        ASSERT_TRUE(readWaypointFile(trackFile(track, "points/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
        ASSERT_GE(waypointCount, 10);
        TestModel collision;
        ASSERT_TRUE(loadModel(trackFile(track, "map.ms3d"), collision));
        RayScene scene(collision);
        Start s = startOf(track);
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
        ASSERT_TRUE(loadWaypoints(track) || readWaypointFile(trackFile(track, "points/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
        EXPECT_GE(waypointCount, 40) << "track " << track;
    }
    EXPECT_FALSE(loadWaypoints(21));
    EXPECT_EQ(waypointCount, 0);
}

TEST(Cars, BodiesAndWheelsAsTheDrawingPlacesThem)
{
    for (int car = 1; car <= 12; car++) {
        SCOPED_TRACE("car " + std::to_string(car));
        TestModel body, wheel;
        std::string dir = kBase + "/cars/" + std::to_string(car) + "/";
        ASSERT_TRUE(loadModel(dir + "car.ms3d", body));
        ASSERT_TRUE(loadModel(dir + "wheel.ms3d", wheel));
        EXPECT_LE(body.triangles.size(), 3000u);
        EXPECT_LE(wheel.triangles.size(), 3000u);
        float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
        for (const auto &v : body.vertices)
            for (int k = 0; k < 3; k++) {
                lo[k] = std::fmin(lo[k], v.p[k]);
                hi[k] = std::fmax(hi[k], v.p[k]);
            }
        EXPECT_NEAR(hi[0] - lo[0], 6.2f, 0.4f);  // length, tail pipes included
        EXPECT_NEAR(hi[2] - lo[2], 2.4f, 0.2f);  // width
        // Drawn 0.15 above a body that rides about 0.82 over the road: no part below the road.
        EXPECT_GT(lo[1] + 0.15f, -0.82f);
        float r = 0, zlo = 1e9f, zhi = -1e9f;
        for (const auto &v : wheel.vertices) {
            r = std::fmax(r, std::sqrt(v.p[0] * v.p[0] + v.p[1] * v.p[1]));
            zlo = std::fmin(zlo, v.p[2]);
            zhi = std::fmax(zhi, v.p[2]);
        }
        EXPECT_NEAR(r, 0.45f, 0.03f);
        // Lighting needs outward normals: nearly every body face points away from the car's middle.
        int outward = 0;
        for (const auto &t : body.triangles) {
            float c[3] = {0, 0, 0}, n[3] = {0, 0, 0};
            for (int k = 0; k < 3; k++)
                for (int j = 0; j < 3; j++) {
                    c[j] += body.vertices[size_t(t.v[k])].p[j] / 3;
                    n[j] += t.n[k][j];
                }
            outward += (c[0] * n[0] + (c[1] + 0.1f) * n[1] + c[2] * n[2]) > 0 ? 1 : 0;
        }
        EXPECT_GT(outward, int(body.triangles.size() * 95 / 100));
        EXPECT_LT(zhi - zlo, 0.6f);
        for (const auto &mat : body.materials)
            EXPECT_FALSE(readBytes(kBase + "/../" + mat.texture).empty()) << mat.texture;
    }
    TestModel garage;
    ASSERT_TRUE(loadModel(kBase + "/garage/light.ms3d", garage));
    EXPECT_GE(garage.triangles.size(), 4u);
    EXPECT_LE(garage.triangles.size(), 200u);
}

TEST(Generator, SecondRunWritesTheSameBytes)
{
    std::string dir = std::string(COBALT_BASE_DIR) + "/../gen3d_rerun";
    std::string cmd = std::string(GEN3D_BINARY) + " " + dir + " > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    for (std::string rel : {"/maps/1/map.ms3d", "/maps/9/mapvisual.ms3d", "/maps/15/light.ms3d",
                            "/maps/20/points/level.ai", "/cars/7/car.ms3d", "/cars/12/wheel.ms3d",
                            "/garage/light.ms3d", "/textures/world/road.bmp", "/textures/world/car03.bmp"}) {
        std::vector<uint8_t> a = readBytes(kBase + rel), b = readBytes(dir + rel);
        EXPECT_FALSE(a.empty()) << rel;
        EXPECT_TRUE(a == b) << rel;
    }
    std::system(("rm -rf " + dir).c_str());
}
