// Everything one circuit writes: collision and drawn models, lamp markers, waypoints, and the
// plan the picture writer draws.
#pragma once
#include "city.h"
#include "mesh.h"

struct Waypoint3 {
    int x, y, z;
};

struct TrackContent {
    TrackPath path;
    ModelMesh collision, visual, lights;
    std::vector<Waypoint3> waypoints;
    // Every building: its footprint's corners in order round it, and for one whose walls meet
    // the ground all round (`closed`), the box inside it that buildings.dat holds, from the
    // highest ground along its walls to its roof.
    struct Footprint {
        V2 c[4];
        float bottom, top;
        bool closed;
    };
    std::vector<Footprint> buildings;
    std::vector<Vec3> lampPositions;
    std::vector<Vec3> lampColours;
    Vec3 start; // first grid slot
};

bool buildTrack(const TrackDef &def, TrackContent &out);
bool writeTrack(const TrackDef &def, const TrackContent &t, const std::string &baseDir);
std::vector<uint8_t> encodeWaypoints(const std::vector<Waypoint3> &w);
// buildings.dat (see formats/buildings.h): the closed buildings' boxes.
std::vector<uint8_t> encodeBuildings(const std::vector<TrackContent::Footprint> &buildings);
