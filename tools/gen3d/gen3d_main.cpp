// Writes the 3D content of the game: the twenty circuits of the night city with their lamps and
// waypoints, the garage lamps, the twelve cars, their textures, and pictures of all of it.
//   gen3d <base dir> [<picture dir>]
#include "cars.h"
#include "pictures.h"
#include "textures.h"
#include "track.h"

#include <chrono>
#include <cstdio>
#include <string>

static void writeGarageLights(const std::string &baseDir)
{
    // The car stands at (0.15, -0.25, -8) in eye space with nothing moving the garage: a warm key
    // light above it, a cool one from the front left and two coloured strips in the tunnel behind.
    ModelMesh lights;
    struct L {
        float x, y, z, r, g, b;
    } table[] = {
        {0.15f, 3.2f, -8.0f, 1.0f, 0.9f, 0.75f},  {-3.5f, 2.5f, -5.0f, 0.55f, 0.7f, 1.0f},
        {4.0f, 2.8f, -11.0f, 1.0f, 0.55f, 0.25f}, {-2.5f, 3.0f, -14.0f, 0.3f, 0.5f, 1.0f},
        {3.0f, 2.0f, -4.0f, 0.9f, 0.9f, 1.0f},    {0.0f, 4.0f, -20.0f, 0.8f, 0.3f, 0.9f},
    };
    int i = 0;
    for (const L &l : table) {
        char name[24];
        std::snprintf(name, sizeof name, "garage%d", i++);
        int mat = lights.lampMaterial(name, l.r, l.g, l.b);
        Vec3 c = v3(l.x, l.y, l.z);
        lights.tri(mat, c + v3(0.2f, 0, 0), c + v3(-0.1f, 0, 0.17f), c + v3(-0.1f, 0, -0.17f), {}, {}, {});
    }
    writeMs3d(lights, baseDir + "/garage/light.ms3d");
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: gen3d <base dir> [<picture dir>]\n");
        return 2;
    }
    std::string baseDir = argv[1];
    std::string pictureDir = argc > 2 ? argv[2] : "";
    auto t0 = std::chrono::steady_clock::now();

    initCity();
    paintWorldTextures();
    paintCarTextures();
    bool ok = true;
    int worst = 0;
    std::vector<TrackPath> paths;
    for (const TrackDef &def : trackDefs) {
        TrackContent t;
        if (!buildTrack(def, t)) {
            ok = false;
            continue;
        }
        ok = writeTrack(def, t, baseDir) && ok;
        paths.push_back(t.path);
        std::printf("track %2d: length %6.0f, %3zu waypoints, %3zu lamps, %5zu visual / %5zu collision triangles, "
                    "%5zu visual vertices\n",
                    def.number, t.path.length, t.waypoints.size(), t.lights.triangles.size(), t.visual.triangles.size(),
                    t.collision.triangles.size(), t.visual.vertices.size());
        std::printf("          %zu side streets, %zu buildings\n", t.path.sideStreets.size(), t.buildings.size());
        if (int(t.visual.triangles.size()) > worst)
            worst = int(t.visual.triangles.size());
        if (!pictureDir.empty())
            writeTrackPicture(def, t, pictureDir);
        if (!pictureDir.empty() && (def.number == 1 || def.number == 7))
            writeTrackViews(def, t, pictureDir);
    }
    writeGarageLights(baseDir);
    ok = writeCars(baseDir, pictureDir) && ok;
    ok = writeWorldTextures(baseDir) && ok;
    if (!pictureDir.empty())
        writeCityPicture(pictureDir, paths);
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("gen3d: %s in %.2f s (largest track %d triangles)\n", ok ? "done" : "FAILED", secs, worst);
    return ok ? 0 : 1;
}
