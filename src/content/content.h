// Content loading: the loaded track's data (its three models, waypoints, light list and terrain
// arrays for the physics world), the car models that live for the whole run, and the garage
// lamps. Loading only reads data; a race begins and ends in the race code.
#pragma once
#include <vector>

#include "formats/buildings.h"
#include "formats/waypoints.h"

class Ms3dModel;

extern Ms3dModel *collisionModel; // the driving surface; becomes the physics terrain
extern Ms3dModel *visualModel;    // what is drawn
extern Ms3dModel *lampModel;      // one triangle per street light
extern Ms3dModel *garageLampModel;
extern int loadedTrack;           // 0 when no track is loaded, -1 for a number without files

// Waypoints, models, light list and terrain of track 1..20; any other number loads no file and
// leaves everything empty. A loaded track is unloaded first.
void loadTrack(int track);
void unloadTrack();

// The track's waypoint table: the computer drivers steer along it and race progress counts it.
extern Waypoint waypoints[kMaxWaypoints];
extern int waypointCount;
// The table of track 1..20; any other number, a missing or a damaged file empties it.
bool loadWaypoints(int track);

// The boxes inside the track's buildings ("base/maps/<n>/buildings.dat"): what they hide need
// not be drawn. Empty without a track, or when the file is missing or damaged (reported).
extern std::vector<BuildingBox> levelBuildings;

// The loaded track's terrain arrays (four floats a vertex, five ints a triangle); the physics
// world reads them in place, so they live exactly as long as the race world.
const float *terrainVertexData();
const int *terrainTriangleData();
int terrainVertexCount();
int terrainTriangleCount();

// Car index c (0..11) uses the models of "base/cars/<c+1>".
constexpr int kCarModels = 12;
extern Ms3dModel *carBodyModels[kCarModels];
extern Ms3dModel *carWheelModels[kCarModels];
void loadCarModels();
// A race draws only its own cars: when it starts, every other model's textures are let go (those
// of `models`, `count` of them, are brought back if they were), and the garage brings back the
// one it shows with holdCarTextures.
void keepOnlyCarTextures(const int *models, int count);
void holdCarTextures(int model);
// The garage's lamps become the light list while no track is loaded.
void loadGarageLights();
