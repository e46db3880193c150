// Everything one circuit writes: collision and drawn models, lamp markers, waypoints, and the
// plan the picture writer draws.
#pragma once
#include "city.h"
#include "formats/buildings.h"
#include "mesh.h"

struct Waypoint3 {
    int x, y, z;
};

struct TrackContent {
    TrackPath path;
    ModelMesh collision, visual, lights;
    std::vector<Waypoint3> waypoints;
    struct Footprint {
        V2 c[4];
    };
    std::vector<Footprint> buildings;
    // The buildings that stand closed on the ground, as the boxes inside them (buildings.dat).
    std::vector<BuildingBox> solids;
    std::vector<Vec3> lampPositions;
    std::vector<Vec3> lampColours;
    Vec3 start; // first grid slot
};

bool buildTrack(const TrackDef &def, TrackContent &out);
bool writeTrack(const TrackDef &def, const TrackContent &t, const std::string &baseDir);
std::vector<uint8_t> encodeWaypoints(const std::vector<Waypoint3> &w);
std::vector<uint8_t> encodeBuildings(const std::vector<BuildingBox> &boxes);
