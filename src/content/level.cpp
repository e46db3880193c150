// Loading and unloading a track: waypoints, the three models, the light list, the race world
// and the race tune, in that order; unloading gives everything back and returns the light list
// to the garage lamps.
#include "content/level.h"
#include "audio/audio.h"
#include "content/content.h"
#include "frontend/frontend.h"
#include "race/race.h"
#include "race/waypoints.h"
#include "render/lights.h"
#include "render/ms3d.h"

#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <vector>

Ms3dModel *collisionModel, *visualModel, *lampModel, *garageLampModel;
int loadedTrack;

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

static Ms3dModel *loadModel(int track, const char *file)
{
    Ms3dModel *m = new Ms3dModel;
    if (track >= 1 && track <= 20) {
        char path[64];
        std::snprintf(path, sizeof path, "base/maps/%d/%s", track, file);
        m->loadModelData(path);
    }
    return m;
}

void loadTrack(int track)
{
    if (loadedTrack)
        unloadTrack(); // never two tracks at once
    if (musicOn)
        menuMusic.rewind();
    // The race takes the menus' place: a menu tune still waiting for a smooth frame rate would
    // otherwise start in the first race frame, under the race tune, and be heard in the pause menu.
    menuMusicPending = false;
    loadWaypoints(track);
    collisionModel = loadModel(track, "map.ms3d");
    visualModel = loadModel(track, "mapvisual.ms3d");
    visualModel->reloadTextures();
    lampModel = loadModel(track, "light.ms3d");
    lampModel->bakeTriangles();
    extractLights(*lampModel);

    buildTerrain(*collisionModel);
    setupRaceWorld();

    static const char *const tunes[] = {".\\base\\music\\1.ogg", ".\\base\\music\\2.ogg", ".\\base\\music\\3.ogg",
                                        ".\\base\\music\\4.ogg"};
    raceMusic.open(tunes[std::abs(std::rand()) % 4], true, true);
    if (musicOn)
        raceMusic.play();

    musicFade = -1.5f;
    playerPlace = 4;
    countdownActive = true;
    raceFinished = false;
    overlayTimer = 0;
    resetChaseCamera();
    raceClock = lapClock = bestLapClock = RaceClock{};
    loadedTrack = track >= 1 && track <= 20 ? track : -1;
}

void unloadTrack()
{
    if (!loadedTrack)
        return;
    for (int s : {SAMPLE_EN1, SAMPLE_EN2, SAMPLE_EN3, SAMPLE_EN4, SAMPLE_EN_PASS, SAMPLE_ST, SAMPLE_WIND, SAMPLE_NITRO})
        sampleSlots[s].stop();
    destroyRaceWorld();
    terrainVertices.clear();
    terrainTriangles.clear();
    for (Ms3dModel **m : {&collisionModel, &visualModel, &lampModel}) {
        delete *m;
        *m = nullptr;
    }
    if (musicOn)
        raceMusic.rewind();
    raceMusic.close();
    if (gameState != STATE_RACING && musicOn)
        menuMusicPending = true;
    overlayTimer = 0;
    countdownActive = true;
    raceFinished = false;
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
