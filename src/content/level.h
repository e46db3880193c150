// The loaded track: its three models, its terrain arrays for the physics world, and the car
// models that live for the whole run.
#pragma once

class Ms3dModel;

extern Ms3dModel *collisionModel; // the driving surface; becomes the physics terrain
extern Ms3dModel *visualModel;    // what is drawn
extern Ms3dModel *lampModel;      // one triangle per street light
extern Ms3dModel *garageLampModel;
extern int loadedTrack;           // 0 when no track is loaded

void loadTrack(int track);

// The loaded track's terrain arrays (four floats a vertex, five ints a triangle); the physics
// world reads them in place, so they live exactly as long as the race world.
const float *terrainVertexData();
const int *terrainTriangleData();
int terrainVertexCount();
int terrainTriangleCount();
void unloadTrack();

// Car index c (0..11) uses the models of "base/cars/<c+1>".
constexpr int kCarModels = 12;
extern Ms3dModel *carBodyModels[kCarModels];
extern Ms3dModel *carWheelModels[kCarModels];
