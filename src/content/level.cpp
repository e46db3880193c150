// Loading and unloading a track's data: waypoints, the buildings' boxes, the three models, the
// light list and the terrain arrays, in that order; unloading gives everything back and returns
// the light list to the garage lamps.
#include "content/content.h"
#include "platform/sys_files.h"
#include "render/lights.h"
#include "render/ms3d.h"

#include <cstdio>
#include <initializer_list>
#include <vector>

Ms3dModel *collisionModel, *visualModel, *lampModel, *garageLampModel;
int loadedTrack;
Waypoint waypoints[kMaxWaypoints];
int waypointCount;
std::vector<BuildingBox> levelBuildings;

// The physics world reads these in place, so they live exactly as long as the race world.
static std::vector<float> terrainVertices;
static std::vector<int> terrainTriangles;

const float *terrainVertexData() { return terrainVertices.data(); }
const int *terrainTriangleData() { return terrainTriangles.data(); }
int terrainVertexCount() { return int(terrainVertices.size() / 4); }
int terrainTriangleCount() { return int(terrainTriangles.size() / 5); }

static void buildTerrain(const Ms3dModel &m)
{
    terrainVertices.assign(size_t(m.numVertices) * 4, 0.0f);
    for (int i = 0; i < m.numVertices; i++)
        for (int k = 0; k < 3; k++)
            terrainVertices[size_t(i) * 4 + size_t(k)] = m.vertices[i].location[k];
    terrainTriangles.assign(size_t(m.numTriangles) * 5, 0);
    for (int i = 0; i < m.numTriangles; i++)
        for (int k = 0; k < 3; k++)
            terrainTriangles[size_t(i) * 5 + size_t(k)] = m.triangles[i].vertexIndices[k];
}

// A file of track 1..20's folder into `path`; false for any other track number.
static bool mapFile(int track, const char *file, char (&path)[64])
{
    if (track < 1 || track > 20)
        return false;
    std::snprintf(path, sizeof path, "base/maps/%d/%s", track, file);
    return true;
}

static Ms3dModel *loadModel(int track, const char *file)
{
    Ms3dModel *m = new Ms3dModel;
    char path[64];
    if (mapFile(track, file, path))
        m->loadModelData(path);
    return m;
}

bool loadWaypoints(int track)
{
    waypointCount = 0;
    char path[64];
    if (!mapFile(track, "points/level.ai", path))
        return false;
    if (readWaypointFile(path, waypoints, kMaxWaypoints, &waypointCount))
        return true;
    Sys_ReportUnusable(path);
    return false;
}

static void loadBuildings(int track)
{
    levelBuildings.clear();
    char path[64];
    if (mapFile(track, "buildings.dat", path) && !readBuildingsFile(path, levelBuildings))
        Sys_ReportUnusable(path); // the race draws what they would hide: slower, the same picture
}

void loadTrack(int track)
{
    if (loadedTrack)
        unloadTrack(); // never two tracks at once
    loadWaypoints(track);
    loadBuildings(track);
    collisionModel = loadModel(track, "map.ms3d");
    visualModel = loadModel(track, "mapvisual.ms3d");
    visualModel->solid = true; // the city's solids are closed and its thin boards two-sided
    visualModel->reloadTextures();
    lampModel = loadModel(track, "light.ms3d");
    lampModel->bakeTriangles();
    extractLights(*lampModel);
    buildTerrain(*collisionModel);
    loadedTrack = track >= 1 && track <= 20 ? track : -1;
}

void unloadTrack()
{
    if (!loadedTrack)
        return;
    terrainVertices.clear();
    terrainTriangles.clear();
    levelBuildings.clear();
    for (Ms3dModel **m : {&collisionModel, &visualModel, &lampModel}) {
        delete *m;
        *m = nullptr;
    }
    loadGarageLights();
    loadedTrack = 0;
}

void loadGarageLights()
{
    if (!garageLampModel) {
        garageLampModel = new Ms3dModel;
        garageLampModel->loadModelData("base/garage/light.ms3d");
    }
    garageLampModel->bakeTriangles();
    extractLights(*garageLampModel);
}
