// Checks that every circuit can be raced and every car drawn: the files are read back by the game's
// own model and waypoint readers and probed with rays against the collision model.
#include "content/content.h"
#include "formats/buildings.h"
#include "formats/images.h"
#include "formats/waypoints.h"
#include "race/car_table.h"
#include "race/race.h"
#include "support/ms3d_write.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

namespace {

const std::string kBase = COBALT_BASE_DIR;

struct V {
    float x, y, z;
};
V sub(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V crossV(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dotV(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The parser's arrays as ranges.
template <class T> std::span<T> each(T *items, int count) { return {items, size_t(count)}; }
V vertexOf(const ModelData &m, int i) { return {m.vertices[i].location[0], m.vertices[i].location[1], m.vertices[i].location[2]}; }
std::string textureOf(const Material &m) { return m.textureFileName ? m.textureFileName : ""; }

// Triangles bucketed on a ground grid so a few thousand rays stay cheap: a track's collision
// model in cells of 8, a car in cells of 0.25.
struct RayScene {
    std::vector<std::array<V, 3>> tris;
    float x0 = 1e30f, z0 = 1e30f;
    int nx = 0, nz = 0;
    float cell;
    std::vector<std::vector<int>> cells;

    explicit RayScene(const ModelData &m, float cellSize = 8) : cell(cellSize)
    {
        float x1 = -1e30f, z1 = -1e30f;
        for (const Vertex &v : each(m.vertices, m.numVertices)) {
            x0 = std::fmin(x0, v.location[0]);
            z0 = std::fmin(z0, v.location[2]);
            x1 = std::fmax(x1, v.location[0]);
            z1 = std::fmax(z1, v.location[2]);
        }
        nx = int((x1 - x0) / cell) + 1;
        nz = int((z1 - z0) / cell) + 1;
        cells.resize(size_t(nx * nz));
        for (const Triangle &t : each(m.triangles, m.numTriangles)) {
            std::array<V, 3> p;
            for (int k = 0; k < 3; k++)
                p[k] = vertexOf(m, t.vertexIndices[k]);
            int id = int(tris.size());
            tris.push_back(p);
            int i0 = cx(std::fmin(p[0].x, std::fmin(p[1].x, p[2].x))), i1 = cx(std::fmax(p[0].x, std::fmax(p[1].x, p[2].x)));
            int j0 = cz(std::fmin(p[0].z, std::fmin(p[1].z, p[2].z))), j1 = cz(std::fmax(p[0].z, std::fmax(p[1].z, p[2].z)));
            for (int j = j0; j <= j1; j++)
                for (int i = i0; i <= i1; i++)
                    cells[size_t(j * nx + i)].push_back(id);
        }
    }
    int cx(float x) const { return std::max(0, std::min(nx - 1, int((x - x0) / cell))); }
    int cz(float z) const { return std::max(0, std::min(nz - 1, int((z - z0) / cell))); }

    // Distance along the unit direction d to the nearest triangle within maxDist, or -1.
    float cast(V o, V d, float maxDist) const
    {
        float nearest = -1;
        V e = {o.x + d.x * maxDist, o.y + d.y * maxDist, o.z + d.z * maxDist};
        int i0 = cx(std::fmin(o.x, e.x)), i1 = cx(std::fmax(o.x, e.x));
        int j0 = cz(std::fmin(o.z, e.z)), j1 = cz(std::fmax(o.z, e.z));
        for (int j = j0; j <= j1; j++)
            for (int i = i0; i <= i1; i++)
                for (int id : cells[size_t(j * nx + i)]) {
                    const auto &[a, b, c] = tris[size_t(id)];
                    V e1 = sub(b, a), e2 = sub(c, a);
                    V p = crossV(d, e2);
                    float det = dotV(e1, p);
                    if (std::fabs(det) < 1e-9f)
                        continue;
                    V s = sub(o, a);
                    float u = dotV(s, p) / det;
                    if (u < -1e-4f || u > 1 + 1e-4f)
                        continue;
                    V q = crossV(s, e1);
                    float v = dotV(d, q) / det;
                    if (v < -1e-4f || u + v > 1 + 1e-4f)
                        continue;
                    float t = dotV(e2, q) / det;
                    if (t >= 0 && t <= maxDist && (nearest < 0 || t < nearest))
                        nearest = t;
                }
        return nearest;
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
        for (const Mesh &g : each(visual.meshes, visual.numMeshes))
            grouped += g.numTriangles;
        EXPECT_EQ(grouped, visual.numTriangles);
        // Lamps: one triangle each, coloured by its material's emissive colour.
        EXPECT_GE(lights.numTriangles, 40);
        EXPECT_LE(lights.numTriangles, 200);
        for (const Mesh &g : each(lights.meshes, lights.numMeshes)) {
            ASSERT_GE(g.materialIndex, 0);
            const float *e = lights.materials[g.materialIndex].emissive;
            EXPECT_GT(e[0] + e[1] + e[2], 0.5f);
        }
        // The road faces the lamps above it: its normals point up.
        for (const Mesh &g : each(visual.meshes, visual.numMeshes)) {
            if (g.materialIndex < 0 || textureOf(visual.materials[g.materialIndex]).find("/road.bmp") == std::string::npos)
                continue;
            for (int t : each(g.triangleIndices, g.numTriangles))
                for (int k = 0; k < 3; k++)
                    ASSERT_GT(visual.triangles[t].vertexNormals[k][1], 0.9f) << "road triangle " << t;
        }
        // Every texture the drawn model names exists, relative to the game's working directory.
        // Self-lit textures (lit windows) are TGAs whose alpha masks the lit texels, and the
        // materials showing them glow; the city has lit windows on every circuit.
        int glowing = 0;
        for (const Material &mat : each(visual.materials, visual.numMaterials)) {
            ASSERT_FALSE(textureOf(mat).empty());
            std::string path = kBase + "/../" + textureOf(mat);
            std::vector<uint8_t> bytes = readBytes(path);
            EXPECT_FALSE(bytes.empty()) << path;
            glowing += mat.emissive[0] > 0;
            if (path.find(".tga") == std::string::npos)
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
        // The buildings' boxes, as the race reads them: the city has hundreds of buildings.
        std::vector<BuildingBox> buildings;
        ASSERT_TRUE(readBuildingsFile(trackFile(track, "buildings.dat").c_str(), buildings));
        EXPECT_GT(buildings.size(), 100u);
    }
}

// The ground is left out where the road strip covers it: looking straight down anywhere over it,
// something is always there to see.
TEST(Tracks, SeenFromAboveTheGroundHasNoHoles)
{
    for (int track = 1; track <= 20; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        ParsedModel visual;
        ASSERT_TRUE(visual.read(trackFile(track, "mapvisual.ms3d")));
        float lo[2] = {1e30f, 1e30f}, hi[2] = {-1e30f, -1e30f};
        for (const Mesh &g : each(visual.meshes, visual.numMeshes)) {
            if (g.materialIndex < 0 ||
                textureOf(visual.materials[g.materialIndex]).find("/ground.") == std::string::npos)
                continue;
            for (int t : each(g.triangleIndices, g.numTriangles))
                for (int k = 0; k < 3; k++) {
                    V p = vertexOf(visual, visual.triangles[t].vertexIndices[k]);
                    lo[0] = std::fmin(lo[0], p.x), lo[1] = std::fmin(lo[1], p.z);
                    hi[0] = std::fmax(hi[0], p.x), hi[1] = std::fmax(hi[1], p.z);
                }
        }
        ASSERT_LT(lo[0], hi[0]);
        RayScene city(visual);
        int holes = 0;
        for (float z = lo[1] + 0.25f; z < hi[1]; z += 1.5f)
            for (float x = lo[0] + 0.25f; x < hi[0]; x += 1.5f)
                if (city.cast(V{x, 1000, z}, V{0, -1, 0}, 2000) < 0 && holes++ < 3)
                    ADD_FAILURE() << "nothing below (" << x << ", " << z << ")";
        EXPECT_EQ(holes, 0);
    }
}

// Each raced circuit: its start line just ahead of its grid, its waypoints along a road walled on
// both sides with no way out. (That cars settle on the grid and lap along the waypoints is the
// circuits' lap test and the headless races.)
TEST(Tracks, TheStartLineLeadsTheGridAndTheWaypointsRunAlongAWalledRoad)
{
    for (int track = 1; track <= 15; track++) {
        SCOPED_TRACE("track " + std::to_string(track));
        ASSERT_TRUE(readWaypointFile(trackFile(track, "points/level.ai").c_str(), waypoints, kMaxWaypoints, &waypointCount));
        ASSERT_GE(waypointCount, 10);
        ParsedModel collision;
        ASSERT_TRUE(collision.read(trackFile(track, "map.ms3d")));
        RayScene scene(collision);
        ParsedModel visual;
        ASSERT_TRUE(visual.read(trackFile(track, "mapvisual.ms3d")));
        RayScene city(visual);
        float start[3];
        startPosition(track, start);
        // Waypoint 0 is the start line, level with the four slots 4.5 apart.
        const Waypoint &w0 = waypoints[0];
        EXPECT_GT(w0.x, start[0]);
        EXPECT_LE(w0.x - start[0], 30.0f);
        EXPECT_GE(w0.z, start[2] - 2);
        EXPECT_LE(w0.z, start[2] + 4.5f * 3 + 2);
        int escapes = 0, narrow = 0;
        for (int i = 0; i < waypointCount; i++) {
            const Waypoint &a = waypoints[i], &b = waypoints[(i + 1) % waypointCount];
            float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
            // Along the line a driver takes to the next waypoint, every metre: on the road, with
            // a barrier on either side close enough to be the road's edge and far enough for a car.
            float hl = std::sqrt(dx * dx + dz * dz);
            V side = {-dz / hl, 0, dx / hl};
            // Nothing the city draws stands in the way, a car's height over the road.
            float length = std::sqrt(hl * hl + dy * dy);
            V over = {a.x, a.y - 3.2f, a.z};
            EXPECT_LT(city.cast(over, V{dx / length, dy / length, dz / length}, length), 0.0f)
                << "the city stands on the road after waypoint " << i;
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
        EXPECT_EQ(escapes, 0) << "sideways rays that found no barrier within 27";
        EXPECT_EQ(narrow, 0) << "points of the driving line closer than 1.5 to a barrier";
    }
}

// --- cars ---------------------------------------------------------------------------------------
//
// The race draws a body 0.15 above its physics body and each wheel hub 0.37 below the physics
// body's origin at rest (ride height 0.82), at x = axle column x 0.77 / 1.67 and z = +-1; so in a
// body model's frame the hubs are at y = -0.52 and the road at -0.97.
namespace {

const float kLift = 0.15f, kHubY = -0.37f - 0.15f, kRoadY = -0.82f - 0.15f;

// The physics boxes of a car body (as the race creates it) in the body model's frame, and how far
// a drawn part may stand outside them.
struct Box {
    float lo[3], hi[3];
};
const Box kBodyBoxes[2] = {{{-3.0f, -0.2f - kLift, -1.3f}, {3.0f, 0.8f - kLift, 1.3f}},
                           {{-1.85f, 0.8f - kLift, -1.3f}, {0.65f, 1.4f - kLift, 1.3f}}};
const float kBoxSlack = 0.3f;

float distanceOutside(const Box &b, V p)
{
    float q[3] = {p.x, p.y, p.z}, d2 = 0;
    for (int k = 0; k < 3; k++) {
        float d = std::fmax(0.0f, std::fmax(b.lo[k] - q[k], q[k] - b.hi[k]));
        d2 += d * d;
    }
    return std::sqrt(d2);
}

// A body's outline seen flat from the side (rays across it) or from behind (rays along it), on a
// grid reaching past the largest body: 3.4 ahead and behind, 1.6 to either side, from 1 below its
// origin to 1.5 above.
const float kOutlineCell = 0.05f;
std::vector<bool> outlineOf(const RayScene &body, bool side)
{
    std::vector<bool> in;
    for (int j = 0; j < 50; j++)
        for (int i = 0; i < (side ? 136 : 64); i++) {
            float a = (float(i) + 0.5f) * kOutlineCell - (side ? 3.4f : 1.6f);
            float y = (float(j) + 0.5f) * kOutlineCell - 1.0f;
            in.push_back(side ? body.cast(V{a, y, -2}, V{0, 0, 1}, 4) >= 0 : body.cast(V{-4, y, a}, V{1, 0, 0}, 8) >= 0);
        }
    return in;
}
float differenceOf(const std::vector<bool> &a, const std::vector<bool> &b)
{
    int n = 0;
    for (size_t k = 0; k < a.size(); k++)
        n += a[k] != b[k];
    return float(n) * kOutlineCell * kOutlineCell;
}

} // namespace

// Each car: its budget and its physics boxes; its wheels sitting in their arches at the axle
// points; normals that keep to their faces; head and tail lamps that glow. Across the cars: no two
// share an outline.
TEST(Cars, BodiesWheelsAndLampsFitTheRaceAndNoTwoCarsShareAnOutline)
{
    std::vector<std::vector<bool>> sides, rears;
    for (int car = 1; car <= 12; car++) {
        SCOPED_TRACE("car " + std::to_string(car));
        const std::string dir = kBase + "/cars/" + std::to_string(car) + "/";
        ParsedModel body, wheel;
        ASSERT_TRUE(body.read(dir + "car.ms3d"));
        ASSERT_TRUE(wheel.read(dir + "wheel.ms3d"));
        const float axles[2] = {kCarTable[car - 1][3] * kAxleScale, -kCarTable[car - 1][4] * kAxleScale};
        // A car as drawn: its body and four wheels.
        EXPECT_LE(body.numTriangles + 4 * wheel.numTriangles, 3000);
        EXPECT_GT(body.numTriangles, 500);
        float xlo = 1e9f, xhi = -1e9f, worst = 0, lowest = 1e9f;
        for (int i = 0; i < body.numVertices; i++) {
            V p = vertexOf(body, i);
            xlo = std::fmin(xlo, p.x);
            xhi = std::fmax(xhi, p.x);
            lowest = std::fmin(lowest, p.y);
            if (p.y < kBodyBoxes[0].lo[1])
                p.y = kBodyBoxes[0].lo[1]; // under the box is the ground clearance, checked below
            worst = std::fmax(worst, std::fmin(distanceOutside(kBodyBoxes[0], p), distanceOutside(kBodyBoxes[1], p)));
        }
        EXPECT_LE(worst, kBoxSlack) << "a part of the body stands that far outside the physics boxes";
        EXPECT_GT(lowest, kRoadY + 0.1f) << "the body scrapes the road";
        EXPECT_GE(xhi - xlo, 5.4f);
        float r = 0, zlo = 1e9f, zhi = -1e9f;
        for (int i = 0; i < wheel.numVertices; i++) {
            V v = vertexOf(wheel, i);
            r = std::fmax(r, std::sqrt(v.x * v.x + v.y * v.y));
            zlo = std::fmin(zlo, v.z);
            zhi = std::fmax(zhi, v.z);
        }
        EXPECT_NEAR(r, 0.45f, 0.01f); // touches the road at ride height
        EXPECT_LT(zhi - zlo, 0.6f);
        // Lighting needs outward normals: each keeps to its face's winding, which the render culling
        // test holds to facing out.
        for (const ModelData *m : {&body, &wheel}) {
            int against = 0;
            for (const Triangle &t : each(m->triangles, m->numTriangles)) {
                const int *v = t.vertexIndices;
                V face = crossV(sub(vertexOf(*m, v[1]), vertexOf(*m, v[0])), sub(vertexOf(*m, v[2]), vertexOf(*m, v[0])));
                for (const float *n : t.vertexNormals)
                    against += dotV(face, V{n[0], n[1], n[2]}) < 0;
            }
            EXPECT_LE(against, m->numTriangles * 3 / 100) << "normals turned in, " << (m == &body ? "body" : "wheel");
        }
        for (const Material &mat : each(body.materials, body.numMaterials))
            EXPECT_FALSE(readBytes(kBase + "/../" + textureOf(mat)).empty()) << textureOf(mat);

        RayScene scene(body, 0.25f);
        sides.push_back(outlineOf(scene, true));
        rears.push_back(outlineOf(scene, false));
        // Rays from each hub up round the top half of the wheel, across the tyre's width: the body is
        // met beyond the tyre (it does not cut into the wheel), close to it (the arch is over it) and
        // as far ahead of the hub as behind it (the arch is centred on the axle).
        for (float axle : axles)
            for (float z : {0.9f, 1.0f, 1.1f, -0.9f, -1.0f, -1.1f}) {
                float hit[17];
                for (int deg = 20; deg <= 160; deg += 10) {
                    float a = float(deg) * 3.14159265f / 180;
                    float &h = hit[deg / 10];
                    h = scene.cast(V{axle, kHubY, z}, V{std::cos(a), std::sin(a), 0}, 2);
                    EXPECT_GE(h, 0.46f) << "axle " << axle << " z " << z << " at " << deg << " degrees";
                    EXPECT_LE(h, 0.8f) << "axle " << axle << " z " << z << " at " << deg << " degrees";
                }
                for (int k = 3; k <= 7; k++)
                    EXPECT_NEAR(hit[k], hit[18 - k], 0.05f) << "axle " << axle << " z " << z << " at " << k * 10 << " degrees";
            }

        // Lamps are materials of their own with an emissive colour, near white at the front and red
        // at the back, and the texels under them are bright too.
        int heads = 0, tails = 0;
        for (const Mesh &g : each(body.meshes, body.numMeshes)) {
            ASSERT_GE(g.materialIndex, 0);
            const Material &mat = body.materials[g.materialIndex];
            const float *e = mat.emissive;
            bool white = e[0] > 0.8f && e[1] > 0.8f && e[2] > 0.7f, red = e[0] > 0.8f && e[1] < 0.3f && e[2] < 0.3f;
            if (!white && !red) {
                EXPECT_LT(e[0] + e[1] + e[2], 0.01f) << "paint does not glow";
                continue;
            }
            RgbImage *img = loadBmpImage((kBase + "/../" + textureOf(mat)).c_str());
            ASSERT_NE(img, nullptr) << textureOf(mat);
            for (int t : each(g.triangleIndices, g.numTriangles)) {
                const Triangle &tri = body.triangles[t];
                float x = 0, s = 0, tt = 0;
                for (int k = 0; k < 3; k++) {
                    x += vertexOf(body, tri.vertexIndices[k]).x / 3;
                    s += tri.s[k] / 3;
                    tt += tri.t[k] / 3;
                }
                // The game keeps t counted from the bottom row, as the bitmap's rows run.
                int px = std::clamp(int(s * float(img->width)), 0, img->width - 1);
                int py = std::clamp(int(tt * float(img->height)), 0, img->height - 1);
                const unsigned char *texel = img->data + (size_t(py) * size_t(img->width) + size_t(px)) * 3;
                if (white) {
                    EXPECT_GT(x, 2.3f) << "headlamp away from the nose";
                    EXPECT_GE(std::min({texel[0], texel[1], texel[2]}), 200);
                    heads++;
                } else {
                    EXPECT_LT(x, -2.5f) << "tail lamp away from the tail";
                    EXPECT_GE(texel[0], 200);
                    EXPECT_LT(texel[1], 80);
                    tails++;
                }
            }
            freeRgbImage(img);
        }
        EXPECT_GE(heads, 8);
        EXPECT_GE(tails, 8);
    }
    // Side outlines must differ by at least 0.3 square units (a body's side is about 6: a cabin
    // moved by half a door, a different tail), tail views by 0.15 (about 3: a roof 0.1 higher or
    // narrower, a wing). Bodies given another car's shape values differ by 0.2 and 0.1 at most.
    float closest[2] = {1e9f, 1e9f};
    for (size_t i = 0; i < sides.size(); i++)
        for (size_t j = i + 1; j < sides.size(); j++) {
            float side = differenceOf(sides[i], sides[j]), rear = differenceOf(rears[i], rears[j]);
            EXPECT_GT(side, 0.3f) << "cars " << i + 1 << " and " << j + 1 << " from the side";
            EXPECT_GT(rear, 0.15f) << "cars " << i + 1 << " and " << j + 1 << " from behind";
            closest[0] = std::fmin(closest[0], side);
            closest[1] = std::fmin(closest[1], rear);
        }
    std::printf("closest outlines: %.2f from the side, %.2f from behind (square units)\n", closest[0], closest[1]);
    ParsedModel garage;
    ASSERT_TRUE(garage.read(kBase + "/garage/light.ms3d"));
    EXPECT_GE(garage.numTriangles, 4);
    EXPECT_LE(garage.numTriangles, 200);
}

TEST(Generator, SecondRunWritesTheSameBytes)
{
    TempDir dir;
    ASSERT_EQ(std::system((std::string(GEN3D_BINARY) + " " + dir.path.string() + " > /dev/null").c_str()), 0);
    const std::string files[] = {"/maps/1/map.ms3d", "/maps/9/mapvisual.ms3d", "/maps/15/light.ms3d",
                                 "/maps/20/points/level.ai", "/maps/4/buildings.dat", "/garage/light.ms3d",
                                 "/textures/world/road.bmp", "/textures/world/car03.bmp", "/textures/world/rim11.bmp",
                                 "/textures/world/carlamps.bmp", "/cars/7/car.ms3d", "/cars/7/wheel.ms3d"};
    for (const std::string &rel : files) {
        Bytes a = readBytes(kBase + rel);
        EXPECT_FALSE(a.empty()) << rel;
        EXPECT_TRUE(a == readBytes(dir.path.string() + rel)) << rel;
    }
}
